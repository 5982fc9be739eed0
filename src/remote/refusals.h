#pragma once
// Why a page's request was not carried out, in the same words whichever
// program serves the page.
#include <QString>

namespace remote {

inline constexpr char kSearchRunning[] = "A search is running: stop it first";
inline constexpr char kAnotherSearchRunning[] = "Another search is running";
inline constexpr char kProgramClosing[] = "The editor is closing";

inline QString AutomaticRowRefusal(int channel, int row) {
    return QStringLiteral("%1 notch %2 belongs to the automatic search")
        .arg(channel == 0 ? QStringLiteral("Left") : QStringLiteral("Right"))
        .arg(row + 1);
}

}  // namespace remote
