#pragma once
// Ctrl+C and SIGTERM as events of the event loop: the signals are blocked in
// every thread and read from a signal descriptor, so nothing runs inside a
// signal handler and an exchange in progress is never cut off. The command
// looks at requested() where stopping leaves the device whole: after a
// position's marker, before the search's stop frames.
#include <QObject>

class QSocketNotifier;

namespace cli {

// Call first in main(), before any thread starts, so every thread inherits it.
void BlockStopSignals();
void UnblockStopSignals();

class StopSignals final : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Reads the descriptor itself too: the link's waits block, and no event
    // loop runs while a transfer goes on.
    bool requested();

signals:
    void raised();

private:
    void onReadable();

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    bool requested_ = false;
};

}  // namespace cli
