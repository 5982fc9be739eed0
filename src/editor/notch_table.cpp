#include "editor/notch_table.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include "editor/control_names.h"
#include "editor/row_number.h"
#include "editor/value_bars.h"
#include "model/preset_image.h"

namespace editor {
namespace {

enum Column { kNumber, kMark, kFreqText, kFreqBar, kGainText, kGainBar, kWidthText, kWidthBar };

// Both channels' 24 rows stand one above the other, so each pixel of a row
// counts 24 times: rows are as low as a box stays legible.
constexpr int kRowHeight = 20;

QLineEdit* Box(const char* array, int n, const QString& accessible, const QString& initial, int width) {
    auto* box = new QLineEdit(initial);
    box->setObjectName(ArrayObjectName(array, n));
    box->setAccessibleName(accessible);
    box->setFixedSize(width, kRowHeight);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QScrollBar* Bar(const char* array, int n, const QString& accessible, int maximum, int pageStep, int minWidth) {
    auto* bar = new ValueBar;
    bar->setObjectName(ArrayObjectName(array, n));
    bar->setAccessibleName(accessible);
    bar->setRange(0, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(pageStep);
    bar->setMinimumWidth(minWidth);
    bar->setFixedHeight(kRowHeight - 4);
    return bar;
}

// The row's owner at a glance: a filled "auto" badge while the device's
// search owns it, an empty cell of the same width while the user does.
QLabel* AutoMark(int channel, int k) {
    auto* mark = new QLabel;
    mark->setObjectName(ArrayObjectName("AutoMark", model::NotchIndex(channel, k)));
    mark->setAccessibleDescription(NotchControlName(channel, k, "owner"));
    mark->setAlignment(Qt::AlignCenter);
    mark->setFixedSize(mark->fontMetrics().horizontalAdvance(QStringLiteral("auto")) + 8, kRowHeight - 2);
    return mark;
}

QLabel* Heading(const char* text) {
    auto* label = new QLabel(QString::fromLatin1(text));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

QWidget* BuildNotchTable(int channel, std::array<NotchRowControls, model::kNotches>& rows) {
    auto* frame = new QWidget;
    frame->setObjectName(ArrayObjectName("Frame3", channel));
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(1);
    grid->addWidget(Heading("Freq"), 0, kFreqText, 1, 2);
    grid->addWidget(Heading("Gain"), 0, kGainText, 1, 2);
    grid->addWidget(Heading("Q"), 0, kWidthText, 1, 2);

    for (int k = 0; k < model::kRowsPerChannel; ++k) {
        const int n = model::NotchIndex(channel, k);
        NotchRowControls& row = rows[n];
        row.number = new RowNumber(channel, k, kRowHeight);
        row.autoMark = AutoMark(channel, k);
        row.freqBox = Box("Text2", n, NotchControlName(channel, k, "frequency"), QStringLiteral("20000"), 58);
        row.freqBar = Bar("HScroll6", n, NotchControlName(channel, k, "frequency slider"), model::kMaxFreqCode, 24, 90);
        row.gainBox = Box("Text1", n, NotchControlName(channel, k, "gain"), QStringLiteral("-45"), 40);
        row.gainBar = Bar("HScroll20", n, NotchControlName(channel, k, "gain slider"), model::kMaxGainCode, 3, 60);
        row.widthText = Box("Text3", n, NotchControlName(channel, k, "width"), QStringLiteral("1/70"), 40);
        row.widthText->setReadOnly(true);  // shows the width bar's value; nothing typed there means anything
        row.widthBar = Bar("HScroll30", n, NotchControlName(channel, k, "width slider"), model::kMaxWidthCode, 1, 40);
        const int r = k + 1;
        grid->addWidget(row.number, r, kNumber);
        grid->addWidget(row.autoMark, r, kMark);
        grid->addWidget(row.freqBox, r, kFreqText);
        grid->addWidget(row.freqBar, r, kFreqBar);
        grid->addWidget(row.gainBox, r, kGainText);
        grid->addWidget(row.gainBar, r, kGainBar);
        grid->addWidget(row.widthText, r, kWidthText);
        grid->addWidget(row.widthBar, r, kWidthBar);
    }
    grid->setColumnStretch(kFreqBar, 3);
    grid->setColumnStretch(kGainBar, 2);
    grid->setColumnStretch(kWidthBar, 1);
    return frame;
}

}  // namespace editor
