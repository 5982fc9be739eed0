#include "app/user_guide_window.h"

#include <QTextBrowser>
#include <QUrl>

#include "ui/window_fit.h"

namespace app {

void ShowUserGuide(QWidget* owner) {
    auto* guide = owner->findChild<QTextBrowser*>(QStringLiteral("UserGuide"), Qt::FindDirectChildrenOnly);
    if (!guide) {
        guide = new QTextBrowser(owner);
        guide->setWindowFlag(Qt::Window);
        guide->setAttribute(Qt::WA_DeleteOnClose);
        guide->setObjectName(QStringLiteral("UserGuide"));
        guide->setWindowTitle(QStringLiteral("User guide"));
        guide->setAccessibleName(QStringLiteral("User guide"));
        // Links to the web open in the user's browser; the guide itself
        // needs none.
        guide->setOpenExternalLinks(true);
        guide->setSource(QUrl(QString::fromLatin1(kUserGuideSource)), QTextDocument::MarkdownResource);
        ui::ResizeWithinScreen(*guide, QSize(760, 640));
    }
    guide->show();
    guide->raise();
    guide->activateWindow();
}

}  // namespace app
