#include "editor/settings_frame.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>

#include "editor/control_names.h"
#include "editor/value_bars.h"

namespace editor {
namespace {

using notch::AutoSetting;

// Control array names of the original window, by setting.
const char* SpinArrayName(AutoSetting s) {
    switch (s) {
    case AutoSetting::NumNotchAuto: return "HScroll1";
    case AutoSetting::QNotchAuto: return "HScroll2";
    case AutoSetting::AttenuationMode: return "HScroll3";
    case AutoSetting::ReleaseSpeed: return "HScroll4";
    case AutoSetting::SearchMode: return "HScroll5";
    case AutoSetting::Sensitivity: return "Slider1";
    }
    return "";
}

const char* ValueArrayName(AutoSetting s) {
    switch (s) {
    case AutoSetting::NumNotchAuto: return "Label3";
    case AutoSetting::QNotchAuto: return "Label5";
    case AutoSetting::AttenuationMode: return "Label6";
    case AutoSetting::ReleaseSpeed: return "Label1";
    case AutoSetting::SearchMode: return "Label9";
    case AutoSetting::Sensitivity: return "Text4";
    }
    return "";
}

QString SpokenCaption(int channel, AutoSetting s) {
    return ChannelName(channel) + QLatin1Char(' ') + QString::fromStdString(notch::Caption(s)).trimmed();
}

}  // namespace

QGroupBox* BuildSettingsFrame(int channel, ChannelSettingsControls& out) {
    auto* frame = new QGroupBox;
    frame->setObjectName(ArrayObjectName("Frame4", channel));
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(1);

    // Two groups of three rows, read top to bottom, left group first. A
    // group's columns: caption, spin arrows, value text, then the
    // sensitivity box; the slider spans the arrows' and value's columns.
    constexpr int kGroupColumns = 5;
    for (std::size_t i = 0; i < notch::kAutoSettings.size(); ++i) {
        const AutoSetting s = notch::kAutoSettings[i];
        const int row = static_cast<int>(i % 3);
        const int col = static_cast<int>(i / 3) * kGroupColumns;
        auto* caption = new QLabel(QString::fromStdString(notch::Caption(s)));
        grid->addWidget(caption, row, col);
        const auto index = static_cast<std::size_t>(s);
        if (s == AutoSetting::Sensitivity) {
            out.sensitivitySlider = new ValueSlider;
            out.sensitivitySlider->setObjectName(ArrayObjectName(SpinArrayName(s), channel));
            out.sensitivitySlider->setAccessibleName(SpokenCaption(channel, s));
            out.sensitivitySlider->setRange(0, notch::ControlMaximum(s));
            out.sensitivitySlider->setPageStep(1);
            out.sensitivitySlider->setTickPosition(QSlider::TicksBelow);
            out.sensitivitySlider->setTickInterval(1);
            out.sensitivitySlider->setMinimumWidth(100);
            out.sensitivityBox = new QLineEdit;
            out.sensitivityBox->setObjectName(ArrayObjectName(ValueArrayName(s), channel));
            out.sensitivityBox->setAccessibleName(SpokenCaption(channel, s) + QStringLiteral(" value"));
            out.sensitivityBox->setFixedSize(41, 20);
            out.sensitivityBox->setAlignment(Qt::AlignRight);
            caption->setBuddy(out.sensitivitySlider);
            grid->addWidget(out.sensitivitySlider, row, col + 1, 1, 2);
            grid->addWidget(out.sensitivityBox, row, col + 3);
            continue;
        }
        auto* spin = new ValueBar;
        spin->setObjectName(ArrayObjectName(SpinArrayName(s), channel));
        spin->setAccessibleName(SpokenCaption(channel, s));
        spin->setRange(0, notch::ControlMaximum(s));
        spin->setPageStep(1);
        spin->setFixedSize(36, 18);  // a pair of spin arrows rather than a slider
        auto* value = new QLabel;
        value->setObjectName(ArrayObjectName(ValueArrayName(s), channel));
        // No fixed name: a label's name replaces its text for a screen
        // reader, which must speak the value ("11", "Fixed"); the setting it
        // belongs to goes into the description.
        value->setAccessibleDescription(SpokenCaption(channel, s));
        value->setMinimumWidth(52);
        caption->setBuddy(spin);
        out.spin[index] = spin;
        out.valueText[index] = value;
        grid->addWidget(spin, row, col + 1);
        grid->addWidget(value, row, col + 2);
    }
    grid->setColumnMinimumWidth(kGroupColumns - 1, 12);
    grid->setColumnStretch(2 * kGroupColumns - 1, 1);
    return frame;
}

}  // namespace editor
