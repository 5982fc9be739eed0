#include "app/exiting_link_end.h"

#include <cstdio>
#include <cstdlib>

namespace app {

void ExitingLinkEnd::linkLost(const std::string& message) {
    dialogs_.inform(QString::fromStdString(message), "QRN4480", ui::Icon::Exclamation);
    std::fflush(nullptr);
    // Unwinding would run window code that expects a live device.
    std::_Exit(EXIT_FAILURE);
}

}  // namespace app
