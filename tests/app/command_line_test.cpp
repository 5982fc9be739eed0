#include <gtest/gtest.h>

#include "app/command_line.h"

TEST(CommandLine, OptionsAndAPresetFile) {
    QString error;
    const auto options = app::ParseCommandLine({"qrn4480-editor", "--simulate", "--ports", "/a::/c", "live.Fbk"}, &error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_TRUE(options->simulate);
    EXPECT_EQ(options->portList, QString("/a::/c"));
    EXPECT_EQ(options->presetFile, "live.Fbk");
}

TEST(CommandLine, PortsOptionBeatsTheEnvironment) {
    qputenv("QRN4480_PORTS", "/env");
    QString error;
    EXPECT_EQ(app::ParseCommandLine({"e"}, &error)->portList, QString("/env"));
    EXPECT_EQ(app::ParseCommandLine({"e", "--ports", "/opt"}, &error)->portList, QString("/opt"));
    qunsetenv("QRN4480_PORTS");
    EXPECT_FALSE(app::ParseCommandLine({"e"}, &error)->portList);
}

TEST(CommandLine, WrongArgumentsAreRefused) {
    QString error;
    EXPECT_FALSE(app::ParseCommandLine({"e", "--no-such-option"}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(app::ParseCommandLine({"e", "a.Fbk", "b.Fbk"}, &error));
}
