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
    label1_ = new QLabel(kSearchingStatus, this);
    label1_->setObjectName("Label1");
    label1_->setAlignment(Qt::AlignCenter);
    label1_->hide();
    layout->addWidget(label1_);
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
    label1_->setText(text);
    label1_->show();
    label1_->repaint();
}

void SplashWindow::showProgress(int done, int total) {
    progress_->setMaximum(total);
    progress_->setValue(done);
    progress_->setFormat(QString("%1 of %2 reads").arg(done).arg(total));
    progress_->show();
    progress_->repaint();
}

QString SplashWindow::status() const { return label1_->text(); }
bool SplashWindow::statusVisible() const { return !label1_->isHidden(); }

}  // namespace app
