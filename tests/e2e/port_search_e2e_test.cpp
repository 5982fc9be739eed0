// The port search on real terminals: silent ports are pseudo-terminals whose
// far end keeps every byte written to them.
#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include "connection/port_search.h"
#include "devlink/any_port.h"
#include "devlink/any_port_factory.h"
#include "sim/pseudo_terminal.h"
#include "sim/simulator_thread.h"
#include "support/recording_link_end.h"

namespace {

// What the program wrote to the terminal; it writes synchronously, so all of
// it is there once the search has returned.
std::size_t BytesHeard(const sim::PseudoTerminal& pty) {
    std::size_t heard = 0;
    pollfd ready{pty.masterFd(), POLLIN, 0};
    char chunk[64];
    while (::poll(&ready, 1, 0) == 1 && (ready.revents & POLLIN) != 0) {
        const ssize_t got = ::read(pty.masterFd(), chunk, sizeof chunk);
        if (got <= 0) break;
        heard += static_cast<std::size_t>(got);
    }
    return heard;
}

TEST(PortSearchEndToEnd, ARememberedPortThatAnswersLeavesEveryOtherPortUntouched) {
    struct Case {
        const char* what;
        int devicePort;  // the other four of ports 1..5 are silent
        int stored;
        std::size_t heardBySilentPorts;
    };
    const Case cases[] = {
        {"first start: every port hears the probe", 1, 0, 10},
        {"the remembered port answers: no other port hears a byte", 3, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        sim::SimulatorThread simulator;
        ASSERT_TRUE(simulator.start({}, &error)) << error;
        sim::PseudoTerminal silent[4];
        std::string list;
        for (int port = 1, next = 0; port <= 5; ++port) {
            if (port == c.devicePort) {
                list += simulator.portPath() + ":";
                continue;
            }
            ASSERT_TRUE(silent[next].open(&error)) << error;
            list += silent[next++].slavePath() + ":";
        }
        devlink::AnyPort port;
        devlink::JobRunner jobs;  // driven in place: the waits block
        devlink::AnyPortFactory factory{port, jobs};
        devlink::SteadyClock clock;
        testing_support::RecordingLinkEnd end;
        devlink::DeviceLink link(port, clock, end, devlink::PortTable::fromList(list, ':'), jobs);
        link.setPortFactory(&factory);

        const connection::PortSearchResult result = devlink::RunToEnd(connection::SearchDevicePorts(link, c.stored));
        EXPECT_TRUE(result.found);
        EXPECT_EQ(result.portNumber, c.devicePort);
        for (const sim::PseudoTerminal& pty : silent) EXPECT_EQ(BytesHeard(pty), c.heardBySilentPorts);
    }
}

}  // namespace
