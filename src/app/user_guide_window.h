#pragma once
// Help > User guide: the guide built into the program (the README's part for
// users), in a window of its own, readable with no network and no browser.
#include <QString>

class QWidget;

namespace app {

// Where the guide lives among the program's resources.
inline constexpr char kUserGuideSource[] = "qrc:/guide/user-guide.md";

// Shows the guide, or raises it when it is open already; `owner` keeps the
// one window.
void ShowUserGuide(QWidget* owner);

}  // namespace app
