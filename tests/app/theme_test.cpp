// View > Theme, the icons under a dark palette, and the colours that keep a
// notch row the search owns apart from one the user tunes.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

#include "app/theme.h"
#include "app/toolbar_icons.h"
#include "editor/parameter_editor.h"
#include "editor/row_colours.h"
#include "main_window_fixture.h"

using testing_support::MainWindowTest;

namespace {

// A dark GTK desktop's colours (Adwaita dark): its accent is too dark to
// mark anything on its fields.
QPalette AdwaitaDark() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, QColor(0xee, 0xee, 0xec));
    p.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::Highlight, QColor(0x15, 0x53, 0x9e));
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}

TEST(RowColours, AutomaticRowsStandOutAndLockedTextStaysReadable) {
    struct Case {
        const char* name;
        QPalette palette;
    };
    const Case cases[] = {
        {"light", app::LightPalette()},
        {"dark", app::DarkPalette()},
        {"Adwaita dark", AdwaitaDark()},
    };
    for (const Case& c : cases) {
        const editor::RowColours colours = editor::RowColoursFor(c.palette);
        EXPECT_GE(editor::ContrastRatio(colours.markBack, colours.manualBack), 3.0) << c.name;
        EXPECT_GE(editor::ContrastRatio(colours.markBack, colours.lockedBack), 3.0) << c.name;
        EXPECT_GE(editor::ContrastRatio(colours.markText, colours.markBack), 4.5) << c.name;
        EXPECT_GE(editor::ContrastRatio(colours.lockedText, colours.lockedBack), 4.5) << c.name;
    }
}

TEST_F(MainWindowTest, ThemeMenuAppliesAndRemembersTheChoiceAndIconsKeepTheirArrows) {
    start(true);
    const QPalette system = QApplication::palette();
    QMenu* theme = window->menus().view->findChild<QMenu*>("ThemeMenu");
    ASSERT_NE(theme, nullptr);
    QStringList texts;
    for (QAction* a : theme->actions()) texts << a->text();
    EXPECT_EQ(texts, QStringList({"&System", "&Light", "&Dark"}));
    EXPECT_TRUE(theme->actions()[0]->isChecked());

    theme->actions()[2]->trigger();
    QApplication::processEvents();  // the new palette reaches the windows through the event loop
    EXPECT_EQ(app::StoredTheme(), app::Theme::Dark);
    const QColor window_ = QApplication::palette().color(QPalette::Window);
    EXPECT_LT(window_.lightness(), 80);
    // The copy buttons' arrow, in the middle of the icon, shows on the dark bar.
    const QImage icon = window->toolbarButton(app::kCopyLeftToRight)->icon().pixmap(64, 64).toImage();
    EXPECT_GE(editor::ContrastRatio(icon.pixelColor(32, 32), window_), 3.0);
    // A new window (the next start) comes up dark and checks Dark.
    app::MainWindow second(session, rig.link, rig.dialogs);
    EXPECT_TRUE(second.menus().view->findChild<QMenu*>("ThemeMenu")->actions()[2]->isChecked());

    theme->actions()[0]->trigger();
    QApplication::processEvents();
    EXPECT_EQ(app::StoredTheme(), app::Theme::System);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), system.color(QPalette::Window));
}

// The automatic rows carry their badge, the manual ones none; the width
// box is drawn without a frame, in the window's colour.
TEST_F(MainWindowTest, AutomaticRowsCarryAMarkAndTheWidthBoxLooksReadOnly) {
    start(true);
    const auto& c = window->editor().controls();
    const int automatic = static_cast<int>(
        std::count_if(c.rows.begin(), c.rows.begin() + 12, [](const auto& row) { return !row.freqBox->isEnabled(); }));
    ASSERT_GT(automatic, 0);
    ASSERT_LT(automatic, 12);
    EXPECT_EQ(c.rows[automatic - 1].autoMark->text(), "auto");
    EXPECT_TRUE(c.rows[automatic - 1].autoMark->autoFillBackground());
    EXPECT_EQ(c.rows[automatic].autoMark->text(), "");
    const QLineEdit* width = c.rows[automatic].widthText;
    EXPECT_FALSE(width->hasFrame());
    EXPECT_EQ(width->palette().color(QPalette::Active, QPalette::Base),
              width->palette().color(QPalette::Active, QPalette::Window));
}

}  // namespace
