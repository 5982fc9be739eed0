#pragma once
// Refusals go to the log one line a second at most: a stranger sending a
// thousand bad requests a second writes one line a second, with how many
// there were and the last one.
#include <QString>
#include <functional>

namespace remote {

class RefusalLog {
public:
    using Clock = std::function<qint64()>;  // milliseconds, never going back
    using Sink = std::function<void(const QString&)>;

    RefusalLog(Clock clock, Sink sink);

    // Written at once when the last line is a second old, held otherwise.
    void note(const QString& what);
    // Milliseconds until what is held may be written; -1 when nothing is.
    qint64 heldFor() const;
    // Writes what is held once its second is over, or now (at the end).
    void writeHeld(bool evenWithinTheSecond = false);

private:
    void write();

    Clock clock_;
    Sink sink_;
    qint64 lastWritten_ = 0;
    bool written_ = false;
    int held_ = 0;
    QString last_;
};

}  // namespace remote
