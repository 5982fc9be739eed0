#include "editor/notch_row_editor.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "editor/response_graph.h"
#include "editor/row_number.h"
#include "editor/step_names.h"
#include "model/number_text.h"
#include "notch/channel_edits.h"
#include "notch/notch_transfer.h"
#include "notch/typed_entry.h"
#include "notch/unit_text.h"

namespace editor {
namespace {

const char* const kIncorrectValue = "  Incorrect value";
const char* const kIncorrectFrequency = "  Incorrect frequency value";
// Under a bar's value in its tool tip: the gestures no bar shows.
const char* const kFineStepHint = "Drag with Shift held for single steps; one wheel notch is one step.";

QString BarTip(const QString& value) { return value + QLatin1Char('\n') + QLatin1String(kFineStepHint); }

QString FreqText(int code) {
    return QString::fromStdString(model::FormatNumber(model::FreqTable[std::clamp(code, 0, model::kMaxFreqCode)]));
}

QString WidthText(int code) {
    return QString::fromUtf8(model::BandwidthName[std::clamp(code, 0, model::kMaxWidthCode)].data());
}

}  // namespace

void NotchRowEditor::connectControls() {
    QWidget* context = s_.window;
    for (int n = 0; n < model::kNotches; ++n) {
        const NotchRowControls& row = s_.controls.rows[n];
        QObject::connect(row.gainBar, &QScrollBar::valueChanged, context, [this, n] {
            onGainBarChanged(n);
            s_.finishStep(NotchStepText(n, NotchPart::Gain));
        });
        QObject::connect(row.freqBar, &QScrollBar::valueChanged, context, [this, n] {
            onFreqBarChanged(n);
            s_.finishStep(NotchStepText(n, NotchPart::Frequency));
        });
        QObject::connect(row.widthBar, &QScrollBar::valueChanged, context, [this, n] {
            onWidthBarChanged(n);
            s_.finishStep(NotchStepText(n, NotchPart::Width));
        });
        TypedKeyFilter::install(row.gainBox, notch::TypedBox::Gain,
                                boxHandlers(
                                    [this, n] {
                                        const bool committed = commitGainBox(n);
                                        s_.finishStep(NotchStepText(n, NotchPart::Gain));
                                        return committed;
                                    },
                                    kIncorrectValue));
        TypedKeyFilter::install(row.freqBox, notch::TypedBox::Frequency,
                                boxHandlers(
                                    [this, n] {
                                        const bool committed = commitFreqBox(n);
                                        s_.finishStep(NotchStepText(n, NotchPart::Frequency));
                                        return committed;
                                    },
                                    kIncorrectFrequency));
    }
    for (ResponseGraph* graph : s_.controls.graphs)
        QObject::connect(graph, &ResponseGraph::markerClicked, context, [this](int n) { focusRow(n); });
    for (int i = 0; i < static_cast<int>(s_.controls.resetButtons.size()); ++i)
        QObject::connect(s_.controls.resetButtons[i], &QPushButton::clicked, context, [this, i] {
            onResetClicked(i);
            s_.finishStep(ResetStepText(i % 2, i < 2));
        });
}

void NotchRowEditor::sendNotch(int n) {
    NotchRowControls& row = s_.controls.rows.at(static_cast<std::size_t>(n));
    const notch::NotchRow state{row.gainBar->value(), row.freqBox->text().toStdString(), row.widthBar->value()};
    const notch::NotchTransfer out = notch::TransferNotch(n, state, s_.sent, s_.image);
    row.gainBox->setText(QString::fromStdString(out.gainText));
    row.freqBox->setText(QString::fromStdString(out.freqText));
    row.widthText->setText(QString::fromStdString(out.widthText));
    refreshRowTips(n);
    s_.send(out.payload);
}

void NotchRowEditor::refreshRowTips(int n) {
    const NotchRowControls& row = s_.controls.rows[n];
    const QString freq = QString::fromStdString(notch::FreqWithUnit(s_.sent.freqHz[n]));
    const QString gain = QString::fromStdString(notch::GainWithUnit(row.gainBar->value()));
    const QString width = QString::fromStdString(notch::WidthWithUnit(row.widthBar->value()));
    row.freqBox->setToolTip(freq);
    row.freqBar->setToolTip(BarTip(freq));
    row.freqBar->setAccessibleDescription(freq);
    row.gainBox->setToolTip(gain);
    row.gainBar->setToolTip(BarTip(gain));
    row.gainBar->setAccessibleDescription(gain);
    row.widthText->setToolTip(width);
    row.widthBar->setToolTip(BarTip(width));
    row.widthBar->setAccessibleDescription(width);
}

void NotchRowEditor::focusRow(int n) {
    const NotchRowControls& row = s_.controls.rows.at(static_cast<std::size_t>(n));
    s_.controls.scrollArea->ensureWidgetVisible(row.freqBox);
    // An automatic row is the device's and takes no focus; it is only
    // brought into view.
    if (row.freqBox->isEnabled()) row.freqBox->setFocus(Qt::OtherFocusReason);
}

void NotchRowEditor::computeNotchResponse(int n) {
    s_.responses.computeNotch(n, s_.sent);
    const int channel = model::ChannelOfNotch(n);
    s_.controls.graphs[channel]->drawCurve(s_.responses, s_.sent, channel);
    showActiveRows(channel);
}

void NotchRowEditor::showActiveRows(int channel) {
    for (int k = 0; k < model::kRowsPerChannel; ++k) {
        const int n = model::NotchIndex(channel, k);
        s_.controls.rows[n].number->setActive(s_.sent.gainDb[n] < 0);
    }
}

void NotchRowEditor::applyNotch(int n) {
    sendNotch(n);
    computeNotchResponse(n);
}

void NotchRowEditor::redrawGraph() {
    for (int c = 0; c < model::kChannels; ++c) {
        s_.controls.graphs[c]->drawCurve(s_.responses, s_.sent, c);
        showActiveRows(c);
    }
}

void NotchRowEditor::enableManualNotches(int channel) {
    const int automatic = s_.settings.numNotchAuto.at(static_cast<std::size_t>(channel));
    for (int k = 0; k < model::kRowsPerChannel; ++k) {
        const bool manual = k >= automatic;
        const NotchRowControls& row = s_.controls.rows[model::NotchIndex(channel, k)];
        for (QWidget* w : {static_cast<QWidget*>(row.gainBar), static_cast<QWidget*>(row.gainBox),
                           static_cast<QWidget*>(row.widthBar), static_cast<QWidget*>(row.widthText),
                           static_cast<QWidget*>(row.freqBox), static_cast<QWidget*>(row.freqBar)})
            w->setEnabled(manual);
        row.autoMark->setText(manual ? QString() : QStringLiteral("auto"));
        row.autoMark->setAutoFillBackground(!manual);
        row.autoMark->setAccessibleName(manual ? QStringLiteral("manual") : QStringLiteral("automatic"));
    }
}

void NotchRowEditor::showNotchRecord(int n) {
    const model::NotchCodes codes = model::ReadNotchRecord(s_.image, n);
    const NotchRowControls& row = s_.controls.rows[n];
    UpdateGuard guard(s_.flags);
    row.gainBar->setValue(codes.gain);
    row.widthBar->setValue(codes.width);
    row.freqBox->setText(QString::fromStdString(model::FormatNumber(model::FreqTable.at(codes.freq))));
    row.freqBar->setValue(codes.freq);
}

TypedKeyFilter::Handlers NotchRowEditor::boxHandlers(std::function<bool()> commit, const char* warning) {
    return {[this] { return s_.flags.updatingControls; }, std::move(commit),
            [this, warning] {
                s_.dialogs.inform(QString::fromLatin1(warning), QStringLiteral("Warning"), ui::Icon::Exclamation,
                                  s_.window);
            }};
}

void NotchRowEditor::onGainBarChanged(int n) {
    if (s_.flags.updatingControls) return;
    if (s_.editRefused()) {
        showNotchRecord(n);
        return;
    }
    NotchRowControls& row = s_.controls.rows[n];
    const unsigned edit = s_.beginEdit(row.gainBar);
    row.gainBox->setText(QString::number(row.gainBar->value() - model::kMaxGainCode));
    applyNotch(n);
    if (!s_.flags.channelsLinked || s_.overtaken(row.gainBar, edit)) return;
    const int m = model::PartnerNotch(n);
    {
        UpdateGuard guard(s_.flags);
        s_.controls.rows[m].gainBar->setValue(row.gainBar->value());
    }
    applyNotch(m);
}

void NotchRowEditor::onFreqBarChanged(int n) {
    if (s_.flags.updatingControls) return;
    if (s_.editRefused()) {
        showNotchRecord(n);
        return;
    }
    NotchRowControls& row = s_.controls.rows[n];
    const unsigned edit = s_.beginEdit(row.freqBar);
    row.freqBox->setText(FreqText(row.freqBar->value()));
    applyNotch(n);
    if (!s_.flags.channelsLinked || s_.overtaken(row.freqBar, edit)) return;
    const int m = model::PartnerNotch(n);
    {
        UpdateGuard guard(s_.flags);
        s_.controls.rows[m].freqBar->setValue(row.freqBar->value());
        s_.controls.rows[m].freqBox->setText(FreqText(s_.controls.rows[m].freqBar->value()));
    }
    applyNotch(m);
}

void NotchRowEditor::onWidthBarChanged(int n) {
    if (s_.flags.updatingControls) return;
    if (s_.editRefused()) {
        showNotchRecord(n);
        return;
    }
    NotchRowControls& row = s_.controls.rows[n];
    const unsigned edit = s_.beginEdit(row.widthBar);
    row.widthText->setText(WidthText(row.widthBar->value()));
    applyNotch(n);
    if (!s_.flags.channelsLinked || s_.overtaken(row.widthBar, edit)) return;
    const int m = model::PartnerNotch(n);
    {
        UpdateGuard guard(s_.flags);
        s_.controls.rows[m].widthBar->setValue(row.widthBar->value());
    }
    s_.controls.rows[m].widthText->setText(row.widthText->text());
    applyNotch(m);
}

bool NotchRowEditor::commitGainBox(int n) {
    NotchRowControls& row = s_.controls.rows[n];
    const auto snapped = notch::SnapTypedGain(row.gainBox->text().toStdString());
    if (!snapped) return false;
    if (s_.editRefused()) {  // typed during a transfer: the box shows what was sent
        showNotchRecord(n);
        return true;
    }
    row.gainBox->setText(QString::fromStdString(snapped->text));
    const unsigned edit = s_.beginEdit(row.gainBar);
    {
        UpdateGuard guard(s_.flags);
        row.gainBar->setValue(snapped->code);
    }
    applyNotch(n);
    if (s_.flags.channelsLinked && !s_.overtaken(row.gainBar, edit)) {
        const int m = model::PartnerNotch(n);
        {
            UpdateGuard guard(s_.flags);
            s_.controls.rows[m].gainBar->setValue(row.gainBar->value());
        }
        applyNotch(m);
    }
    return true;
}

bool NotchRowEditor::commitFreqBox(int n) {
    NotchRowControls& row = s_.controls.rows[n];
    const auto snapped = notch::SnapTypedFreq(row.freqBox->text().toStdString());
    if (!snapped) return false;
    if (s_.editRefused()) {  // typed during a transfer: the box shows what was sent
        showNotchRecord(n);
        return true;
    }
    row.freqBox->setText(QString::fromStdString(snapped->text));
    const unsigned edit = s_.beginEdit(row.freqBar);
    {
        UpdateGuard guard(s_.flags);
        row.freqBar->setValue(snapped->code);
    }
    applyNotch(n);
    if (s_.flags.channelsLinked && !s_.overtaken(row.freqBar, edit)) {
        const int m = model::PartnerNotch(n);
        s_.controls.rows[m].freqBox->setText(row.freqBox->text());
        {
            UpdateGuard guard(s_.flags);
            s_.controls.rows[m].freqBar->setValue(row.freqBar->value());
        }
        applyNotch(m);
    }
    return true;
}

void NotchRowEditor::onResetClicked(int index) {
    if (s_.editRefused()) return;
    const bool automaticRows = index < 2;
    const QString question =
        QString::fromLatin1(automaticRows ? notch::kResetAutomaticQuestion : notch::kResetManualQuestion);
    if (!s_.dialogs.confirm(question, QString::fromLatin1(notch::kResetTitle), ui::Answer::Yes, ui::Icon::None,
                            s_.window))
        return;
    const int channel = index % 2;
    resetChannel(channel, automaticRows);
    if (s_.flags.channelsLinked) resetChannel(1 - channel, automaticRows);
}

void NotchRowEditor::resetChannel(int channel, bool automaticRows) {
    const int automatic = std::clamp(s_.settings.numNotchAuto[channel], 0, model::kRowsPerChannel);
    const int first = automaticRows ? 0 : automatic;
    const int end = automaticRows ? automatic : model::kRowsPerChannel;
    for (int k = first; k < end; ++k) {
        const int n = model::NotchIndex(channel, k);
        {
            UpdateGuard guard(s_.flags);
            s_.controls.rows[n].gainBar->setValue(model::kMaxGainCode);
        }
        applyNotch(n);
    }
}

}  // namespace editor
