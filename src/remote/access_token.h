#pragma once
// The secret a page's address carries: 128 random bits from the system's
// generator, as 32 hexadecimal digits, new each time the server starts.
#include <QString>

namespace remote {

QString NewAccessToken();
// Compares every character, so the time taken does not tell how many matched.
bool TokenMatches(const QString& given, const QString& token);

}  // namespace remote
