// The link box: while it is checked every edit of one channel is repeated on
// the other, so linking first makes the channels equal.
#include <QCheckBox>

#include "editor/parameter_editor.h"

namespace editor {
namespace {

const QString kLinkTitle = QStringLiteral("Link Left & Right");
const QString kLinkQuestion = QStringLiteral("      You requested to Link channel Left & Right  \r\n"
                                             "        This will copy channel Left to Right     \r\n"
                                             "                     confirm?                    ");

}  // namespace

void ParameterEditor::linkChannels() {
    if (!controls_.linkBox->isChecked()) {
        flags_.channelsLinked = false;
        return;
    }
    // Compared now rather than taken from the last periodic comparison, which
    // may be seconds old: an edit made since must not be linked over unasked.
    flags_.channelsDiffer = model::HalvesDiffer(image_);
    if (!flags_.channelsDiffer) {
        flags_.channelsLinked = true;
        return;
    }
    if (!dialogs_.confirm(kLinkQuestion, kLinkTitle, ui::Answer::Yes, ui::Icon::None, this)) {
        // The program unchecking the box is no click: run what the click would.
        controls_.linkBox->setChecked(false);
        linkChannels();
        return;
    }
    {
        ui::BusyPointer busy(dialogs_);
        copyLeftToRight();
    }
    flags_.channelsLinked = true;
}

}  // namespace editor
