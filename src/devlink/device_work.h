#pragma once
// Which transfer holds the device, if any. A transfer (the start-up read, a
// file load, a copy, a store, a read, a library action, a backup, a restore,
// a whole-preset undo) sends many frames that belong together; nothing else
// may go out between them, whatever path asks. The windows lock every
// command that talks to the device while one is held and refuse what still
// arrives; a quit waits for the transfer to end.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace devlink {

class DeviceWork {
public:
    // Held for the life of the object; moving it hands the hold on.
    class Hold {
    public:
        Hold(Hold&& other) noexcept : work_(std::exchange(other.work_, nullptr)) {}
        Hold& operator=(Hold&&) = delete;
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        ~Hold() {
            if (work_) work_->release();
        }

    private:
        friend class DeviceWork;
        explicit Hold(DeviceWork& work) : work_(&work) {}
        DeviceWork* work_;
    };

    bool busy() const { return !what_.empty(); }
    // What holds the device, as a sentence goes on: "storing a preset".
    const std::string& what() const { return what_; }
    // Why a request is refused meanwhile, in the words every window uses.
    std::string busyText() const { return "The device is busy " + what_ + ". Try again when it has finished."; }

    // Nothing while another transfer holds the device.
    std::optional<Hold> tryHold(std::string what);

    enum class WorkEvent { Busy, Free, Refused };
    using Listeners = std::vector<std::pair<int, std::function<void(WorkEvent)>>>;
    // Told whenever the device becomes busy or free or a request is
    // refused, for as long as the returned watch lives (a window that ends
    // before the link must not be told any more).
    class Watch {
    public:
        Watch(Watch&&) noexcept = default;
        Watch& operator=(Watch&&) = delete;
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;
        ~Watch() {
            if (const auto listeners = listeners_.lock())
                std::erase_if(*listeners, [id = id_](const auto& entry) { return entry.first == id; });
        }

    private:
        friend class DeviceWork;
        Watch(std::weak_ptr<Listeners> listeners, int id) : listeners_(std::move(listeners)), id_(id) {}
        // Either may end first: a window, or the link it watched.
        std::weak_ptr<Listeners> listeners_;
        int id_;
    };
    [[nodiscard]] Watch watch(std::function<void(WorkEvent)> listener) {
        listeners_->emplace_back(++lastId_, std::move(listener));
        return Watch(listeners_, lastId_);
    }

    // A request came while the device was held and was dropped. Whoever
    // watches says so without a modal box: a box would stop the transfer
    // in the middle until it is closed.
    void refuse() const { tell(WorkEvent::Refused); }
    // Every job has ended, the last one perhaps after its hold: whoever
    // waits for the device to be free hears it once more.
    void tellIdle() const {
        if (!busy()) tell(WorkEvent::Free);
    }

private:
    void release();
    void tell(WorkEvent event) const {
        const Listeners listeners = *listeners_;  // a listener may stop watching
        for (const auto& entry : listeners) entry.second(event);
    }

    std::string what_;
    std::shared_ptr<Listeners> listeners_ = std::make_shared<Listeners>();
    int lastId_ = 0;
};

inline std::optional<DeviceWork::Hold> DeviceWork::tryHold(std::string what) {
    if (busy() || what.empty()) return std::nullopt;
    what_ = std::move(what);
    tell(WorkEvent::Busy);
    return Hold(*this);
}

inline void DeviceWork::release() {
    what_.clear();
    tell(WorkEvent::Free);
}

}  // namespace devlink
