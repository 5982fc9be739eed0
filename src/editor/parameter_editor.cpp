#include "editor/parameter_editor.h"

#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSlider>

#include "editor/editor_layout.h"
#include "editor/response_graph.h"
#include "editor/row_colours.h"
#include "editor/search_boxes.h"
#include "editor/step_names.h"
#include "editor/undo_keys.h"
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
      search_(state_, rows_, presets_),
      restorer_(state_, rows_, autos_),
      history_(state_, restorer_, this),
      busyWatch_(link.work().watch([this](devlink::DeviceWork::WorkEvent event) {
          if (event == devlink::DeviceWork::WorkEvent::Refused) return;
          // The controls stay as they are (disabling them would take the
          // focus away); their handlers refuse edits meanwhile.
          history_.setBusyLocked(event == devlink::DeviceWork::WorkEvent::Busy);
      })) {
    setObjectName(QStringLiteral("FrmEq"));
    setWindowTitle(QStringLiteral("Parameters Control"));
    InstallSpokenValues();
    BuildEditorLayout(this, state_.controls);
    showLockedRowsReadOnly();
    rows_.connectControls();
    search_.connectControls();
    autos_.connectControls();
    connectHistory();
}

void ParameterEditor::connectHistory() {
    state_.stepDone = [this](const QString& text) { history_.record(text); };
    setSearchLockExtension({});
    EditorControls& c = state_.controls;
    for (const NotchRowControls& row : c.rows) {
        for (QWidget* bar : {row.gainBar, row.freqBar, row.widthBar}) history_.watchGestures(bar);
        for (QLineEdit* box : {row.gainBox, row.freqBox})
            UndoKeyFilter::install(box, history_.undoAction(), history_.redoAction());
    }
    for (const ChannelSettingsControls& s : c.settings) {
        for (const notch::AutoSetting setting : notch::kAutoSettings)
            if (setting != notch::AutoSetting::Sensitivity) history_.watchGestures(s.spinOf(setting));
        history_.watchGestures(s.sensitivitySlider);
        UndoKeyFilter::install(s.sensitivityBox, history_.undoAction(), history_.redoAction());
    }
}

devlink::Task<void> ParameterEditor::applyPresetToEditor() {
    co_await presets_.applyPresetToEditor();
    history_.record(QStringLiteral("Apply preset"));
}

void ParameterEditor::fillFromImage() {
    presets_.fillFromImage();
    history_.record(QStringLiteral("Read device settings"));
}

void ParameterEditor::fillFromDefaultImage() {
    presets_.fillFromDefaultImage();
    history_.record(QStringLiteral("Default preset"));
}

devlink::Task<void> ParameterEditor::copyLeftToRight() {
    co_await presets_.copyLeftToRight();
    history_.record(CopyStepText(0));
}

devlink::Task<void> ParameterEditor::copyRightToLeft() {
    co_await presets_.copyRightToLeft();
    history_.record(CopyStepText(1));
}

void ParameterEditor::setSearchLockExtension(std::function<void(bool lock)> extension) {
    search_.setSearchLockExtension([this, extension = std::move(extension)](bool lock) {
        history_.setLocked(lock);
        if (extension) extension(lock);
    });
}

void ParameterEditor::applySearchReport(std::span<const std::uint8_t, devlink::kReportSize> report) {
    search_.applySearchReport(report);
    history_.adoptCurrent();
}

void ParameterEditor::checkChannelsDiffer() { state_.flags.channelsDiffer = model::HalvesDiffer(state_.image); }

void ParameterEditor::setChannelsLinked(bool linked) { state_.flags.channelsLinked = linked; }

void ParameterEditor::closeEvent(QCloseEvent* event) { event->ignore(); }

void ParameterEditor::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) showLockedRowsReadOnly();
}

// Rows the device's search owns are disabled, yet must stay readable on a
// dark stage; their "auto" badge and the read-only width boxes follow the
// palette too.
void ParameterEditor::showLockedRowsReadOnly() {
    const QPalette locked = LockedRowsPalette(palette());
    for (int c = 0; c < model::kChannels; ++c) {
        state_.controls.notchRowsFrame[c]->setPalette(locked);
        state_.controls.settings[c].settingsFrame->setPalette(locked);
    }
    for (const NotchRowControls& row : state_.controls.rows) {
        PaintAutoMark(row.autoMark, locked);
        ShowAsReadOnly(row.widthText, locked);
    }
}

void ParameterEditor::setDemoMode(bool demo) { ShowDemoMode(state_.controls, demo); }

// Both graphs one above the other, each under its channel's name, so the
// picture says which curve is which away from the editor.
bool ParameterEditor::exportGraphPng(const QString& path) const {
    const auto& graphs = state_.controls.graphs;
    const QFontMetrics metrics(font());
    const int titleHeight = metrics.height() + 4;
    QSize size(0, 0);
    for (const ResponseGraph* g : graphs)
        size = QSize(std::max(size.width(), g->width()), size.height() + titleHeight + g->height());
    QImage image(size, QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    QPainter painter(&image);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    int top = 0;
    for (int c = 0; c < model::kChannels; ++c) {
        painter.drawText(QRect(4, top, size.width() - 8, titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         state_.controls.channelFrame[c]->title());
        top += titleHeight;
        graphs[c]->render(&painter, QPoint(0, top));
        top += graphs[c]->height();
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

void ParameterEditor::setPresetSource(const QString& text) {
    state_.controls.presetSourceLabel->setText(text);
    state_.controls.presetSourceLabel->setToolTip(text);
    history_.markSaved();
}

void ParameterEditor::showPresetTitle(const QString& title) {
    state_.controls.presetTitleLabel->setText(title);
    state_.controls.presetTitleLabel->setToolTip(title);
}

QString ParameterEditor::presetSource() const { return state_.controls.presetSourceLabel->text(); }
QString ParameterEditor::presetTitle() const { return state_.controls.presetTitleLabel->text(); }

}  // namespace editor
