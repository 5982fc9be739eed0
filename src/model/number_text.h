#pragma once
// Numbers as the editor's boxes show and read them: the shortest decimal
// form that reads back as the same value ("20.05", "1003", "-45"), with a
// point as the decimal separator in both directions.
#include <optional>
#include <string>
#include <string_view>

namespace model {

std::string FormatNumber(double value);

// Accepts surrounding blanks, an optional sign and a decimal point or comma.
// Returns nothing for an empty text or any other character (such as the
// "?" left by a rejected key).
std::optional<double> ParseNumber(std::string_view text);

}  // namespace model
