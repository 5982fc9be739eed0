// The manual notch rows: gain, frequency and width bars, the gain and
// frequency boxes, and the reset buttons. Every edit of notch n is applied
// to n and then, while the channels are linked, to its partner.
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>

#include "editor/parameter_editor.h"
#include "model/number_text.h"
#include "notch/typed_entry.h"

namespace editor {
namespace {

QString FreqText(int code) {
    return QString::fromStdString(model::FormatNumber(model::FreqTable[std::clamp(code, 0, model::kMaxFreqCode)]));
}

QString WidthText(int code) {
    return QString::fromUtf8(model::BandwidthName[std::clamp(code, 0, model::kMaxWidthCode)].data());
}

}  // namespace

void ParameterEditor::onGainBarChanged(int n) {
    if (flags_.updatingControls) return;
    NotchRowControls& row = controls_.rows[n];
    row.gainBox->setText(QString::number(row.gainBar->value() - model::kMaxGainCode));
    showNow(row.gainBox);
    applyNotch(n);
    if (!flags_.channelsLinked) return;
    const int m = model::PartnerNotch(n);
    {
        UpdateGuard guard(flags_);
        controls_.rows[m].gainBar->setValue(row.gainBar->value());
    }
    applyNotch(m);
}

void ParameterEditor::onFreqBarChanged(int n) {
    if (flags_.updatingControls) return;
    NotchRowControls& row = controls_.rows[n];
    row.freqBox->setText(FreqText(row.freqBar->value()));
    showNow(row.freqBox);
    applyNotch(n);
    if (!flags_.channelsLinked) return;
    const int m = model::PartnerNotch(n);
    {
        UpdateGuard guard(flags_);
        controls_.rows[m].freqBar->setValue(row.freqBar->value());
        controls_.rows[m].freqBox->setText(FreqText(controls_.rows[m].freqBar->value()));
    }
    applyNotch(m);
}

void ParameterEditor::onWidthBarChanged(int n) {
    if (flags_.updatingControls) return;
    NotchRowControls& row = controls_.rows[n];
    row.widthText->setText(WidthText(row.widthBar->value()));
    showNow(row.widthText);
    applyNotch(n);
    if (!flags_.channelsLinked) return;
    const int m = model::PartnerNotch(n);
    {
        UpdateGuard guard(flags_);
        controls_.rows[m].widthBar->setValue(row.widthBar->value());
    }
    controls_.rows[m].widthText->setText(row.widthText->text());
    showNow(controls_.rows[m].widthText);
    applyNotch(m);
}

bool ParameterEditor::commitGainBox(int n) {
    NotchRowControls& row = controls_.rows[n];
    const auto snapped = notch::SnapTypedGain(row.gainBox->text().toStdString());
    if (!snapped) return false;
    row.gainBox->setText(QString::fromStdString(snapped->text));
    {
        UpdateGuard guard(flags_);
        row.gainBar->setValue(snapped->code);
    }
    applyNotch(n);
    if (flags_.channelsLinked) {
        const int m = model::PartnerNotch(n);
        {
            UpdateGuard guard(flags_);
            controls_.rows[m].gainBar->setValue(row.gainBar->value());
        }
        applyNotch(m);
    }
    return true;
}

bool ParameterEditor::commitFreqBox(int n) {
    NotchRowControls& row = controls_.rows[n];
    const auto snapped = notch::SnapTypedFreq(row.freqBox->text().toStdString());
    if (!snapped) return false;
    row.freqBox->setText(QString::fromStdString(snapped->text));
    {
        UpdateGuard guard(flags_);
        row.freqBar->setValue(snapped->code);
    }
    applyNotch(n);
    if (flags_.channelsLinked) {
        const int m = model::PartnerNotch(n);
        controls_.rows[m].freqBox->setText(row.freqBox->text());
        showNow(controls_.rows[m].freqBox);
        {
            UpdateGuard guard(flags_);
            controls_.rows[m].freqBar->setValue(row.freqBar->value());
        }
        applyNotch(m);
    }
    return true;
}

void ParameterEditor::onResetClicked(int index) {
    const bool automaticRows = index < 2;
    const QString question = automaticRows ? QStringLiteral("Reset all Notch filter automatic, Are you sure ?")
                                           : QStringLiteral("Reset all Notch filter manual, Are you sure ?");
    if (!dialogs_.confirm(question, QStringLiteral("Reset Filter"), ui::Answer::Yes, ui::Icon::None, this)) return;
    const int channel = index % 2;
    resetChannel(channel, automaticRows);
    if (flags_.channelsLinked) resetChannel(1 - channel, automaticRows);
}

void ParameterEditor::resetChannel(int channel, bool automaticRows) {
    const int automatic = std::clamp(settings_.numNotchAuto[channel], 0, model::kRowsPerChannel);
    const int first = automaticRows ? 0 : automatic;
    const int end = automaticRows ? automatic : model::kRowsPerChannel;
    for (int k = first; k < end; ++k) {
        const int n = model::NotchIndex(channel, k);
        {
            UpdateGuard guard(flags_);
            controls_.rows[n].gainBar->setValue(model::kMaxGainCode);
        }
        applyNotch(n);
    }
}

}  // namespace editor
