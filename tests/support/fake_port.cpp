#include "support/fake_port.h"

#include <algorithm>

#include "devlink/line_retry.h"

namespace testing_support {

bool FakePort::open(const std::string& name) {
    opens.push_back(name);
    name_ = name;
    const auto refusal = refused.find(name);
    if (refusal != refused.end()) {
        fault_ = refusal->second;
        open_ = false;
        return false;
    }
    fault_ = devlink::PortFault::None;
    open_ = true;
    return true;
}

std::string FakePort::faultText() const {
    if (fault_ == devlink::PortFault::None) return "";
    const auto text = refusalTexts.find(name_);
    return fault_ != devlink::PortFault::Broken && text != refusalTexts.end() ? text->second : "device removed";
}

void FakePort::close() {
    if (open_) ++closes;
    open_ = false;
}

bool FakePort::refuse(std::deque<int>& refusals) {
    const int error = refusals.front();
    refusals.pop_front();
    if (devlink::JudgeLineFailure(error, false) == devlink::LineFailure::TryAgain) return true;
    fault_ = devlink::PortFault::Broken;
    open_ = false;
    return false;
}

bool FakePort::write(std::span<const std::uint8_t> bytes) {
    if (!open_) return false;
    const bool out = devlink::WriteUntilOut(
        [this](int) {
            if (writeRefusals.empty()) return devlink::WriteProgress{true, false};
            return devlink::WriteProgress{false, !refuse(writeRefusals)};
        },
        clock_);
    if (!out) return false;
    writes.emplace_back(bytes.begin(), bytes.end());
    if (!peer) return true;
    const Bytes answer = peer(writes.back());
    if (!linePace) {
        deliver(answer);
        return true;
    }
    // Byte i ends 10 + i + 1 byte times after the write began; the clock counts whole ms.
    for (std::size_t i = 0; i < answer.size(); ++i)
        deliverAt(clock_.now + static_cast<std::int64_t>((bytes.size() + i + 1) * 2083 / 1000), {answer[i]});
    return true;
}

void FakePort::takeLineFrom(FakePort& other) {
    open_ = other.open_;
    name_ = other.name_;
    readSize_ = other.readSize_;
    linePace = other.linePace;
    fault_ = other.fault_;
    input_ = std::move(other.input_);
    scheduled_ = std::move(other.scheduled_);
    opens.insert(opens.end(), other.opens.begin(), other.opens.end());
    writes.insert(writes.end(), other.writes.begin(), other.writes.end());
    other.input_.clear();
    other.scheduled_.clear();
    other.open_ = false;
}

void FakePort::arriveDue() {
    while (!scheduled_.empty() && scheduled_.begin()->first <= clock_.now) {
        deliver(scheduled_.begin()->second);
        scheduled_.erase(scheduled_.begin());
    }
}

int FakePort::bytesWaiting() {
    arriveDue();
    return open_ ? static_cast<int>(input_.size()) : 0;
}

void FakePort::waitForBytes(int timeoutMs) {
    ++waits;
    if (readRefused_) {
        readRefused_ = false;
        return;
    }
    if (duringWait) duringWait();
    if (breakAtNextWait) {
        breakAtNextWait = false;
        fault_ = devlink::PortFault::Broken;
        open_ = false;
        return;
    }
    const std::int64_t deadline = clock_.now + timeoutMs;
    if (!scheduled_.empty() && scheduled_.begin()->first <= deadline) {
        clock_.now = std::max(clock_.now, scheduled_.begin()->first);
        arriveDue();
        return;
    }
    clock_.now = deadline;
}

std::vector<std::uint8_t> FakePort::read() {
    arriveDue();
    if (!input_.empty() && !readRefusals.empty()) {
        readRefused_ = refuse(readRefusals);
        return {};
    }
    const auto count = std::min<std::size_t>(input_.size(), static_cast<std::size_t>(readSize_));
    Bytes out(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(count));
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(count));
    return out;
}

}  // namespace testing_support
