// What QtSerialPort::open says about a port it cannot have, on real
// terminals: a port another holder has open is in use, not forbidden.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <QTemporaryDir>

#include "devlink/qt_serial_port.h"
#include "sim/pseudo_terminal.h"

using devlink::PortFault;
using devlink::QtSerialPort;

namespace {

TEST(PortInUse, OpenTellsInUseFromMissingAndForbidden) {
    sim::PseudoTerminal pty;
    std::string error;
    ASSERT_TRUE(pty.open(&error)) << error;
    // Holds the lock file and the terminal exclusively, as another program
    // would; QSerialPort refuses a second open even to root.
    QtSerialPort holder;
    ASSERT_TRUE(holder.open(pty.slavePath())) << holder.faultText();

    QTemporaryDir dir;
    const std::string forbidden = dir.filePath("ttyForbidden").toStdString();
    ASSERT_EQ(::close(::creat(forbidden.c_str(), 0)), 0);
    struct Case {
        std::string name;
        PortFault fault;
        bool skipForRoot;  // root may open anything that is not held
    };
    const Case cases[] = {
        {pty.slavePath(), PortFault::InUse, false},
        {dir.filePath("ttyMissing").toStdString(), PortFault::NotFound, false},
        {forbidden, PortFault::Permission, true},
    };
    for (const Case& c : cases) {
        if (c.skipForRoot && ::geteuid() == 0) continue;
        QtSerialPort port;
        EXPECT_FALSE(port.open(c.name)) << c.name;
        EXPECT_EQ(port.fault(), c.fault) << c.name << ": " << port.faultText();
    }
    QtSerialPort second;
    EXPECT_FALSE(second.open(pty.slavePath()));
    EXPECT_EQ(second.faultText(), "in use by another program");

    holder.close();
    EXPECT_TRUE(second.open(pty.slavePath())) << "free again once the holder lets go: " << second.faultText();
}

}  // namespace
