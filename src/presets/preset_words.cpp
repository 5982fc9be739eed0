#include "presets/preset_words.h"

#include <QStringList>

#include "model/preset_library.h"
#include "presets/preset_texts.h"

namespace presets {

QString PositionText(int position) { return QStringLiteral("%1").arg(position, 2, 10, QLatin1Char('0')); }

QString NumberColumnText(int firstPosition, int lastPosition) {
    QStringList lines;
    for (int p = firstPosition; p <= lastPosition; ++p) lines << PositionText(p);
    return lines.join(QLatin1Char('\n'));
}

QString ReadQuestionText(int position) {
    return QString::fromLatin1(kReadQuestionHead) + QString::number(position) + QString::fromLatin1(kReadQuestionTail);
}

std::u32string PresetTitleText(int position, std::u32string_view name) {
    const std::string number = std::to_string(position);
    std::u32string title(number.begin(), number.end());
    title += U": ";
    title += name;
    return title;
}

std::optional<int> SlotFromPositionText(const QString& text) {
    for (int p = model::kFirstUserPosition; p <= model::kPresetPositions; ++p)
        if (text == PositionText(p)) return p - model::kFirstUserPosition;
    return std::nullopt;
}

}  // namespace presets
