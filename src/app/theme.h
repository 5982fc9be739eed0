#pragma once
// View > Theme: the desktop's colours, or the program's own light or dark
// ones for a desktop that offers no dark theme. The choice is remembered.
#include <QPalette>

class QActionGroup;
class QMenu;

namespace app {

enum class Theme { System, Light, Dark };

QPalette LightPalette();
QPalette DarkPalette();
// Gives the whole program the theme's palette; System gives back the
// desktop's own.
void ApplyTheme(Theme theme);
// The remembered choice (System when none was made).
Theme StoredTheme();
void StoreTheme(Theme theme);

// "System", "Light" and "Dark" as checkable actions in `menu`, the stored
// one checked; choosing one applies and remembers it.
QActionGroup* AddThemeMenu(QMenu& menu);

}  // namespace app
