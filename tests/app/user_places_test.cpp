#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/user_places.h"

namespace {

QString GroupOf(gid_t gid) {
    const group* entry = getgrgid(gid);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString();
}

TEST(UserPlaces, TheGroupIsTheDevicesOwn) {
    QTemporaryDir dir;
    const QString file = dir.filePath("ttyFAKE0");
    QFile(file).open(QIODevice::WriteOnly);
    struct Case {
        QString path;
        QString group;
    };
    const Case cases[] = {
        {"/dev/null", "root"},
        {file, GroupOf(getegid())},
        {dir.filePath("missing"), ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(app::FileGroupName(c.path), c.group) << c.path.toStdString();
}

TEST(UserPlaces, PermissionAdviceNamesAGroupTheUserMayJoin) {
    QTemporaryDir dir;
    const QString port = dir.filePath("ttyUSB9");
    QFile(port).open(QIODevice::WriteOnly);
    const group* uucp = getgrnam("uucp");
    if (uucp && chown(QFile::encodeName(port).constData(), static_cast<uid_t>(-1), uucp->gr_gid) != 0) uucp = nullptr;
    const QString ownGroup = uucp ? "uucp" : GroupOf(getegid());
    const QString joinable = ownGroup == "root" ? "dialout" : ownGroup;
    struct Case {
        QString path;
        QString group;
    };
    const Case cases[] = {
        {port, joinable},
        {"/dev/null", "dialout"},  // root's group is no advice
        {dir.filePath("gone"), "dialout"},
    };
    for (const Case& c : cases) {
        const QString text = app::PortPermissionMessage(7, c.path);
        EXPECT_TRUE(text.startsWith(QString("Port 7 (%1) exists, but this user may not open it.\n\n").arg(c.path)));
        EXPECT_TRUE(text.contains(QString("    sudo usermod -aG %1 $USER\n").arg(c.group))) << text.toStdString();
        EXPECT_TRUE(text.endsWith("then log out and in again and start the program once more."));
    }
}

}  // namespace
