#include "editor/parameter_editor.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include "editor/editor_layout.h"
#include "editor/response_graph.h"
#include "editor/typed_key_filter.h"
#include "notch/notch_transfer.h"
#include "notch/unit_text.h"

namespace editor {
namespace {

const char* const kIncorrectValue = "  Incorrect value";
const char* const kIncorrectFrequency = "  Incorrect frequency value";

}  // namespace

ParameterEditor::ParameterEditor(model::PresetImage& image, devlink::DeviceLink& link, ui::UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), image_(image), link_(link), dialogs_(dialogs) {
    setObjectName(QStringLiteral("FrmEq"));
    setWindowTitle(QStringLiteral("Parameters Control"));
    BuildEditorLayout(this, controls_);
    connectControls();
}

void ParameterEditor::connectControls() {
    for (int n = 0; n < model::kNotches; ++n) {
        const NotchRowControls& row = controls_.rows[n];
        connect(row.gainBar, &QScrollBar::valueChanged, this, [this, n] { onGainBarChanged(n); });
        connect(row.freqBar, &QScrollBar::valueChanged, this, [this, n] { onFreqBarChanged(n); });
        connect(row.widthBar, &QScrollBar::valueChanged, this, [this, n] { onWidthBarChanged(n); });
        TypedKeyFilter::install(row.gainBox, notch::TypedBox::Gain,
                                boxHandlers([this, n] { return commitGainBox(n); }, kIncorrectValue));
        TypedKeyFilter::install(row.freqBox, notch::TypedBox::Frequency,
                                boxHandlers([this, n] { return commitFreqBox(n); }, kIncorrectFrequency));
    }
    // Clicks only: the program's own checking and unchecking of a box
    // neither starts a search nor asks to link.
    connect(controls_.linkBox, &QCheckBox::clicked, this, [this] { linkChannels(); });
    for (int k = 0; k < static_cast<int>(controls_.searchButtons.size()); ++k)
        connect(controls_.searchButtons[k], &QPushButton::clicked, this, [this, k](bool checked) { onSearchBoxClicked(k, checked); });
    for (int i = 0; i < static_cast<int>(controls_.resetButtons.size()); ++i)
        connect(controls_.resetButtons[i], &QPushButton::clicked, this, [this, i] { onResetClicked(i); });
    for (int c = 0; c < model::kChannels; ++c) {
        const ChannelSettingsControls& s = controls_.settings[c];
        for (const AutoSetting setting : notch::kAutoSettings) {
            if (setting == AutoSetting::Sensitivity) continue;
            connect(s.spinOf(setting), &QScrollBar::valueChanged, this, [this, setting, c] { onSpinChanged(setting, c); });
        }
        // The program sets the slider with its signals blocked, so this
        // runs for the user's moves only.
        connect(s.sensitivitySlider, &QSlider::valueChanged, this, [this, c] { onSliderMoved(c); });
        TypedKeyFilter::install(s.sensitivityBox, notch::TypedBox::Sensitivity,
                                boxHandlers([this, c] { return commitSensitivityBox(c); }, kIncorrectValue));
    }
}

TypedKeyFilter::Handlers ParameterEditor::boxHandlers(std::function<bool()> commit, const char* warning) {
    return {[this] { return flags_.updatingControls; }, std::move(commit), [this, warning] {
                dialogs_.inform(QString::fromLatin1(warning), QStringLiteral("Warning"), ui::Icon::Exclamation, this);
            }};
}

void ParameterEditor::showNow(QWidget* widget) {
    const devlink::LinkFlags& link = link_.flags();
    if (!link.demoMode && !link.suppressSend && !link_.ended()) widget->repaint();
}

void ParameterEditor::sendNotch(int n) {
    NotchRowControls& row = controls_.rows.at(static_cast<std::size_t>(n));
    const notch::NotchRow state{row.gainBar->value(), row.freqBox->text().toStdString(), row.widthBar->value()};
    const notch::NotchTransfer out = notch::TransferNotch(n, state, arrays_, image_);
    row.gainBox->setText(QString::fromStdString(out.gainText));
    showNow(row.gainBox);
    row.freqBox->setText(QString::fromStdString(out.freqText));
    row.widthText->setText(QString::fromStdString(out.widthText));
    showNow(row.widthText);
    refreshRowTips(n);
    link_.sendCommand(out.payload);
}

void ParameterEditor::refreshRowTips(int n) {
    const NotchRowControls& row = controls_.rows[n];
    const QString freq = QString::fromStdString(notch::FreqWithUnit(arrays_.freqHz[n]));
    const QString gain = QString::fromStdString(notch::GainWithUnit(row.gainBar->value()));
    const QString width = QString::fromStdString(notch::WidthWithUnit(row.widthBar->value()));
    row.freqBox->setToolTip(freq);
    row.freqBar->setToolTip(freq);
    row.gainBox->setToolTip(gain);
    row.gainBar->setToolTip(gain);
    row.widthText->setToolTip(width);
    row.widthBar->setToolTip(width);
}

void ParameterEditor::computeNotchResponse(int n) {
    responses_.computeNotch(n, arrays_);
    const int channel = model::ChannelOfNotch(n);
    controls_.graphs[channel]->drawCurve(responses_, channel);
}

void ParameterEditor::applyNotch(int n) {
    sendNotch(n);
    computeNotchResponse(n);
}

void ParameterEditor::redrawGraph() {
    for (int c = 0; c < model::kChannels; ++c) controls_.graphs[c]->drawCurve(responses_, c);
}

void ParameterEditor::enableManualNotches(int channel) {
    const int automatic = settings_.numNotchAuto.at(static_cast<std::size_t>(channel));
    for (int k = 0; k < model::kRowsPerChannel; ++k) {
        const bool manual = k >= automatic;
        const NotchRowControls& row = controls_.rows[model::NotchIndex(channel, k)];
        for (QWidget* w : {static_cast<QWidget*>(row.gainBar), static_cast<QWidget*>(row.gainBox),
                           static_cast<QWidget*>(row.widthBar), static_cast<QWidget*>(row.widthText),
                           static_cast<QWidget*>(row.freqBox), static_cast<QWidget*>(row.freqBar)})
            w->setEnabled(manual);
    }
}

void ParameterEditor::closeEvent(QCloseEvent* event) { event->ignore(); }

void ParameterEditor::setPresetSource(const QString& text) { controls_.presetSourceLabel->setText(text); }

void ParameterEditor::showPresetTitle(const QString& title) {
    controls_.presetTitleLabel->setText(title);
    controls_.presetTitleLabel->repaint();
}

QString ParameterEditor::presetSource() const { return controls_.presetSourceLabel->text(); }
QString ParameterEditor::presetTitle() const { return controls_.presetTitleLabel->text(); }

}  // namespace editor
