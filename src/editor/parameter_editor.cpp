#include "editor/parameter_editor.h"

#include <QCloseEvent>
#include <QLabel>

#include "editor/editor_layout.h"

namespace editor {

ParameterEditor::ParameterEditor(model::PresetImage& image, devlink::DeviceLink& link, ui::UserDialogs& dialogs,
                                 QWidget* parent)
    : QWidget(parent),
      state_(image, link, dialogs, this),
      rows_(state_),
      autos_(state_, rows_),
      presets_(state_, rows_, autos_),
      search_(state_, rows_, presets_) {
    setObjectName(QStringLiteral("FrmEq"));
    setWindowTitle(QStringLiteral("Parameters Control"));
    BuildEditorLayout(this, state_.controls);
    rows_.connectControls();
    search_.connectControls();
    autos_.connectControls();
}

void ParameterEditor::checkChannelsDiffer() { state_.flags.channelsDiffer = model::HalvesDiffer(state_.image); }

void ParameterEditor::setChannelsLinked(bool linked) { state_.flags.channelsLinked = linked; }

void ParameterEditor::closeEvent(QCloseEvent* event) { event->ignore(); }

void ParameterEditor::setPresetSource(const QString& text) { state_.controls.presetSourceLabel->setText(text); }

void ParameterEditor::showPresetTitle(const QString& title) {
    state_.controls.presetTitleLabel->setText(title);
    state_.controls.presetTitleLabel->repaint();
}

QString ParameterEditor::presetSource() const { return state_.controls.presetSourceLabel->text(); }
QString ParameterEditor::presetTitle() const { return state_.controls.presetTitleLabel->text(); }

}  // namespace editor
