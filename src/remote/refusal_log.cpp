#include "remote/refusal_log.h"

#include <algorithm>

namespace remote {
namespace {

constexpr qint64 kLinePerMs = 1000;

}  // namespace

RefusalLog::RefusalLog(Clock clock, Sink sink) : clock_(std::move(clock)), sink_(std::move(sink)) {}

void RefusalLog::note(const QString& what) {
    ++held_;
    last_ = what;
    if (heldFor() == 0) write();
}

qint64 RefusalLog::heldFor() const {
    if (held_ == 0) return -1;
    if (!written_) return 0;
    return std::max<qint64>(0, lastWritten_ + kLinePerMs - clock_());
}

void RefusalLog::writeHeld(bool evenWithinTheSecond) {
    if (heldFor() == 0 || (evenWithinTheSecond && held_ > 0)) write();
}

void RefusalLog::write() {
    sink_(held_ == 1 ? QStringLiteral("The remote refused a request: %1").arg(last_)
                     : QStringLiteral("The remote refused %1 requests, the last: %2").arg(held_).arg(last_));
    held_ = 0;
    written_ = true;
    lastWritten_ = clock_();
}

}  // namespace remote
