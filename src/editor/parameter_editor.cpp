#include "editor/parameter_editor.h"

#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPainter>

#include "editor/editor_layout.h"
#include "editor/response_graph.h"
#include "editor/search_boxes.h"
#include "editor/value_bars.h"
#include "notch/graph_export.h"

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
    InstallSpokenValues();
    BuildEditorLayout(this, state_.controls);
    showLockedRowsReadOnly();
    rows_.connectControls();
    search_.connectControls();
    autos_.connectControls();
}

void ParameterEditor::checkChannelsDiffer() { state_.flags.channelsDiffer = model::HalvesDiffer(state_.image); }

void ParameterEditor::setChannelsLinked(bool linked) { state_.flags.channelsLinked = linked; }

void ParameterEditor::closeEvent(QCloseEvent* event) { event->ignore(); }

void ParameterEditor::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) showLockedRowsReadOnly();
}

// Rows the device's search owns are disabled, yet must stay readable on a
// dark stage: their text keeps the full contrast of an enabled row over the
// window's own colour, the way a read-only field looks.
void ParameterEditor::showLockedRowsReadOnly() {
    QPalette locked = palette();
    for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        locked.setColor(QPalette::Disabled, role, locked.color(QPalette::Active, role));
    locked.setColor(QPalette::Disabled, QPalette::Base, locked.color(QPalette::Active, QPalette::Window));
    for (int c = 0; c < model::kChannels; ++c) {
        state_.controls.notchRowsFrame[c]->setPalette(locked);
        state_.controls.settings[c].settingsFrame->setPalette(locked);
    }
}

void ParameterEditor::setDemoMode(bool demo) { ShowDemoMode(state_.controls, demo); }

bool ParameterEditor::exportGraphPng(const QString& path) const {
    const auto& graphs = state_.controls.graphs;
    QSize size(0, 0);
    for (const ResponseGraph* g : graphs) size = QSize(std::max(size.width(), g->width()), size.height() + g->height());
    QImage image(size, QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    QPainter painter(&image);
    int top = 0;
    for (ResponseGraph* g : graphs) {
        g->render(&painter, QPoint(0, top));
        top += g->height();
    }
    painter.end();
    return image.save(path, "PNG");
}

bool ParameterEditor::exportResponsesCsv(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const std::string csv = notch::ResponsesCsv(state_.responses);
    return file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size());
}

void ParameterEditor::setPresetSource(const QString& text) { state_.controls.presetSourceLabel->setText(text); }

void ParameterEditor::showPresetTitle(const QString& title) {
    state_.controls.presetTitleLabel->setText(title);
    state_.controls.presetTitleLabel->repaint();
}

QString ParameterEditor::presetSource() const { return state_.controls.presetSourceLabel->text(); }
QString ParameterEditor::presetTitle() const { return state_.controls.presetTitleLabel->text(); }

}  // namespace editor
