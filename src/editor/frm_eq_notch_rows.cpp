// The manual notch rows: gain, frequency and width bars, the gain and
// frequency boxes, and the reset buttons. Every edit of notch n is applied
// to n and then, while the channels are linked, to its partner.
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>

#include "editor/frm_eq.h"
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

void FrmEq::onGainBarChanged(int n) {
    if (flags_.updatingControls) return;
    NotchRowControls& row = controls_.rows[n];
    row.Text1->setText(QString::number(row.HScroll20->value() - model::kMaxGainCode));
    showNow(row.Text1);
    applyNotch(n);
    if (!flags_.channelsLinked) return;
    const int m = model::PartnerNotch(n);
    {
        UpdateGuard guard(flags_);
        controls_.rows[m].HScroll20->setValue(row.HScroll20->value());
    }
    applyNotch(m);
}

void FrmEq::onFreqBarChanged(int n) {
    if (flags_.updatingControls) return;
    NotchRowControls& row = controls_.rows[n];
    row.Text2->setText(FreqText(row.HScroll6->value()));
    showNow(row.Text2);
    applyNotch(n);
    if (!flags_.channelsLinked) return;
    const int m = model::PartnerNotch(n);
    {
        UpdateGuard guard(flags_);
        controls_.rows[m].HScroll6->setValue(row.HScroll6->value());
        controls_.rows[m].Text2->setText(FreqText(controls_.rows[m].HScroll6->value()));
    }
    applyNotch(m);
}

void FrmEq::onWidthBarChanged(int n) {
    if (flags_.updatingControls) return;
    NotchRowControls& row = controls_.rows[n];
    row.Text3->setText(WidthText(row.HScroll30->value()));
    showNow(row.Text3);
    applyNotch(n);
    if (!flags_.channelsLinked) return;
    const int m = model::PartnerNotch(n);
    {
        UpdateGuard guard(flags_);
        controls_.rows[m].HScroll30->setValue(row.HScroll30->value());
    }
    controls_.rows[m].Text3->setText(row.Text3->text());
    showNow(controls_.rows[m].Text3);
    applyNotch(m);
}

bool FrmEq::commitGainBox(int n) {
    NotchRowControls& row = controls_.rows[n];
    const auto snapped = notch::SnapTypedGain(row.Text1->text().toStdString());
    if (!snapped) return false;
    row.Text1->setText(QString::fromStdString(snapped->text));
    {
        UpdateGuard guard(flags_);
        row.HScroll20->setValue(snapped->code);
    }
    applyNotch(n);
    if (flags_.channelsLinked) {
        const int m = model::PartnerNotch(n);
        {
            UpdateGuard guard(flags_);
            controls_.rows[m].HScroll20->setValue(row.HScroll20->value());
        }
        applyNotch(m);
    }
    return true;
}

bool FrmEq::commitFreqBox(int n) {
    NotchRowControls& row = controls_.rows[n];
    const auto snapped = notch::SnapTypedFreq(row.Text2->text().toStdString());
    if (!snapped) return false;
    row.Text2->setText(QString::fromStdString(snapped->text));
    {
        UpdateGuard guard(flags_);
        row.HScroll6->setValue(snapped->code);
    }
    applyNotch(n);
    if (flags_.channelsLinked) {
        const int m = model::PartnerNotch(n);
        controls_.rows[m].Text2->setText(row.Text2->text());
        showNow(controls_.rows[m].Text2);
        {
            UpdateGuard guard(flags_);
            controls_.rows[m].HScroll6->setValue(row.HScroll6->value());
        }
        applyNotch(m);
    }
    return true;
}

void FrmEq::onResetClicked(int index) {
    const bool automaticRows = index < 2;
    const QString question = automaticRows ? QStringLiteral("Reset all Notch filter automatic, Are you sure ?")
                                           : QStringLiteral("Reset all Notch filter manual, Are you sure ?");
    if (!dialogs_.confirm(question, QStringLiteral("Reset Filter"), ui::Answer::Yes, ui::Icon::None, this)) return;
    const int channel = index % 2;
    resetChannel(channel, automaticRows);
    if (flags_.channelsLinked) resetChannel(1 - channel, automaticRows);
}

void FrmEq::resetChannel(int channel, bool automaticRows) {
    const int automatic = std::clamp(settings_.NumNotchAuto[channel], 0, model::kRowsPerChannel);
    const int first = automaticRows ? 0 : automatic;
    const int end = automaticRows ? automatic : model::kRowsPerChannel;
    for (int k = first; k < end; ++k) {
        const int n = model::NotchIndex(channel, k);
        {
            UpdateGuard guard(flags_);
            controls_.rows[n].HScroll20->setValue(model::kMaxGainCode);
        }
        applyNotch(n);
    }
}

}  // namespace editor
