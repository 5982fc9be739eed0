#include "app/user_places.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>
#include <vector>

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#endif

namespace app {
namespace {

constexpr char kGeometryKey[] = "window/geometry";

// A group whose members a user may join; root's group would be bad advice.
bool IsJoinableGroup(const QString& group) { return !group.isEmpty() && group != "root"; }

}  // namespace

QString FileGroupName(const QString& path) {
#ifdef _WIN32
    Q_UNUSED(path);
    return {};
#else
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return {};
    std::vector<char> buffer(16384);
    struct group entry {};
    struct group* found = nullptr;
    if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
    return QString::fromLocal8Bit(found->gr_name);
#endif
}

QString PortPermissionMessage(int port, const QString& devicePath) {
    const QString group = FileGroupName(devicePath);
    const QString head = QString("Port %1 (%2) exists, but this user may not open it.\n\n").arg(port).arg(devicePath);
    const QString tail = "then log out and in again and start the program once more.";
    if (IsJoinableGroup(group))
        return head +
               QString(
                   "It belongs to the group %1. Add yourself to that group:\n"
                   "    sudo usermod -aG %1 $USER\n")
                   .arg(group) +
               tail;
    // Unknown or root's: the usual group for serial ports on Debian.
    return head +
           "On Linux, add yourself to the dialout group:\n"
           "    sudo usermod -aG dialout $USER\n" +
           tail;
}

void ShowWithRememberedGeometry(QWidget& window) {
    const QByteArray geometry = QSettings().value(kGeometryKey).toByteArray();
    // restoreGeometry() only places the window (and sets its maximized
    // state): it still has to be shown.
    if (!geometry.isEmpty() && window.restoreGeometry(geometry))
        window.show();
    else
        window.showMaximized();
}

void RememberWindowGeometry(const QWidget& window) { QSettings().setValue(kGeometryKey, window.saveGeometry()); }

QString AutosavePath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath("kept-settings.qrna");
}

}  // namespace app
