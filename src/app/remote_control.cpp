#include "app/remote_control.h"

#include <QCheckBox>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "app/qr_image.h"

namespace app {
namespace {

constexpr int kQrScale = 5;

}  // namespace

RemoteControl::RemoteControl(MainWindow& window, const model::PresetImage& image, devlink::DeviceLink& link,
                             RemoteDialogs& dialogs)
    : QDialog(&window),
      window_(window),
      target_(window, image, link, dialogs),
      server_(target_),
      onBox_(new QCheckBox(QStringLiteral("Remote control on"))),
      addresses_(new QLabel),
      qr_(new QLabel),
      counts_(new QLabel),
      error_(new QLabel) {
    setObjectName(QStringLiteral("RemoteControlWindow"));
    setWindowTitle(QStringLiteral("Remote control"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral(
        "Open this address on a phone or tablet on the same network. Anyone with the address can change the "
        "settings: it holds a new secret each time the remote is turned on."));
    intro->setWordWrap(true);
    addresses_->setObjectName(QStringLiteral("RemoteAddresses"));
    addresses_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    addresses_->setAccessibleName(QStringLiteral("Remote addresses"));
    qr_->setObjectName(QStringLiteral("RemoteQrCode"));
    qr_->setAccessibleName(QStringLiteral("QR code of the first address"));
    counts_->setObjectName(QStringLiteral("RemoteCounts"));
    counts_->setAccessibleName(QStringLiteral("Remote connections"));
    error_->setObjectName(QStringLiteral("RemoteError"));
    error_->setWordWrap(true);
    onBox_->setObjectName(QStringLiteral("RemoteOnBox"));
    layout->addWidget(intro);
    layout->addWidget(onBox_);
    layout->addWidget(error_);
    layout->addWidget(addresses_);
    layout->addWidget(qr_, 0, Qt::AlignHCenter);
    layout->addWidget(counts_);
    connect(onBox_, &QCheckBox::toggled, this, &RemoteControl::onSwitch);
    connect(&server_, &remote::RemoteServer::countsChanged, this, &RemoteControl::showCounts);
    showAddresses();
}

bool RemoteControl::start(const remote::ListenAddress& where, QString* error) {
    where_ = where;
    QString why;
    const bool started = server_.start(where.address, where.port, &why);
    error_->setText(started ? QString() : QStringLiteral("The remote cannot listen: ") + why);
    if (error) *error = why;
    {
        const QSignalBlocker quiet(onBox_);
        onBox_->setChecked(started);
    }
    showAddresses();
    return started;
}

void RemoteControl::stop() {
    server_.stop();
    const QSignalBlocker quiet(onBox_);
    onBox_->setChecked(false);
    showAddresses();
}

void RemoteControl::onSwitch(bool on) {
    if (on)
        start(where_, nullptr);
    else
        stop();
}

void RemoteControl::showAddresses() {
    const QStringList addresses = server_.pageAddresses();
    addresses_->setText(addresses.isEmpty() ? QStringLiteral("The remote is off.") : addresses.join(QLatin1Char('\n')));
    qr_->setPixmap(addresses.isEmpty() ? QPixmap() : QPixmap::fromImage(QrImage(addresses.front(), kQrScale)));
    qr_->setVisible(!addresses.isEmpty());
    // A label's text does not reach the accessibility bus; its description does.
    addresses_->setAccessibleDescription(addresses_->text());
    showCounts();
    adjustSize();
}

void RemoteControl::showCounts() {
    counts_->setText(QStringLiteral("Phones connected: %1\nRequests refused: %2")
                         .arg(server_.clientCount())
                         .arg(server_.refusedCount()));
    counts_->setAccessibleDescription(counts_->text());
    window_.showRemoteStatus(server_.running(), server_.clientCount());
}

}  // namespace app
