#include "remote/access_token.h"

#include <QRandomGenerator>
#include <array>

namespace remote {

QString NewAccessToken() {
    std::array<quint32, 4> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    QString token;
    for (const quint32 w : words) token += QStringLiteral("%1").arg(w, 8, 16, QLatin1Char('0'));
    return token;
}

bool TokenMatches(const QString& given, const QString& token) {
    if (token.isEmpty() || given.size() != token.size()) return false;
    ushort differ = 0;
    for (qsizetype i = 0; i < token.size(); ++i) differ |= given[i].unicode() ^ token[i].unicode();
    return differ == 0;
}

}  // namespace remote
