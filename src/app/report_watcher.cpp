#include "app/report_watcher.h"

#include <QTimer>

namespace app {

ReportWatcher::ReportWatcher(devlink::AnyPort& port, devlink::DeviceLink& link, std::function<void()> take,
                             QObject* parent)
    : QObject(parent),
      link_(link),
      take_(std::move(take)),
      workWatch_(link.work().watch([this](devlink::DeviceWork::WorkEvent event) {
          if (event == devlink::DeviceWork::WorkEvent::Free && link_.hasKeptReports()) bytesArrived();
      })) {
    connect(&port, &devlink::AnyPort::bytesArrived, this, &ReportWatcher::bytesArrived);
    // A port that fails during a search is reported by the next take.
    connect(&port, &devlink::AnyPort::broken, this, &ReportWatcher::bytesArrived);
}

void ReportWatcher::bytesArrived() {
    if (queued_ || link_.flags().demoMode) return;
    queued_ = true;
    QTimer::singleShot(0, this, [this] {
        queued_ = false;
        if (!link_.inExchange()) take_();
        // Ten bytes that may yet be a report are decided once the line has
        // been quiet for a frame time: one more take then, not a polling
        // timer (it stops as soon as nothing is undecided).
        if (link_.reportUndecided())
            QTimer::singleShot(static_cast<int>(devlink::kFrameLineMs) + 1, this, &ReportWatcher::bytesArrived);
    });
}

}  // namespace app
