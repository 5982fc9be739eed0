// The program itself, as a shell runs it, against the simulated device on a
// pseudo-terminal and over TCP: every command end to end, and Ctrl+C or
// SIGTERM in the middle of a search and of a restore; and bash's completion
// of its command lines.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <functional>

#include "sim/simulator_thread.h"

namespace {

constexpr int kLongestRunMs = 60'000;

struct ProgramRun {
    int exit = -1;
    QString out;
    QString err;
};

QStringList WithPort(const std::string& port, const QStringList& arguments) {
    return QStringList{"--port", QString::fromStdString(port)} + arguments;
}

ProgramRun RunProgram(const QStringList& arguments) {
    QProcess process;
    process.start(QRN_CLI_PROGRAM, arguments);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(kLongestRunMs)) << arguments.join(' ').toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

// Reads what the running program writes until `seen` holds; false when it
// ended first.
bool ReadUntil(QProcess& process, QString& out, const std::function<bool()>& seen) {
    while (!seen()) {
        if (process.state() != QProcess::Running) return false;
        process.waitForReadyRead(kLongestRunMs);
        out += QString::fromUtf8(process.readAllStandardOutput());
    }
    return true;
}

// Standard error comes merged into `out`, so that a trace on it is seen as
// it is written.
ProgramRun SignalWhen(const QStringList& arguments, int signal, const std::function<bool(const QString&)>& when) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QRN_CLI_PROGRAM, arguments);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForStarted(kLongestRunMs));
    ProgramRun run;
    EXPECT_TRUE(ReadUntil(process, run.out, [&] { return when(run.out); })) << run.out.toStdString();
    ::kill(static_cast<pid_t>(process.processId()), signal);
    EXPECT_TRUE(process.waitForFinished(kLongestRunMs));
    run.out += QString::fromUtf8(process.readAllStandardOutput());
    run.exit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CliProgram : public ::testing::Test {
protected:
    void SetUp() override {
        sim::PtyOptions options;
        options.reportIntervalMs = 1;
        std::string error;
        ASSERT_TRUE(simulator.start(options, &error)) << error;
        port = simulator.portPath();
    }
    QString file(const QString& name) const { return QDir(dir.path()).filePath(name); }

    sim::SimulatorThread simulator;
    std::string port;
    QTemporaryDir dir;
};

TEST_F(CliProgram, EachCommandEndToEnd) {
    sim::PtyOptions tcpOptions;
    tcpOptions.tcpPort = 0;
    sim::SimulatorThread network;
    std::string error;
    ASSERT_TRUE(network.start(tcpOptions, &error)) << error;

    struct Case {
        const std::string& port;
        QStringList arguments;
        const char* printed;  // a part of standard output
    };
    const Case cases[] = {
        {port, {"--json", "ports"}, R"({"port":1,"path":")"},
        {port, {"--json", "info"}, R"("program":"SIM 4480","raw_program":"SIM 4480"})"},
        {port, {"set", "left", "12", "--freq", "1000", "--gain", "-6"}, "left 12: 1003 Hz -6 dB 1/10"},
        {port, {"get", "left", "12"}, "left 12: 1003 Hz -6 dB 1/10"},
        {port, {"set", "right", "--auto-count", "2", "--release", "fast"}, "right  auto-count 2  auto-width 1/10"},
        {port, {"save", "@now.Fbk"}, "The current settings saved into"},
        {port, {"store", "9", "Show", "@now.Fbk"}, "stored into position 9 as \"  Show  \""},
        {port, {"read", "9", "@nine.Fbk"}, "Preset 9 read into"},
        {port, {"load", "@nine.Fbk"}, "loaded as the current settings"},
        {port, {"backup", "@all.qrnbak"}, "Backup of 1 preset and"},
        {port,
         {"restore", "@all.qrnbak", "--positions", "9", "--current", "--yes"},
         "09   Show  : Restored and verified"},
        {port, {"--json", "search", "both", "--seconds", "0.3"}, R"({"event":"stopped","reason":"time")"},
        {network.portPath(), {"--json", "get", "right", "2"}, R"({"channel":"right","row":2,)"},
        {network.portPath(), {"--json", "info"}, R"({"position":9,"used":false,"name":"","raw_name":""})"},
    };
    for (const auto& c : cases) {
        QStringList arguments;
        for (const QString& a : c.arguments) arguments << (a.startsWith('@') ? file(a.mid(1)) : a);
        const ProgramRun run = RunProgram(WithPort(c.port, arguments));
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.exit, 0) << name << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(c.printed)) << name << "\n" << run.out.toStdString();
    }
    EXPECT_EQ(FileBytes(file("nine.Fbk")), FileBytes(file("now.Fbk")));
}

