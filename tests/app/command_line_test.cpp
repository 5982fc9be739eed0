#include <gtest/gtest.h>

#include <QProcess>

#include "app/command_line.h"
#include "qrn_version.h"

namespace {

TEST(CommandLine, OptionsAndAPresetFile) {
    const auto parsed = app::ParseCommandLine({"qrn4480-editor", "--simulate", "--ports", "/a::/c", "live.Fbk"});
    const auto* options = std::get_if<app::StartOptions>(&parsed);
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->simulate);
    EXPECT_EQ(options->portList, QString("/a::/c"));
    EXPECT_EQ(options->presetFile, "live.Fbk");
}

TEST(CommandLine, PortsOptionBeatsTheEnvironment) {
    const auto portList = [](const QStringList& arguments) {
        return std::get<app::StartOptions>(app::ParseCommandLine(arguments)).portList;
    };
    qputenv("QRN4480_PORTS", "/env");
    EXPECT_EQ(portList({"e"}), QString("/env"));
    EXPECT_EQ(portList({"e", "--ports", "/opt"}), QString("/opt"));
    EXPECT_FALSE(portList({"e", "--port", "/one"}));
    EXPECT_EQ(std::get<app::StartOptions>(app::ParseCommandLine({"e", "--port", "/one"})).port, QString("/one"));
    qunsetenv("QRN4480_PORTS");
    EXPECT_FALSE(portList({"e"}));
}

TEST(CommandLine, WhatEachArgumentListAsksFor) {
    enum Kind { Start, Print, QtHelp, Wrong };
    struct Case {
        QStringList arguments;
        Kind kind;
        const char* textStart;
    };
    const std::string version = std::string("qrn4480-editor ") + kQrnVersion + "\n";
    const Case cases[] = {
        {{"e"}, Start, ""},
        {{"e", "--demo", "x.Fbk"}, Start, ""},
        {{"e", "--help"}, Print, "Usage: "},
        {{"e", "-h"}, Print, "Usage: "},
        {{"e", "--help-all"}, QtHelp, ""},
        {{"e", "--version"}, Print, version.c_str()},
        {{"e", "--demo", "--help"}, Print, "Usage: "},
        {{"e", "--no-such-option"}, Wrong, "Unknown option 'no-such-option'."},
        {{"e", "--no-such-option", "--help"}, Wrong, "Unknown option 'no-such-option'."},
        {{"e", "--ports"}, Wrong, "Missing value after '--ports'."},
        {{"e", "a.Fbk", "b.Fbk"}, Wrong, "Give at most one preset file."},
        {{"e", "--port", "tcp://127.0.0.1:4480"}, Start, ""},
        {{"e", "--port", "/a", "--ports", "/b"}, Wrong, "Give --port or --ports, not both."},
    };
    for (const Case& c : cases) {
        const auto parsed = app::ParseCommandLine(c.arguments);
        const std::string name = c.arguments.join(' ').toStdString();
        ASSERT_EQ(parsed.index(), static_cast<std::size_t>(c.kind)) << name;
        if (const auto* print = std::get_if<app::PrintAndExit>(&parsed)) {
            EXPECT_TRUE(print->text.startsWith(c.textStart)) << name << ": " << print->text.toStdString();
        }
        if (const auto* wrong = std::get_if<app::UsageError>(&parsed)) {
            EXPECT_EQ(wrong->message.toStdString(), c.textStart) << name;
        }
    }
}

// The programs themselves: help and version on standard output with 0, a
// usage error on standard error with 2, and none of them starts anything.
TEST(CommandLine, ProgramsPrintHelpAndVersionAndRefuseWrongOptions) {
    struct Case {
        const char* program;
        QStringList arguments;
        int exitCode;
        std::string out;
        std::string err;
        bool withoutDisplay = false;  // no window system at all, as on a server
    };
    const std::string version = std::string(" ") + kQrnVersion + "\n";
    const Case cases[] = {
        {QRN_EDITOR_PROGRAM, {"--help"}, 0, "Usage: qrn4480-editor [options] [preset]\n", "", true},
        {QRN_EDITOR_PROGRAM, {"--help-all"}, 0, "-platform", ""},  // Qt's own options
        {QRN_EDITOR_PROGRAM, {"--version"}, 0, "qrn4480-editor" + version, "", true},
        {QRN_EDITOR_PROGRAM, {"--no-such-option"}, 2, "", "Unknown option 'no-such-option'.\n"},
        {QRN_EDITOR_PROGRAM, {"--port"}, 2, "", "Missing value after '--port'.\n"},
        {QRN_SIM_PROGRAM, {"--help"}, 0, "Usage: qrn4480-sim [options]\n", ""},
        {QRN_SIM_PROGRAM, {"--version"}, 0, "qrn4480-sim" + version, ""},
        {QRN_SIM_PROGRAM, {"--no-such-option"}, 2, "", "qrn4480-sim: unknown option '--no-such-option'\n"},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.program) + " " + c.arguments.join(' ').toStdString();
        QProcess process;
        if (c.withoutDisplay) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
            process.setProcessEnvironment(environment);
        }
        process.start(c.program, c.arguments);
        ASSERT_TRUE(process.waitForFinished(30000)) << name;
        const std::string out = process.readAllStandardOutput().toStdString();
        const std::string err = process.readAllStandardError().toStdString();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << name;
        EXPECT_EQ(process.exitCode(), c.exitCode) << name;
        EXPECT_TRUE(c.out.empty() ? out.empty() : out.find(c.out) != std::string::npos) << name << ": " << out;
        // Qt may talk about the platform on standard error; the text itself
        // must not be there.
        EXPECT_TRUE(c.err.empty() ? err.find(c.out) == std::string::npos : err.find(c.err) != std::string::npos)
            << name << ": " << err;
    }
}

}  // namespace
