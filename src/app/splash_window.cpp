#include "app/splash_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace app {

SplashWindow::SplashWindow(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("frmSplash");
    setAccessibleName("QRN4480 starting");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 28, 32, 24);
    auto* title = new QLabel("QRN4480 feedback eliminator", this);
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.8);
    font.setBold(true);
    title->setFont(font);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    statusLabel_ = new QLabel(kSearchingStatus, this);
    statusLabel_->setObjectName("Label1");
    statusLabel_->setAlignment(Qt::AlignCenter);
    statusLabel_->hide();
    layout->addWidget(statusLabel_);
    progress_ = new QProgressBar(this);
    progress_->setObjectName("DumpProgress");
    progress_->setAccessibleName("Dump progress");
    progress_->setTextVisible(true);
    progress_->hide();
    layout->addWidget(progress_);
    setFixedWidth(460);
    setStyleSheet("app--SplashWindow { background: #f4f6f8; border: 1px solid #8a9099; }");
}

void SplashWindow::showStatus(const QString& text) {
    statusLabel_->setText(text);
    statusLabel_->show();
}

void SplashWindow::showProgress(int done, int total) {
    progress_->setMaximum(total);
    progress_->setValue(done);
    progress_->setFormat(QString("%1 of %2 reads").arg(done).arg(total));
    progress_->show();
}

QString SplashWindow::status() const { return statusLabel_->text(); }
bool SplashWindow::statusVisible() const { return !statusLabel_->isHidden(); }

}  // namespace app
