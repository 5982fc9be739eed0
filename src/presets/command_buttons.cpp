#include "presets/command_buttons.h"

#include <QBoxLayout>
#include <QPushButton>

#include "presets/preset_texts.h"

namespace presets {

CommandButtons MakeCommandButtons(QWidget* dialog, QBoxLayout* layout, const QString& action) {
    auto* cancel = new QPushButton(QString::fromLatin1(kCancelText), dialog);
    auto* act = new QPushButton(action, dialog);
    cancel->setObjectName(QStringLiteral("Command1_0"));
    act->setObjectName(QStringLiteral("Command1_1"));
    act->setDefault(true);
    layout->addStretch(1);
    layout->addWidget(act);
    layout->addWidget(cancel);
    return {cancel, act};
}

devlink::DeviceWork::Watch LockWhileDeviceHeld(devlink::DeviceWork& work, const CommandButtons& buttons) {
    return work.watch([&work, buttons](devlink::DeviceWork::WorkEvent event) {
        if (event == devlink::DeviceWork::WorkEvent::Refused) return;
        for (QPushButton* button : buttons) button->setEnabled(!work.busy());
    });
}

}  // namespace presets