TEST_F(CliProgram, CtrlCDuringASearchSendsTheStopFrames) {
    const QString trace = file("search.trace");
    const ProgramRun run = SignalWhen(WithPort(port, {"--json", "--trace", trace, "search", "left"}), SIGINT,
                                      [](const QString& out) { return out.contains("\"notch\""); });
    EXPECT_EQ(run.exit, 0) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(R"({"event":"stopped","reason":"signal","reports":)")) << run.out.toStdString();
    QStringList written;
    for (const QString& line : QString::fromUtf8(FileBytes(trace)).split('\n'))
        if (line.contains(" out ")) written << line.mid(line.indexOf("F0 5B"), 29);
    ASSERT_GE(written.size(), 4);
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(written[written.size() - i].startsWith("F0 5B 0A 00")) << i;
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(written[written.size() - i].endsWith("00 F7")) << i;
}

TEST_F(CliProgram, SigtermDuringARestoreFinishesThePositionInHand) {
    ASSERT_EQ(RunProgram(WithPort(port, {"save", file("p.Fbk")})).exit, 0);
    for (const QString position : {"5", "6", "7", "8"})
        ASSERT_EQ(RunProgram(WithPort(port, {"store", position, "P" + position, file("p.Fbk")})).exit, 0);
    ASSERT_EQ(RunProgram(WithPort(port, {"backup", file("b.qrnbak")})).exit, 0);

    // Every byte: a restore by what differs would write nothing into the device it came from.
    const ProgramRun run =
        SignalWhen(WithPort(port, {"--json", "--trace", "-", "restore", file("b.qrnbak"), "--yes", "--full"}), SIGTERM,
                   [](const QString& out) { return out.contains("WriteMemoryByte"); });
    EXPECT_EQ(run.exit, 5) << run.out.right(400).toStdString();
    const int verified = static_cast<int>(run.out.count("Restored and verified"));
    const int cancelled = static_cast<int>(run.out.count("\"Cancelled\""));
    EXPECT_GE(verified, 1) << run.out.toStdString();
    EXPECT_GE(cancelled, 1) << run.out.toStdString();
    EXPECT_EQ(verified + cancelled, 16) << "nothing half written: " << run.out.toStdString();
}

// What bash offers after Tab, sorted; "@" is a scratch folder holding show.Fbk.
TEST(CliCompletion, BashOffersTheWordsTheProgramTakes) {
    QTemporaryDir dir;
    QFile(dir.filePath("show.Fbk")).open(QIODevice::WriteOnly);
    struct Case {
        const char* line;  // up to the cursor
        const char* offered;
    };
    const Case cases[] = {
        {"qrn4480 ", "backup get help info load ports read restore save search set store"},
        {"qrn4480 --json se", "search set"},
        {"qrn4480 --port 3 search ", "both left right"},
        {"qrn4480 --port /dev/ttyUSB0 get ", "left right"},
        {"qrn4480 get left ", ""},
        {"qrn4480 set left 3 --w", "--width"},
        {"qrn4480 set right --depth ", "fixed variable"},
        {"qrn4480 set right --auto-width 1/1", "1/10"},
        {"qrn4480 ports --a", "--all"},
        {"qrn4480 backup b.qrnbak --f", "--force"},
        {"qrn4480 info --", "--help --json --port --quiet --trace --version"},
        {"qrn4480 help re", "read restore"},
        {"qrn4480 load @sh", "@show.Fbk"},
        {"qrn4480 store 9 Show @", "@show.Fbk"},
        {"qrn4480 store 9 @", ""},
    };
    for (const Case& c : cases) {
        const QString line = QString(c.line).replace("@", dir.path() + "/");
        QString words;
        for (const QString& word : line.split(' ')) words += " '" + word + "'";
        QProcess bash;
        bash.start("bash", {"-c", QString("source '%1'; COMP_WORDS=(%2); COMP_CWORD=%3; _qrn4480; "
                                          "printf '%s\\n' \"${COMPREPLY[@]}\" | sort | paste -sd ' '")
                                      .arg(QRN_BASH_COMPLETION, words)
                                      .arg(line.count(' '))});
        ASSERT_TRUE(bash.waitForFinished(kLongestRunMs));
        const QString offered = QString::fromUtf8(bash.readAllStandardOutput()).trimmed();
        EXPECT_EQ(offered.toStdString(), QString(c.offered).replace("@", dir.path() + "/").toStdString())
            << c.line << "\n"
            << bash.readAllStandardError().toStdString();
    }
}

}  // namespace
