#include "editor/device_transfer.h"

#include <QPointer>
#include <QWidget>
#include <memory>

namespace editor {

namespace {

// Hands `then` to the event loop when the job that carries it is over or
// dropped: either way the job's body, and this with it, is let go.
class AfterJob {
public:
    AfterJob(devlink::JobRunner& jobs, std::function<void()> then) : jobs_(jobs), then_(std::move(then)) {}
    ~AfterJob() {
        if (then_) jobs_.later(std::move(then_));
    }
    AfterJob(const AfterJob&) = delete;
    AfterJob& operator=(const AfterJob&) = delete;

private:
    devlink::JobRunner& jobs_;
    std::function<void()> then_;
};

}  // namespace

bool RunTransfer(devlink::DeviceLink& link, ui::UserDialogs& dialogs, const char* what, devlink::JobRunner::Job work,
                 std::function<void()> then) {
    // Held from the request on, so nothing else starts while the job waits
    // its turn; a job dropped unstarted (a cancel) lets go too.
    std::shared_ptr<DeviceTransfer> transfer = DeviceTransfer::Begin(link, dialogs, what);
    if (!transfer) return false;
    auto after = std::make_shared<AfterJob>(link.jobs(), std::move(then));
    link.jobs().run(
        [transfer = std::move(transfer), work = std::move(work), after = std::move(after)]() mutable -> devlink::Task<void> {
            co_await work();
            // Free before whatever follows looks at the device.
            transfer.reset();
        });
    return true;
}

bool RunWindowTransfer(QObject* window, devlink::DeviceLink& link, ui::UserDialogs& dialogs, const char* what,
                       devlink::JobRunner::Job work, std::function<void(bool ran)> then) {
    const QPointer<QObject> watched(window);
    const auto gone = [watched, window] { return window != nullptr && watched.isNull(); };
    auto ran = std::make_shared<bool>(false);
    return RunTransfer(
        link, dialogs, what,
        [gone, ran, work = std::move(work)]() -> devlink::Task<void> {
            if (gone()) co_return;
            *ran = true;
            co_await work();
        },
        [gone, ran, then = std::move(then)] {
            if (!gone()) then(*ran);
        });
}

std::unique_ptr<DeviceTransfer> DeviceTransfer::Begin(devlink::DeviceLink& link, ui::UserDialogs& dialogs,
                                                      const char* what) {
    auto hold = link.work().tryHold(what);
    if (!hold) {
        link.work().refuse();
        return nullptr;
    }
    return std::unique_ptr<DeviceTransfer>(new DeviceTransfer(std::move(*hold), dialogs));
}

devlink::Task<ui::Answer> Asked(devlink::DeviceLink& link, ui::UserDialogs& dialogs, ui::Message message,
                                QWidget* parent) {
    // The window may be gone by the time the box opens.
    const QPointer<QWidget> owner(parent);
    std::function<void(std::function<void(ui::Answer)>)> ask = [&dialogs, &message,
                                                               owner](std::function<void(ui::Answer)> reply) {
        dialogs.showThen(message, owner.data(), std::move(reply));
    };
    const ui::Answer answer = co_await link.jobs().answer<ui::Answer>(std::move(ask));
    co_return answer;
}

QString DeviceBusyText(const devlink::DeviceWork& work) { return QString::fromStdString(work.busyText()); }

bool RefusedWhileBusy(const devlink::DeviceLink& link) {
    if (!link.work().busy()) return false;
    link.work().refuse();
    return true;
}

}  // namespace editor
