#include "devlink/qt_serial_port.h"

#include <QFileInfo>

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "devlink/line_retry.h"

namespace devlink {
namespace {

// QSerialPort says PermissionError for three different things: the device's
// mode keeps this user out, another program holds the lock file
// (LCK..ttyUSB0 in /var/lock or /run/lock, which binds even root), or
// another program opened the terminal exclusively (TIOCEXCL, so open()
// fails with EBUSY). Only the first is about permission. Whether this user
// may read and write the device tells them apart without guessing at Qt's
// lock directories or its (translated) error texts: if access() allows
// both, what stopped the open was somebody else holding the port. (Qt also
// says PermissionError when no lock directory at all is writable, /tmp
// included; a system that broken is not worth a guess of its own.)
PortFault OpenFault(QSerialPort::SerialPortError error, const std::string& name) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError: return PortFault::NotFound;
    case QSerialPort::PermissionError: {
        // A bare name (ttyUSB0) is one in /dev, as QSerialPort takes it.
        const std::string path = name.find('/') == std::string::npos ? "/dev/" + name : name;
        return ::access(path.c_str(), R_OK | W_OK) == 0 ? PortFault::InUse : PortFault::Permission;
    }
    default: return PortFault::OpenFailed;
    }
}

// The far end is gone: an adapter unplugged, a pseudo-terminal's master
// closed. Every read then fails, and Qt calls each failure a ReadError, the
// same name it gives a read that merely found nothing; the hang-up tells
// them apart.
bool LineHungUp(QSerialPort& port) {
    pollfd line{static_cast<int>(port.handle()), POLLIN, 0};
    return ::poll(&line, 1, 0) > 0 && (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

// QSerialPort keeps the errno of a failed call only as its text, and calls
// EAGAIN a ResourceError, the name it also gives to EIO from an unplugged
// adapter. The text, made by the same function from the same errno, tells
// the "not now" apart; anything else stays a real failure.
int TransientErrnoBehind(const QString& text) {
    for (const int candidate : {EAGAIN, EWOULDBLOCK, EINTR})
        if (text == qt_error_string(candidate)) return candidate;
    return 0;
}

}  // namespace

QtSerialPort::QtSerialPort(QObject* parent) : QObject(parent) {
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
    connect(&port_, &QSerialPort::readyRead, this, &QtSerialPort::bytesArrived);
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError) return;
    // A read that timed out is part of normal waiting, not a fault. Clearing
    // it announces NoError, which ends here above.
    if (error == QSerialPort::TimeoutError) {
        port_.clearError();
        return;
    }
    if (!port_.isOpen()) return;  // open() reports its own failure
    // A read that found nothing (the notifier fired for bytes another read
    // took already) comes as ReadError whatever stale errno Qt looked at:
    // the same "not now" as an EAGAIN.
    const int systemError = error == QSerialPort::ReadError ? EAGAIN : TransientErrnoBehind(port_.errorString());
    if (JudgeLineFailure(systemError, LineHungUp(port_)) == LineFailure::TryAgain) {
        port_.clearError();
        // Qt stops watching the line after a read's ResourceError; without
        // this no report would be announced again.
        port_.setReadBufferSize(port_.readBufferSize());
        return;
    }
    fault_ = PortFault::Broken;
    faultText_ = port_.errorString().toStdString();
    // Close on the first real error: an unplugged adapter otherwise keeps
    // raising errors in a tight loop.
    port_.close();
    emit broken();
}

bool QtSerialPort::open(const std::string& name) {
    if (port_.isOpen()) port_.close();
    fault_ = PortFault::None;
    faultText_.clear();
    // A device that is not there (an adapter unplugged, a terminal gone) is
    // said so at once: Qt would first create, sync and remove its lock file,
    // on every reconnect attempt of an offline editor.
    const std::string path = name.find('/') == std::string::npos ? "/dev/" + name : name;
    if (!QFileInfo::exists(QString::fromStdString(path))) {
        fault_ = PortFault::NotFound;
        faultText_ = "No such file or directory";
        return false;
    }
    port_.setPortName(QString::fromStdString(name));
    port_.setBaudRate(QSerialPort::Baud4800);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (port_.open(QIODevice::ReadWrite)) return true;
    fault_ = OpenFault(port_.error(), name);
    // Qt calls a held lock a permission error; say what it is.
    faultText_ =
        fault_ == PortFault::InUse ? std::string("in use by another program") : port_.errorString().toStdString();
    port_.clearError();
    return false;
}

void QtSerialPort::close() {
    if (port_.isOpen()) port_.close();
}

bool QtSerialPort::isOpen() const { return port_.isOpen(); }

void QtSerialPort::setReadSize(int bytes) { readSize_ = bytes; }

bool QtSerialPort::write(std::span<const std::uint8_t> bytes) {
    if (!port_.isOpen()) return false;
    const auto size = static_cast<qint64>(bytes.size());
    if (port_.write(reinterpret_cast<const char*>(bytes.data()), size) != size) return false;
    // Push the frame out now; the reply is waited for by the caller. A write
    // refused for now stays in Qt's buffer and goes out at the next try.
    SteadyClock clock;
    return WriteUntilOut(
        [this](int waitMs) {
            if (port_.isOpen() && port_.bytesToWrite() > 0) port_.waitForBytesWritten(waitMs);
            return WriteProgress{port_.isOpen() && port_.bytesToWrite() == 0, !port_.isOpen()};
        },
        clock);
}

int QtSerialPort::bytesWaiting() { return port_.isOpen() ? static_cast<int>(port_.bytesAvailable()) : 0; }

void QtSerialPort::waitForBytes(int timeoutMs) {
    if (port_.isOpen()) port_.waitForReadyRead(timeoutMs);
}

std::vector<std::uint8_t> QtSerialPort::read() {
    if (!port_.isOpen()) return {};
    const QByteArray data = port_.read(readSize_);
    return {data.begin(), data.end()};
}

void QtSerialPort::discardInput() {
    if (!port_.isOpen()) return;
    port_.readAll();  // what Qt has buffered already
    port_.clear(QSerialPort::Input);
}

}  // namespace devlink
