#include "sim/pty_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "sim/memory_file.h"

namespace sim {
namespace {

bool fail(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
    return false;
}

// Replaces an earlier symlink (a stale one from a killed run) but never a
// real file that happens to have the name.
bool makeLink(const std::string& path, const std::string& target, std::string* error) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            if (error) *error = path + " exists and is not a symbolic link";
            return false;
        }
        if (::unlink(path.c_str()) != 0) return fail(error, "cannot replace " + path);
    }
    if (::symlink(target.c_str(), path.c_str()) != 0) return fail(error, "cannot create link " + path);
    return true;
}

// Leaves the link alone if another simulator has taken the name since.
void removeLink(const std::string& path, const std::string& target) {
    std::array<char, 4096> buf{};
    const ssize_t n = ::readlink(path.c_str(), buf.data(), buf.size() - 1);
    if (n >= 0 && target == std::string(buf.data(), static_cast<std::size_t>(n))) ::unlink(path.c_str());
}

bool setNonBlockingCloexec(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 && ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

}  // namespace

PtyRunner::~PtyRunner() { finish(nullptr); }

bool PtyRunner::start(const PtyOptions& options, std::string* error) {
    finish(nullptr);
    options_ = options;
    int fds[2];
    if (::pipe(fds) != 0) return fail(error, "pipe");
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
    finished_ = false;
    if (!setNonBlockingCloexec(wakeRead_) || !setNonBlockingCloexec(wakeWrite_)) {
        fail(error, "fcntl");
        finish(nullptr);
        return false;
    }
    memory_ = DeviceMemory();
    if (!options_.memoryFile.empty() && !loadMemoryFile(options_.memoryFile, memory_, error)) {
        // Do not save over a file that could not be read.
        options_.memoryFile.clear();
        finish(nullptr);
        return false;
    }
    if (options_.tcpPort && !options_.linkPath.empty()) {
        if (error) *error = "a link needs a pseudo-terminal, not a TCP port";
        finish(nullptr);
        return false;
    }
    const bool lineOpen = options_.tcpPort ? tcp_.listen(*options_.tcpPort, error) : pty_.open(error);
    if (!lineOpen || (!options_.logFile.empty() && !log_.open(options_.logFile, error))) {
        finish(nullptr);
        return false;
    }
    if (!options_.linkPath.empty()) {
        if (!makeLink(options_.linkPath, pty_.slavePath(), error)) {
            finish(nullptr);
            return false;
        }
        linkMade_ = true;
    }

    startFreshLine();
    device_.emplace(memory_, options_.searchSeed);
    device_->setMuted(options_.mute);
    faults_.emplace(*device_, options_.faults);
    device_->setMemoryWriteObserver([this](int address) { onMemoryWrite(address); });
    // What the device sends is logged once the line has carried it (in
    // writeDue): a report still waiting behind a burst when the line is
    // stopped or unplugged was never sent, and the log must not count it.
    if (log_.isOpen())
        device_->setFrameObserver([this](Direction dir, std::span<const std::uint8_t> bytes) {
            if (dir != Direction::Out) log_.write(Clock::now() - started_, dir, bytes);
        });
    started_ = Clock::now();
    nextReport_.reset();
    ackDeadline_.reset();
    return true;
}

void PtyRunner::startFreshLine() {
    pacer_ = LinePacer(options_.lineRate ? LinePacer::kByteTime4800 : LinePacer::Duration::zero());
    unwritten_.clear();
    onTheWay_.clear();
    bytesQueued_ = 0;
    bytesCarried_ = 0;
}

void PtyRunner::wake() {
    if (wakeWrite_ < 0) return;
    const char b = 1;
    // A full pipe already holds a wake-up; nothing is lost.
    [[maybe_unused]] const ssize_t n = ::write(wakeWrite_, &b, 1);
}

