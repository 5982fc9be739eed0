#include "app/theme.h"

#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QSettings>
#include <QStyle>

namespace app {
namespace {

constexpr char kThemeKey[] = "view/theme";

struct ThemeName {
    Theme theme;
    const char* key;   // in the settings file
    const char* text;  // in the menu
    const char* objectName;
};
constexpr ThemeName kThemes[] = {
    {Theme::System, "system", "&System", "ThemeSystemAction"},
    {Theme::Light, "light", "&Light", "ThemeLightAction"},
    {Theme::Dark, "dark", "&Dark", "ThemeDarkAction"},
};

}  // namespace

QPalette LightPalette() { return QApplication::style()->standardPalette(); }

QPalette DarkPalette() {
    const QColor window(50, 52, 56), base(32, 33, 36), text(235, 235, 235), dim(140, 140, 140);
    QPalette p;
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, text);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::AlternateBase, window);
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::Button, QColor(60, 62, 66));
        p.setColor(group, QPalette::ButtonText, text);
        p.setColor(group, QPalette::BrightText, Qt::white);
        p.setColor(group, QPalette::Highlight, QColor(61, 142, 230));
        p.setColor(group, QPalette::HighlightedText, Qt::black);
        p.setColor(group, QPalette::ToolTipBase, base);
        p.setColor(group, QPalette::ToolTipText, text);
        p.setColor(group, QPalette::PlaceholderText, dim);
        p.setColor(group, QPalette::Link, QColor(120, 170, 255));
        p.setColor(group, QPalette::Light, QColor(80, 82, 86));
        p.setColor(group, QPalette::Midlight, QColor(66, 68, 72));
        p.setColor(group, QPalette::Mid, QColor(40, 41, 44));
        p.setColor(group, QPalette::Dark, QColor(25, 26, 28));
        p.setColor(group, QPalette::Shadow, Qt::black);
    }
    p.setColor(QPalette::Disabled, QPalette::Window, window);
    p.setColor(QPalette::Disabled, QPalette::Base, window);
    p.setColor(QPalette::Disabled, QPalette::Button, window);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, dim);
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(80, 82, 86));
    p.setColor(QPalette::Disabled, QPalette::HighlightedText, dim);
    return p;
}

void ApplyTheme(Theme theme) {
    switch (theme) {
    // A palette with nothing set takes every colour from the desktop's.
    case Theme::System: QApplication::setPalette(QPalette()); break;
    case Theme::Light: QApplication::setPalette(LightPalette()); break;
    case Theme::Dark: QApplication::setPalette(DarkPalette()); break;
    }
}

Theme StoredTheme() {
    const QString key = QSettings().value(kThemeKey).toString();
    for (const ThemeName& t : kThemes)
        if (key == QLatin1String(t.key)) return t.theme;
    return Theme::System;
}

void StoreTheme(Theme theme) {
    for (const ThemeName& t : kThemes)
        if (t.theme == theme) QSettings().setValue(kThemeKey, QString::fromLatin1(t.key));
}

QActionGroup* AddThemeMenu(QMenu& menu) {
    QMenu* sub = menu.addMenu(QStringLiteral("&Theme"));
    sub->setObjectName(QStringLiteral("ThemeMenu"));
    auto* group = new QActionGroup(sub);
    group->setExclusive(true);
    const Theme stored = StoredTheme();
    for (const ThemeName& t : kThemes) {
        QAction* action = sub->addAction(QString::fromLatin1(t.text));
        action->setObjectName(QString::fromLatin1(t.objectName));
        action->setCheckable(true);
        action->setChecked(t.theme == stored);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, action, [theme = t.theme] {
            ApplyTheme(theme);
            StoreTheme(theme);
        });
    }
    return group;
}

}  // namespace app
