#include "editor/step_names.h"

#include "model/preset_image.h"

namespace editor {
namespace {

QString ChannelName(int channel) { return channel == 0 ? QStringLiteral("Left") : QStringLiteral("Right"); }

QString PartName(NotchPart part) {
    switch (part) {
    case NotchPart::Gain: return QStringLiteral("gain");
    case NotchPart::Frequency: return QStringLiteral("frequency");
    case NotchPart::Width: return QStringLiteral("width");
    }
    return {};
}

}  // namespace

QString NotchStepText(int n, NotchPart part) {
    return QStringLiteral("%1 notch %2 %3")
        .arg(ChannelName(model::ChannelOfNotch(n)))
        .arg(model::RowOfNotch(n) + 1)
        .arg(PartName(part));
}

QString SettingStepText(notch::AutoSetting setting, int channel) {
    // Captions may carry the layout's trailing blanks; a menu entry must not.
    return ChannelName(channel) + QLatin1Char(' ') + QString::fromStdString(notch::Caption(setting)).trimmed();
}

QString ResetStepText(int channel, bool automaticRows) {
    return QStringLiteral("Reset %1 %2 notches")
        .arg(ChannelName(channel), automaticRows ? QStringLiteral("automatic") : QStringLiteral("manual"));
}

QString CopyStepText(int from) { return QStringLiteral("Copy %1 to %2").arg(ChannelName(from), ChannelName(1 - from)); }

QString LinkStepText(bool linked) {
    return linked ? QStringLiteral("Link Left & Right") : QStringLiteral("Unlink Left & Right");
}

QString ReadStepText(int position) { return QStringLiteral("Read preset %1").arg(position); }

QString LoadStepText(const QString& fileName) { return QStringLiteral("Load ") + fileName; }

}  // namespace editor