void PtyRunner::run(std::atomic<bool>& stop) {
    if (!device_ || (pty_.masterFd() < 0 && !tcp_.isListening())) return;
    // Only reached if the slave hangs up after all; keeps the loop from
    // spinning on a master that reports POLLHUP until someone opens it.
    Clock::time_point hungUpUntil{};  // in the past: not hung up
    while (!stop.load()) {
        const auto now = Clock::now();
        faults_->advance(sinceStartMs(now));
        feedDevice(now);
        sendReportIfDue(now);
        writeDue(now);
        if (faults_->closed()) break;

        pollfd fds[3] = {};
        fds[0].fd = now < hungUpUntil ? -1 : lineFd();
        // A stalled reader leaves the editor's bytes in the terminal.
        const bool stalled = sinceStartMs(now) < faults_->stalledUntilMs();
        fds[0].events = static_cast<short>((stalled ? 0 : POLLIN) | (unwritten_.empty() ? 0 : POLLOUT));
        fds[1].fd = wakeRead_;
        fds[1].events = POLLIN;
        fds[2].fd = tcp_.listenFd();  // -1 on a terminal: poll skips it
        fds[2].events = POLLIN;
        const int ready = ::poll(fds, 3, pollTimeoutMs(now));
        if (ready < 0) {
            if (errno == EINTR) continue;
            std::fprintf(stderr, "qrn4480-sim: poll: %s\n", std::strerror(errno));
            return;
        }
        if (fds[1].revents & POLLIN) {
            char drain[64];
            while (::read(wakeRead_, drain, sizeof drain) > 0) {}
        }
        const bool hungUp = (fds[0].revents & (POLLHUP | POLLERR)) != 0;
        if (((fds[0].revents & POLLIN) && !readInput()) || (hungUp && !(fds[0].revents & POLLIN))) {
            if (options_.tcpPort)
                tcp_.dropClient();  // the client went away; the next one may come
            else
                hungUpUntil = Clock::now() + std::chrono::milliseconds(100);
        }
        if ((fds[2].revents & POLLIN) && tcp_.accept()) startFreshLine();
    }
    if (faults_->closed()) unplug();
}

void PtyRunner::feedDevice(Clock::time_point now) {
    const std::vector<std::uint8_t> arrived = pacer_.takeArrived(now);
    if (arrived.empty()) return;
    sendOutputs(faults_->receive(arrived, sinceStartMs(now)), now);
}

void PtyRunner::sendOutputs(const std::vector<FaultInjector::Output>& outputs, Clock::time_point now) {
    // An answer scripted to come late waits on the line itself, so nothing
    // sent after it can overtake it and no report slips in before it.
    for (const FaultInjector::Output& o : outputs) {
        pacer_.send(o.bytes, now + std::chrono::milliseconds(o.delayMs));
        bytesQueued_ += o.bytes.size();
        onTheWay_.push_back({o.sent, bytesQueued_});
    }
}

void PtyRunner::carried(std::size_t count, bool written) {
    bytesCarried_ += count;
    while (!onTheWay_.empty() && onTheWay_.front().lastByte <= bytesCarried_) {
        if (written && log_.isOpen()) log_.write(Clock::now() - started_, Direction::Out, onTheWay_.front().sent);
        onTheWay_.pop_front();
    }
}

std::int64_t PtyRunner::sinceStartMs(Clock::time_point now) const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(now - started_).count();
}

void PtyRunner::unplug() {
    // As an adapter pulled out: the port the editor has open fails and its
    // name is gone.
    if (linkMade_) removeLink(options_.linkPath, pty_.slavePath());
    linkMade_ = false;
    pty_.close();
    tcp_.close();
}

bool PtyRunner::canReport() const {
    // A report sent while a command is still on its way would be read by the
    // editor as that command's answer.
    return faults_->reportReady() && pacer_.outputIdle() && pacer_.inputIdle() && unwritten_.empty();
}

