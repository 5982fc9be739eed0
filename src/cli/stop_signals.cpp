#include "cli/stop_signals.h"

#include <QSocketNotifier>
#include <csignal>

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace cli {
namespace {

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

void BlockStopSignals() {
    const sigset_t set = StopSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void UnblockStopSignals() {
    const sigset_t set = StopSet();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

StopSignals::StopSignals(QObject* parent) : QObject(parent) {
    const sigset_t set = StopSet();
    fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd_ < 0) {
        // Without the descriptor a blocked signal would never be seen: let
        // it end the program as it ends any other.
        UnblockStopSignals();
        return;
    }
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &StopSignals::onReadable);
}

StopSignals::~StopSignals() {
    delete notifier_;
    if (fd_ >= 0) ::close(fd_);
}

bool StopSignals::requested() {
    if (!requested_ && fd_ >= 0) {
        signalfd_siginfo info{};
        while (::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) requested_ = true;
    }
    return requested_;
}

void StopSignals::onReadable() {
    if (requested()) emit raised();
}

}  // namespace cli
