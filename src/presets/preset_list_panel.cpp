#include "presets/preset_list_panel.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

#include "presets/preset_texts.h"
#include "presets/preset_words.h"

namespace presets {

PresetListPanel::PresetListPanel(int firstPosition, const QString& toolTip, QWidget* parent)
    : QWidget(parent), first_(firstPosition), list_(new QListWidget(this)), numbers_(new QLabel(this)) {
    auto* caption = new QLabel(QString::fromLatin1(kMemoryPresetLabel), this);
    caption->setBuddy(list_);

    list_->setObjectName(QStringLiteral("List1"));
    list_->setToolTip(toolTip);
    list_->setAccessibleName(QString::fromLatin1(kMemoryPresetLabel));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformItemSizes(true);
    list_->setSpacing(0);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    numbers_->setObjectName(QStringLiteral("NumberColumn"));
    numbers_->setText(NumberColumnText(first_, model::kPresetPositions));
    numbers_->setAccessibleName(QStringLiteral("Position numbers"));
    numbers_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    // Names are centred with blanks: a fixed-width font shows them so.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    list_->setFont(fixed);
    numbers_->setFont(fixed);

    // Every name on the line of its number: rows as tall as the label's
    // lines, the column pushed down by the list's frame, no scrolling.
    const int line = numbers_->fontMetrics().lineSpacing();
    const int frame = list_->frameWidth();
    numbers_->setContentsMargins(0, frame, 0, frame);
    list_->setFixedHeight(rowCount() * line + 2 * frame);
    list_->setFixedWidth(list_->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMMMMMM")) + 2 * frame);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->addWidget(caption, 0, 0, 1, 2);
    grid->addWidget(numbers_, 1, 0, Qt::AlignTop);
    grid->addWidget(list_, 1, 1, Qt::AlignTop);
}

void PresetListPanel::showNames(const model::PresetLibrary& library) {
    const int line = numbers_->fontMetrics().lineSpacing();
    list_->clear();
    for (int p = first_; p <= model::kPresetPositions; ++p) {
        const auto shown = model::PrintablePresetName(library.names[p - 1]);
        auto* item = new QListWidgetItem(QString::fromStdU32String(shown), list_);
        item->setSizeHint(QSize(0, line));
    }
    list_->setCurrentRow(0);
}

void PresetListPanel::refreshNames(const model::PresetLibrary& library) {
    const int row = list_->currentRow();
    showNames(library);
    list_->setCurrentRow(row);
}

}  // namespace presets
