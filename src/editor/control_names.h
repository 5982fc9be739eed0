#pragma once
// How the editor's controls are named for screen readers and tests.
#include <QString>

namespace editor {

inline QString ChannelName(int channel) { return channel == 0 ? QStringLiteral("Left") : QStringLiteral("Right"); }

// "Left notch 4 frequency", counting rows from 1 as the user sees them.
inline QString NotchControlName(int channel, int row, const char* what) {
    return QStringLiteral("%1 notch %2 %3").arg(ChannelName(channel)).arg(row + 1).arg(QLatin1String(what));
}

// "HScroll20_3": the control array's name and its index.
inline QString ArrayObjectName(const char* array, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(index);
}

}  // namespace editor