void PtyRunner::sendReportIfDue(Clock::time_point now) {
    if (!device_->searching()) {
        nextReport_.reset();
        ackDeadline_.reset();
        return;
    }
    // The editor clears its input after every answer, so a report that came
    // close behind one is lost unread, and its acknowledgement never comes.
    if (ackDeadline_ && now >= *ackDeadline_ && device_->awaitingAck()) device_->giveUpReport();
    const auto interval = std::chrono::milliseconds(std::max(options_.reportIntervalMs, 0));
    // The first report comes one interval after the search starts; a late
    // acknowledgement lets the next one out at once.
    if (!nextReport_) nextReport_ = now + interval;
    if (now < *nextReport_ || !canReport()) return;
    sendOutputs(faults_->takeReport(sinceStartMs(now)), now);
    nextReport_ = now + interval;
    ackDeadline_ = now + std::chrono::milliseconds(std::max(options_.ackTimeoutMs, 0));
}

ssize_t PtyRunner::writeLine(const std::uint8_t* bytes, std::size_t size) {
    // A client gone from the network line must not end the program with
    // SIGPIPE; the terminal is no socket.
    if (options_.tcpPort) return ::send(lineFd(), bytes, size, MSG_NOSIGNAL);
    return ::write(lineFd(), bytes, size);
}

void PtyRunner::writeDue(Clock::time_point now) {
    const std::vector<std::uint8_t> due = pacer_.takeDue(now);
    unwritten_.insert(unwritten_.end(), due.begin(), due.end());
    // Nobody on the network line: what the device says is lost.
    std::size_t done = 0;
    if (lineFd() < 0) {
        done = unwritten_.size();
        carried(done, false);
    }
    while (done < unwritten_.size()) {
        const ssize_t n = writeLine(unwritten_.data() + done, unwritten_.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            carried(static_cast<std::size_t>(n), true);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        // The line is gone; what was on it is lost, as on a real cable.
        carried(unwritten_.size() - done, false);
        done = unwritten_.size();
    }
    unwritten_.erase(unwritten_.begin(), unwritten_.begin() + static_cast<std::ptrdiff_t>(done));
}

bool PtyRunner::readInput() {
    std::array<std::uint8_t, 512> buf;
    for (;;) {
        const ssize_t n = ::read(lineFd(), buf.data(), buf.size());
        if (n > 0) {
            pacer_.arrive(std::span(buf.data(), static_cast<std::size_t>(n)), Clock::now());
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

int PtyRunner::pollTimeoutMs(Clock::time_point now) const {
    std::optional<Clock::time_point> deadline = pacer_.nextEvent();
    if (const auto at = faults_->nextTimeTrigger()) {
        const Clock::time_point due = started_ + std::chrono::milliseconds(*at);
        if (!deadline || due < *deadline) deadline = due;
    }
    if (nextReport_ && canReport() && (!deadline || *nextReport_ < *deadline)) deadline = nextReport_;
    if (ackDeadline_ && device_->awaitingAck() && (!deadline || *ackDeadline_ < *deadline)) deadline = ackDeadline_;
    const Clock::time_point stallEnds = started_ + std::chrono::milliseconds(faults_->stalledUntilMs());
    if (stallEnds > now && (!deadline || stallEnds < *deadline)) deadline = stallEnds;
    auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(kStopCheckInterval);
    if (deadline) wait = std::min(wait, std::max(std::chrono::nanoseconds::zero(), *deadline - now));
    // Round up: waking a little late is harmless, waking early costs a lap.
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
}

void PtyRunner::onMemoryWrite(int address) {
    // The editor writes the marker last when it stores a preset, so saving
    // then keeps the file consistent without a save per byte.
    if (options_.memoryFile.empty() || !memory_map::isMarkerAddress(address)) return;
    std::string error;
    if (!saveMemoryFile(options_.memoryFile, memory_, &error)) std::fprintf(stderr, "qrn4480-sim: %s\n", error.c_str());
}

bool PtyRunner::finish(std::string* error) {
    if (finished_) return true;
    finished_ = true;
    bool ok = true;
    if (device_ && !options_.memoryFile.empty()) ok = saveMemoryFile(options_.memoryFile, memory_, error);
    if (linkMade_) removeLink(options_.linkPath, pty_.slavePath());
    linkMade_ = false;
    faults_.reset();
    device_.reset();
    log_.close();
    pty_.close();
    tcp_.close();
    for (int* fd : {&wakeRead_, &wakeWrite_}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
    return ok;
}

}  // namespace sim
