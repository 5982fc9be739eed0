// Every failure kind ends with its own exit code and says why; a usage error
// or a value out of range is found before any port is opened, and a refusal
// that needs the device sends nothing but reads.
#include <gtest/gtest.h>

#include <QFile>

#include "cli_rig.h"
#include "model/value_tables.h"

using namespace cli_test;

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray DefaultPresetFile() {
    QByteArray bytes(reinterpret_cast<const char*>(model::DefaultImage.data()), model::kBlockSize);
    return bytes + QByteArray(1, '\0');
}

bool OnlyReads(const std::vector<Bytes>& frames) {
    for (const Bytes& f : frames)
        if (f[2] != 0x00 && f[2] != 0x0B && f[2] != 0x10) return false;
    return true;
}

TEST(CliExitCodes, EachFailureKindHasItsCode) {
    struct Case {
        const char* name;
        QStringList arguments;
        int exit;
        const char* says;  // on standard error
        std::function<void(CliRig&)> setUp = {};
        bool opensPort = true;
    };
    const Case cases[] = {
        {"done", {"--port", "1", "get", "left", "1"}, 0, ""},
        {"unknown command", {"frob"}, 2, "Unknown command \"frob\"", {}, false},
        {"unknown option", {"info", "--colour"}, 2, "Unknown option --colour", {}, false},
        {"missing argument", {"read", "7"}, 2, "read: wrong number of arguments", {}, false},
        {"gain out of range",
         {"set", "left", "12", "--gain", "5"},
         4,
         "--gain must be a number from -45 to 0",
         {},
         false},
        {"port number out of range",
         {"--port", "36", "info"},
         4,
         "--port must be a whole number from 1 to 35",
         {},
         false},
        {"automatic row",
         {"--port", "1", "set", "left", "11", "--gain", "-6"},
         4,
         "left 11 belongs to the automatic search (Num notch automatic 11)"},
        {"silent port", {"--port", "2", "info"}, 1, "No QRN4480 answers on port 2 (/dev/silent2)"},
        {"missing port",
         {"--port", "/nowhere/tty", "info"},
         1,
         "Port 1 (/nowhere/tty) does not exist",
         [](CliRig& rig) { rig.sim.port.refused["/nowhere/tty"] = devlink::PortFault::NotFound; }},
        {"network port refused",
         {"--port", "tcp://127.0.0.1:1", "info"},
         1,
         "Port 1 (tcp://127.0.0.1:1): connection refused\n",
         [](CliRig& rig) {
             rig.sim.port.refused["tcp://127.0.0.1:1"] = devlink::PortFault::NotFound;
             rig.sim.port.refusalTexts["tcp://127.0.0.1:1"] = "connection refused";
         }},
        {"no device anywhere",
         {"info"},
         1,
         "No QRN4480 answers on ports 1 to 35",
         [](CliRig& rig) { rig.sim.device.setMuted(true); }},
        {"device stops answering",
         {"--port", "1", "info"},
         1,
         "Time out",
         [](CliRig& rig) { rig.sim.useFaults({"frame=3:mute"}); }},
        {"preset file missing",
         {"--port", "1", "load", "missing.Fbk"},
         3,
         "missing.Fbk: File not found. Try again.",
         {},
         false},
        {"preset file damaged",
         {"--port", "1", "load", "@damaged.Fbk"},
         4,
         "is damaged",
         [](CliRig& rig) {
             QByteArray bytes = DefaultPresetFile();
             bytes[28] = char(46);  // a gain code beyond 0 dB
             WriteBytes(rig.file("damaged.Fbk"), bytes);
         },
         false},
        {"preset file short",
         {"--port", "1", "store", "7", "A", "@short.Fbk"},
         4,
         "it holds 3 bytes",
         [](CliRig& rig) { WriteBytes(rig.file("short.Fbk"), "abc"); },
         false},
        {"name not storable",
         {"--port", "1", "store", "7", "\u6F14", "@good.Fbk"},
         4,
         "The name holds a character the device cannot store.",
         [](CliRig& rig) { WriteBytes(rig.file("good.Fbk"), DefaultPresetFile()); },
         false},
        {"a byte that reads back otherwise",
         {"--port", "1", "store", "7", "A", "@good.Fbk"},
         1,
         "The device holds something else after writing",
         [](CliRig& rig) {
             WriteBytes(rig.file("good.Fbk"), DefaultPresetFile());
             rig.sim.device.setMemoryWriteObserver([&rig](int address) {
                 if (address == 0x0260 + 20) rig.sim.memory.write(address, 0xFF);
             });
         }},
        {"a restore that reads back otherwise",
         {"--port", "1", "restore", "@b.qrnbak", "--yes", "--positions", "7"},
         1,
         "The device holds something else after writing",
         [](CliRig& rig) {
             WriteBytes(rig.file("good.Fbk"), DefaultPresetFile());
             ASSERT_EQ(rig.run({"--port", "1", "store", "7", "A", rig.file("good.Fbk")}).exit, 0);
             ASSERT_EQ(rig.run({"--port", "1", "backup", rig.file("b.qrnbak")}).exit, 0);
             // A byte that keeps the other value, whatever is written.
             const auto flip = [&rig] { rig.sim.memory.write(0x0260 + 20, rig.sim.memory.read(0x0260 + 20) ^ 1); };
             flip();
             rig.sim.device.setMemoryWriteObserver([flip](int address) {
                 if (address == 0x0260 + 20) flip();
             });
         }},
        {"save into no folder", {"--port", "1", "save", "/nowhere/x.Fbk"}, 3, "The preset could not be saved as"},
        {"empty position", {"--port", "1", "read", "6", "@x.Fbk"}, 4, "6: Preset empty"},
        {"backup file missing", {"--port", "1", "restore", "nothing.qrnbak", "--yes"}, 3, "nothing.qrnbak", {}, false},
        {"backup file foreign",
         {"--port", "1", "restore", "@foreign.qrnbak", "--yes"},
         4,
         "foreign.qrnbak",
         [](CliRig& rig) { WriteBytes(rig.file("foreign.qrnbak"), DefaultPresetFile()); },
         false},
        {"restore unconfirmed",
         {"--port", "1", "restore", "@b.qrnbak"},
         4,
         "add --yes",
         [](CliRig& rig) {
             ASSERT_EQ(rig.run({"--port", "1", "backup", rig.file("b.qrnbak")}).exit, 0);
         },
         false},
        {"restore answered no",
         {"--port", "1", "restore", "@b.qrnbak"},
         4,
         "Nothing was written",
         [](CliRig& rig) {
             ASSERT_EQ(rig.run({"--port", "1", "backup", rig.file("b.qrnbak")}).exit, 0);
             rig.stdinIsTerminal = true;
             rig.answer = "n";
         },
         false},
        {"trace not writable", {"--port", "1", "--trace", "/nowhere/t.log", "info"}, 3, "/nowhere/t.log", {}, false},
        {"backup over a file",
         {"--port", "1", "backup", "@b.qrnbak"},
         2,
         "b.qrnbak already exists; add --force to replace it\n",
         [](CliRig& rig) { WriteBytes(rig.file("b.qrnbak"), "kept"); },
         false},
        {"backup stopped by a signal",
         {"--port", "1", "backup", "@b.qrnbak"},
         5,
         "Stopped: no backup was written",
         [](CliRig& rig) { rig.stopRequested = [] { return true; }; }},
        {"search stopped before its time",
         {"--port", "1", "search", "both", "--seconds", "30"},
         5,
         "Search stopped (signal) after 0.0 of 30 seconds",
         [](CliRig& rig) { rig.stopRequested = [] { return true; }; }},
        {"search without a time stopped",
         {"--port", "1", "search", "both"},
         0,
         "Search stopped (signal), 0 reports",
         [](CliRig& rig) { rig.stopRequested = [] { return true; }; }},
    };
    for (const auto& c : cases) {
        CliRig rig;
        if (c.setUp) c.setUp(rig);
        QStringList arguments = c.arguments;
        for (QString& a : arguments)
            if (a.startsWith('@')) a = rig.file(a.mid(1));
        const CliRun run = rig.run(arguments);
        EXPECT_EQ(run.exit, c.exit) << c.name << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.name << ": " << run.err;
        EXPECT_EQ(run.opens > 0, c.opensPort) << c.name;
        if (c.exit == 4) {
            EXPECT_TRUE(OnlyReads(run.frames)) << c.name << "\n" << Dump(run.frames);
        }
    }
}

}  // namespace
