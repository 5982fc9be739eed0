// The command line's values at their edges: what the editor's controls could
// hold passes, one step beyond is refused, and a command line the program
// does not understand is a usage error.
#include <gtest/gtest.h>

#include "cli/argument_parser.h"

namespace {

using cli::ExitStatus;

ExitStatus StatusOf(const QStringList& arguments) {
    const auto parsed = cli::ParseArguments(arguments);
    if (const auto* error = std::get_if<cli::ArgumentError>(&parsed)) return error->status;
    return ExitStatus::Done;
}

TEST(CliArguments, ValuesAtTheirEdges) {
    struct Case {
        QStringList arguments;
        ExitStatus status;
    };
    const Case cases[] = {
        {{"set", "left", "12", "--freq", "20"}, ExitStatus::Done},
        {{"set", "left", "12", "--freq=20000"}, ExitStatus::Done},
        {{"set", "left", "12", "--freq", "19.9"}, ExitStatus::Refused},
        {{"set", "left", "12", "--freq", "20000.1"}, ExitStatus::Refused},
        {{"set", "left", "12", "--freq", "1k"}, ExitStatus::Refused},
        {{"set", "left", "12", "--gain", "-45"}, ExitStatus::Done},
        {{"set", "left", "12", "--gain", "-45.6"}, ExitStatus::Refused},
        {{"set", "left", "12", "--gain", "0.4"}, ExitStatus::Refused},
        {{"set", "left", "12", "--width", "1/5"}, ExitStatus::Done},
        {{"set", "left", "12", "--width", "1/30"}, ExitStatus::Refused},
        {{"set", "left", "0", "--gain", "-3"}, ExitStatus::Refused},
        {{"set", "left", "13", "--gain", "-3"}, ExitStatus::Refused},
        {{"set", "right", "--auto-count", "12", "--sensitivity", "16"}, ExitStatus::Done},
        {{"set", "right", "--auto-count", "0"}, ExitStatus::Refused},
        {{"set", "right", "--auto-count", "13"}, ExitStatus::Refused},
        {{"set", "right", "--auto-count", "2.5"}, ExitStatus::Refused},
        {{"set", "right", "--sensitivity", "16.6"}, ExitStatus::Refused},
        {{"set", "right", "--depth", "Variable", "--release", "FAST", "--mode", "sharp"}, ExitStatus::Done},
        {{"set", "right", "--mode", "wide"}, ExitStatus::Refused},
        {{"set", "right"}, ExitStatus::Usage},
        {{"set", "right", "3", "--auto-count", "2"}, ExitStatus::Usage},
        {{"set", "right", "--freq", "1000"}, ExitStatus::Usage},
        {{"set", "middle", "3", "--gain", "-3"}, ExitStatus::Usage},
        {{"read", "1", "a.Fbk"}, ExitStatus::Done},
        {{"read", "21", "a.Fbk"}, ExitStatus::Refused},
        {{"store", "4", "NAME", "a.Fbk"}, ExitStatus::Refused},
        {{"store", "20", "NAME", "a.Fbk"}, ExitStatus::Done},
        {{"backup", "b", "--force"}, ExitStatus::Done},
        {{"save", "s.Fbk", "--force"}, ExitStatus::Usage},
        {{"restore", "b", "--positions", "5,7-9,20"}, ExitStatus::Done},
        {{"restore", "b", "--positions", "4-6"}, ExitStatus::Refused},
        {{"restore", "b", "--positions", "9-7"}, ExitStatus::Refused},
        {{"search", "both", "--seconds", "0.5"}, ExitStatus::Done},
        {{"search", "both", "--seconds", "0"}, ExitStatus::Refused},
        {{"search", "all"}, ExitStatus::Usage},
        {{"--port", "35", "info"}, ExitStatus::Done},
        {{"--port", "36", "info"}, ExitStatus::Refused},
        {{"--port", "tcp://127.0.0.1:4001", "info", "--json"}, ExitStatus::Done},
        {{"info", "extra"}, ExitStatus::Usage},
        {{"info", "--seconds", "3"}, ExitStatus::Usage},
        {{"info", "--port"}, ExitStatus::Usage},
        {{"--json=1", "info"}, ExitStatus::Usage},
        {{"get", "left", "12", "--trace", "t", "--trace", "u"}, ExitStatus::Usage},
        {{}, ExitStatus::Usage},
        {{"--help", "frob"}, ExitStatus::Done},
        {{"help", "search"}, ExitStatus::Done},
        {{"read", "--help"}, ExitStatus::Done},
        {{"help", "frob"}, ExitStatus::Usage},
        {{"help", "set", "get"}, ExitStatus::Usage},
        {{"ports", "--all"}, ExitStatus::Done},
        {{"info", "--all"}, ExitStatus::Usage},
    };
    for (const auto& c : cases) EXPECT_EQ(StatusOf(c.arguments), c.status) << c.arguments.join(' ').toStdString();
}

std::string Printed(const QStringList& arguments) {
    const auto parsed = cli::ParseArguments(arguments);
    const auto* print = std::get_if<cli::PrintAndExit>(&parsed);
    return print ? print->text.toStdString() : "(nothing printed)";
}

TEST(CliArguments, HelpOfOneCommand) {
    struct Case {
        QStringList arguments;
        const char* begins;
    };
    const Case cases[] = {
        {{"help"}, "Usage: qrn4480 [OPTIONS] COMMAND [ARGUMENTS]\n"},
        {{"--help", "frob"}, "Usage: qrn4480 [OPTIONS] COMMAND [ARGUMENTS]\n"},
        {{"help", "search"}, "Usage: qrn4480 [OPTIONS] search left|right|both [--seconds S]\nRun the device's"},
        {{"search", "--help"}, "Usage: qrn4480 [OPTIONS] search left|right|both [--seconds S]\nRun the device's"},
        {{"--json", "read", "--help"}, "Usage: qrn4480 [OPTIONS] read N FILE.Fbk\nDevice preset N"},
        {{"help", "set", "--help"},
         "Usage: qrn4480 [OPTIONS] set left|right NOTCH [--freq HZ] [--gain DB] [--width 1/70|1/20|1/10|1/5]\n"
         "       qrn4480 [OPTIONS] set left|right [--auto-count 1-12]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Printed(c.arguments).rfind(c.begins, 0), 0u) << c.arguments.join(' ').toStdString() << "\n"
                                                               << Printed(c.arguments);
    }
    for (const char* command :
         {"ports", "info", "backup", "restore", "read", "store", "load", "save", "get", "set", "search", "help"}) {
        const std::string help = Printed({"help", command});
        EXPECT_EQ(help.rfind(std::string("Usage: qrn4480 [OPTIONS] ") + command, 0), 0u) << help;
        EXPECT_EQ(help.find("Commands:"), std::string::npos) << help;
    }
}

TEST(CliArguments, ValuesSnapOntoTheDevicesGrid) {
    struct Case {
        QStringList arguments;
        int freqCode, gainCode, sensitivity;
    };
    const Case cases[] = {
        {{"set", "left", "12", "--freq", "1000"}, 413, -1, -1},  // 1003 Hz
        {{"set", "left", "12", "--gain", "-6.4"}, -1, 39, -1},
        {{"set", "left", "--sensitivity", "3.4"}, -1, -1, 2},
    };
    for (const auto& c : cases) {
        const auto parsed = cli::ParseArguments(c.arguments);
        ASSERT_TRUE(std::holds_alternative<cli::Invocation>(parsed)) << c.arguments.join(' ').toStdString();
        const auto& set = std::get<cli::SetCommand>(std::get<cli::Invocation>(parsed).command);
        EXPECT_EQ(set.notch.freqCode.value_or(-1), c.freqCode);
        EXPECT_EQ(set.notch.gainCode.value_or(-1), c.gainCode);
        EXPECT_EQ(set.autos.sensitivity.value_or(-1), c.sensitivity);
    }
}

}  // namespace
