#include "app/offline_banner.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <algorithm>

namespace app {

QString OfflineBannerText(const QString& where, const QString& why) {
    const QString text = "Offline: the device on " + where +
                         " stopped answering. The editor keeps every edit you make and offers them to the device "
                         "when it answers again.";
    return why.isEmpty() ? text : text + " Reason: " + why;
}

OfflineBanner::OfflineBanner(QMainWindow& window) : QDockWidget(&window), label_(new QLabel(this)) {
    setObjectName("OfflineBanner");
    // A strip, not a panel: nothing to move, float, close or find in a menu.
    setFeatures(QDockWidget::NoDockWidgetFeatures);
    setTitleBarWidget(new QWidget(this));
    toggleViewAction()->setVisible(false);
    label_->setObjectName("OfflineBannerText");
    label_->setAccessibleName("Device offline");
    label_->setWordWrap(true);
    label_->setMargin(8);
    // The same amber on a light and a dark desktop: a warning, readable on both.
    label_->setStyleSheet("QLabel { background: #ffe08a; color: #2b2100; border-bottom: 1px solid #b38600; }");
    setWidget(label_);
    window.addDockWidget(Qt::TopDockWidgetArea, this);
    hide();
}

void OfflineBanner::showState(bool offline, const QString& where, const QString& why) {
    if (!offline) {
        hide();
        return;
    }
    const QString shown = OfflineBannerText(where, why);
    label_->setText(shown);
    // A label's text does not reach the accessibility bus; its description does.
    label_->setAccessibleDescription(shown);
    // The dock area would share the height with the editor: the banner takes
    // its lines of text (at half the window's width, room to spare) and no more.
    const QWidget* window = parentWidget();
    setMaximumHeight(label_->heightForWidth(std::max(200, (window ? window->width() : label_->width()) / 2)));
    show();
    QAccessibleEvent alert(label_, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

QString OfflineBanner::text() const { return isHidden() ? QString() : label_->text(); }

}  // namespace app
