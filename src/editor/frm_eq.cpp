#include "editor/frm_eq.h"

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

FrmEq::FrmEq(model::PresetImage& image, devlink::DeviceLink& link, ui::UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), image_(image), link_(link), dialogs_(dialogs) {
    setObjectName(QStringLiteral("FrmEq"));
    setWindowTitle(QStringLiteral("Parameters Control"));
    BuildEditorLayout(this, controls_);
    connectControls();
}

void FrmEq::connectControls() {
    for (int n = 0; n < model::kNotches; ++n) {
        const NotchRowControls& row = controls_.rows[n];
        connect(row.HScroll20, &QScrollBar::valueChanged, this, [this, n] { onGainBarChanged(n); });
        connect(row.HScroll6, &QScrollBar::valueChanged, this, [this, n] { onFreqBarChanged(n); });
        connect(row.HScroll30, &QScrollBar::valueChanged, this, [this, n] { onWidthBarChanged(n); });
        TypedKeyFilter::Install(row.Text1, notch::TypedBox::Gain,
                                boxHandlers([this, n] { return commitGainBox(n); }, kIncorrectValue));
        TypedKeyFilter::Install(row.Text2, notch::TypedBox::Frequency,
                                boxHandlers([this, n] { return commitFreqBox(n); }, kIncorrectFrequency));
    }
    // Clicks only: the program's own checking and unchecking of a box
    // neither starts a search nor asks to link.
    connect(controls_.Check2, &QCheckBox::clicked, this, [this] { LinkChannels(); });
    for (int k = 0; k < static_cast<int>(controls_.Check1.size()); ++k)
        connect(controls_.Check1[k], &QPushButton::clicked, this, [this, k](bool checked) { onSearchBoxClicked(k, checked); });
    for (int i = 0; i < static_cast<int>(controls_.Command1.size()); ++i)
        connect(controls_.Command1[i], &QPushButton::clicked, this, [this, i] { onResetClicked(i); });
    for (int c = 0; c < model::kChannels; ++c) {
        const ChannelSettingsControls& s = controls_.settings[c];
        for (const AutoSetting setting : notch::kAutoSettings) {
            if (setting == AutoSetting::Sensitivity) continue;
            connect(s.spinOf(setting), &QScrollBar::valueChanged, this, [this, setting, c] { onSpinChanged(setting, c); });
        }
        // The program sets the slider with its signals blocked, so this
        // runs for the user's moves only.
        connect(s.Slider1, &QSlider::valueChanged, this, [this, c] { onSliderMoved(c); });
        TypedKeyFilter::Install(s.Text4, notch::TypedBox::Sensitivity,
                                boxHandlers([this, c] { return commitSensitivityBox(c); }, kIncorrectValue));
    }
}

TypedKeyFilter::Handlers FrmEq::boxHandlers(std::function<bool()> commit, const char* warning) {
    return {[this] { return flags_.updatingControls; }, std::move(commit), [this, warning] {
                dialogs_.inform(QString::fromLatin1(warning), QStringLiteral("Warning"), ui::Icon::Exclamation, this);
            }};
}

void FrmEq::showNow(QWidget* widget) {
    const devlink::LinkFlags& link = link_.flags();
    if (!link.demoMode && !link.suppressSend && !link_.ended()) widget->repaint();
}

void FrmEq::SendNotch(int n) {
    NotchRowControls& row = controls_.rows.at(static_cast<std::size_t>(n));
    const notch::NotchRow state{row.HScroll20->value(), row.Text2->text().toStdString(), row.HScroll30->value()};
    const notch::NotchTransfer out = notch::TransferNotch(n, state, arrays_, image_);
    row.Text1->setText(QString::fromStdString(out.gainText));
    showNow(row.Text1);
    row.Text2->setText(QString::fromStdString(out.freqText));
    row.Text3->setText(QString::fromStdString(out.widthText));
    showNow(row.Text3);
    refreshRowTips(n);
    link_.SendCommand(out.payload);
}

void FrmEq::refreshRowTips(int n) {
    const NotchRowControls& row = controls_.rows[n];
    const QString freq = QString::fromStdString(notch::FreqWithUnit(arrays_.NotchFreq[n]));
    const QString gain = QString::fromStdString(notch::GainWithUnit(row.HScroll20->value()));
    const QString width = QString::fromStdString(notch::WidthWithUnit(row.HScroll30->value()));
    row.Text2->setToolTip(freq);
    row.HScroll6->setToolTip(freq);
    row.Text1->setToolTip(gain);
    row.HScroll20->setToolTip(gain);
    row.Text3->setToolTip(width);
    row.HScroll30->setToolTip(width);
}

void FrmEq::ComputeNotchResponse(int n) {
    responses_.ComputeNotch(n, arrays_);
    const int channel = model::ChannelOfNotch(n);
    controls_.Picture1[channel]->DrawCurve(responses_, channel);
}

void FrmEq::applyNotch(int n) {
    SendNotch(n);
    ComputeNotchResponse(n);
}

void FrmEq::RedrawGraph() {
    for (int c = 0; c < model::kChannels; ++c) controls_.Picture1[c]->DrawCurve(responses_, c);
}

void FrmEq::EnableManualNotches(int channel) {
    const int automatic = settings_.NumNotchAuto.at(static_cast<std::size_t>(channel));
    for (int k = 0; k < model::kRowsPerChannel; ++k) {
        const bool manual = k >= automatic;
        const NotchRowControls& row = controls_.rows[model::NotchIndex(channel, k)];
        for (QWidget* w : {static_cast<QWidget*>(row.HScroll20), static_cast<QWidget*>(row.Text1),
                           static_cast<QWidget*>(row.HScroll30), static_cast<QWidget*>(row.Text3),
                           static_cast<QWidget*>(row.Text2), static_cast<QWidget*>(row.HScroll6)})
            w->setEnabled(manual);
    }
}

void FrmEq::closeEvent(QCloseEvent* event) { event->ignore(); }

void FrmEq::setPresetSource(const QString& text) { controls_.Label7->setText(text); }

void FrmEq::ShowPresetTitle(const QString& title) {
    controls_.Label8->setText(title);
    controls_.Label8->repaint();
}

QString FrmEq::presetSource() const { return controls_.Label7->text(); }
QString FrmEq::presetTitle() const { return controls_.Label8->text(); }

}  // namespace editor
