#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devlink/port_table.h"

using devlink::PortTable;

TEST(PortTable, BuiltInNames) {
    const PortTable table;
    struct Case {
        int number;
        const char* name;
    };
    const Case cases[] = {{1, "/dev/ttyS0"},     {4, "/dev/ttyS3"},    {5, "/dev/ttyUSB0"},
                          {20, "/dev/ttyUSB15"}, {21, "/dev/ttyACM0"}, {35, "/dev/ttyACM14"}};
    for (const auto& c : cases) EXPECT_EQ(table.name(c.number), c.name) << c.number;
    for (int outside : {-1, 0, 36, 32767}) EXPECT_FALSE(table.name(outside)) << outside;
}

// Entry i of the list names port i + 1; an empty entry leaves its port out,
// and a network port's colons never split it.
TEST(PortTable, AListReplacesTheWholeTable) {
    struct Case {
        const char* list;
        char separator;
        std::vector<const char*> ports;  // 1, 2, ...; nullptr: no port; then none
    };
    const Case cases[] = {
        {"", ':', {nullptr}},
        {"/tmp/a::/tmp/c", ':', {"/tmp/a", nullptr, "/tmp/c", nullptr, nullptr}},
        {"tcp://localhost:7000", ':', {"tcp://localhost:7000", nullptr}},
        {"/dev/ttyS0:tcp://h:7000::/dev/x", ':', {"/dev/ttyS0", "tcp://h:7000", nullptr, "/dev/x", nullptr}},
        {"tcp://h:7000:tcp://10.0.0.2:2001", ':', {"tcp://h:7000", "tcp://10.0.0.2:2001", nullptr}},
        {"tcp://[::1]:7000:/dev/x", ':', {"tcp://[::1]:7000", "/dev/x", nullptr}},
        {"tcp://h:7000:", ':', {"tcp://h:7000", nullptr}},
        {"tcp://h", ':', {"tcp://h", nullptr}},
        {"tcp://h:7000;COM2", ';', {"tcp://h:7000", "COM2", nullptr}},
        {"tcp:/h:7000", ':', {"tcp", "/h", "7000", nullptr}},
    };
    for (const Case& c : cases) {
        const auto table = PortTable::fromList(c.list, c.separator);
        for (std::size_t i = 0; i < c.ports.size(); ++i) {
            const int number = static_cast<int>(i) + 1;
            if (c.ports[i])
                EXPECT_EQ(table.name(number), c.ports[i]) << c.list << " port " << number;
            else
                EXPECT_FALSE(table.name(number)) << c.list << " port " << number;
        }
    }
}

TEST(PortTable, AListLongerThanTheTableStopsAtPort35) {
    std::string list;
    for (int n = 1; n <= 36; ++n) list += "tcp://h:" + std::to_string(7000 + n) + ":";
    const auto table = PortTable::fromList(list, ':');
    EXPECT_EQ(table.name(35), "tcp://h:7035");
    EXPECT_FALSE(table.name(36));
}
