#include "cli/option_values.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <set>

#include "devlink/port_table.h"
#include "model/number_text.h"
#include "model/preset_library.h"
#include "model/value_tables.h"
#include "notch/typed_entry.h"

namespace cli {
namespace {

std::optional<double> Number(const QString& text) { return model::ParseNumber(text.toStdString()); }

std::optional<int> WholeNumber(const QString& text) {
    const auto value = Number(text);
    if (!value || std::floor(*value) != *value || std::abs(*value) > 1e6) return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<int> WholeIn(const QString& text, int first, int last, const QString& what, QString* why) {
    const auto value = WholeNumber(text);
    if (value && *value >= first && *value <= last) return value;
    *why = QString("%1 must be a whole number from %2 to %3, not \"%4\"").arg(what).arg(first).arg(last).arg(text);
    return std::nullopt;
}

std::optional<double> NumberIn(const QString& text, double first, double last, const QString& what, QString* why) {
    const auto value = Number(text);
    if (value && *value >= first && *value <= last) return value;
    *why = QString("%1 must be a number from %2 to %3, not \"%4\"").arg(what).arg(first).arg(last).arg(text);
    return std::nullopt;
}

template <std::size_t N>
std::optional<int> WordOf(const std::array<std::string_view, N>& words, const QString& text, const QString& what,
                          QString* why) {
    QStringList names;
    for (std::size_t i = 0; i < N; ++i) {
        const QString word = QString::fromUtf8(words[i].data(), static_cast<qsizetype>(words[i].size()));
        if (text.compare(word, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
        names << word.toLower();
    }
    *why = QString("%1 must be %2, not \"%3\"").arg(what, names.join('|'), text);
    return std::nullopt;
}

}  // namespace

std::optional<int> ParseChannelWord(const QString& text) {
    if (text == "left") return 0;
    if (text == "right") return 1;
    return std::nullopt;
}

std::optional<int> ParseSearchTarget(const QString& text) {
    if (text == "both") return 0;
    const auto channel = ParseChannelWord(text);
    return channel ? std::optional<int>(*channel + 1) : std::nullopt;
}

std::optional<int> ParseRow(const QString& text, QString* why) {
    const auto row = WholeIn(text, 1, model::kRowsPerChannel, "NOTCH", why);
    return row ? std::optional<int>(*row - 1) : std::nullopt;
}

std::optional<int> ParseFreqCode(const QString& text, QString* why) {
    if (!NumberIn(text, 20, 20000, "--freq", why)) return std::nullopt;
    return notch::SnapTypedFreq(text.toStdString())->code;
}

std::optional<int> ParseGainCode(const QString& text, QString* why) {
    if (!NumberIn(text, -model::kMaxGainCode, 0, "--gain", why)) return std::nullopt;
    return notch::SnapTypedGain(text.toStdString())->code;
}

std::optional<int> ParseWidthCode(const QString& text, QString* why) {
    return WordOf(model::BandwidthName, text, "the width", why);
}

std::optional<int> ParseAutoCount(const QString& text, QString* why) {
    return WholeIn(text, model::kMinNumNotchAuto, model::kMaxNumNotchAuto, "--auto-count", why);
}

std::optional<int> ParseSensitivity(const QString& text, QString* why) {
    if (!NumberIn(text, 1, model::kMaxSensitivity + 1, "--sensitivity", why)) return std::nullopt;
    return notch::SnapTypedSensitivity(text.toStdString())->position;
}

std::optional<int> ParseDepth(const QString& text, QString* why) {
    return WordOf(model::AttenuationModeName, text, "--depth", why);
}

std::optional<int> ParseRelease(const QString& text, QString* why) {
    return WordOf(model::ReleaseSpeedName, text, "--release", why);
}

std::optional<int> ParseMode(const QString& text, QString* why) {
    return WordOf(model::SearchModeName, text, "--mode", why);
}

std::optional<int> ParsePosition(const QString& text, int first, QString* why) {
    return WholeIn(text, first, model::kPresetPositions, "the position", why);
}

std::optional<std::vector<int>> ParsePositionList(const QString& text, QString* why) {
    std::set<int> positions;
    for (const QString& part : text.split(',')) {
        const QStringList ends = part.split('-');
        if (ends.size() > 2) {
            *why = QString("--positions: \"%1\" is not a position or a range").arg(part);
            return std::nullopt;
        }
        const auto first = ParsePosition(ends.front(), model::kFirstUserPosition, why);
        const auto last = ParsePosition(ends.back(), model::kFirstUserPosition, why);
        if (!first || !last) return std::nullopt;
        if (*first > *last) {
            *why = QString("--positions: the range \"%1\" runs backwards").arg(part);
            return std::nullopt;
        }
        for (int p = *first; p <= *last; ++p) positions.insert(p);
    }
    return std::vector<int>(positions.begin(), positions.end());
}

std::optional<double> ParseSeconds(const QString& text, QString* why) {
    const auto value = Number(text);
    if (value && *value > 0 && *value <= 1e6) return value;
    *why = QString("--seconds must be a number above 0, not \"%1\"").arg(text);
    return std::nullopt;
}

bool LooksLikePortNumber(const QString& text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

std::optional<int> ParsePortNumber(const QString& text, QString* why) {
    return WholeIn(text, devlink::kFirstPort, devlink::kLastPort, "--port", why);
}

}  // namespace cli
