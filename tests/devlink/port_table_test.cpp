#include <gtest/gtest.h>

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

TEST(PortTable, AListReplacesTheWholeTable) {
    const auto table = PortTable::fromList("/tmp/a::/tmp/c", ':');
    EXPECT_EQ(table.name(1), "/tmp/a");
    EXPECT_FALSE(table.name(2));
    EXPECT_EQ(table.name(3), "/tmp/c");
    EXPECT_FALSE(table.name(4));
    EXPECT_FALSE(table.name(5));
    EXPECT_FALSE(PortTable::fromList("", ':').name(1));
}
