// What the program prints: with --json only JSON objects, one a line, with
// the documented fields; a search prints each report as it comes and always
// ends with the stop frames, whether its time ran out or a signal came.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>
#include <map>

#include "cli_rig.h"

using namespace cli_test;

namespace {

std::vector<QJsonObject> JsonLines(const std::string& out, bool* allJson) {
    std::vector<QJsonObject> objects;
    *allJson = true;
    for (const QString& line : QString::fromStdString(out).split('\n', Qt::SkipEmptyParts)) {
        const QJsonDocument document = QJsonDocument::fromJson(line.toUtf8());
        *allJson = *allJson && document.isObject();
        objects.push_back(document.object());
    }
    return objects;
}

// Positions stored in the device, each under the name "P".
void StorePresets(CliRig& rig, const std::vector<int>& positions) {
    ASSERT_EQ(rig.run({"--port", "1", "save", rig.file("p.Fbk")}).exit, 0);
    for (const int position : positions)
        ASSERT_EQ(rig.run({"--port", "1", "store", QString::number(position), "P", rig.file("p.Fbk")}).exit, 0);
}

QStringList InDir(const CliRig& rig, const QStringList& arguments) {
    QStringList out;
    for (const QString& a : arguments) out << (a.startsWith('@') ? rig.file(a.mid(1)) : a);
    return out;
}

std::string Compact(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

TEST(CliOutput, JsonModePrintsOnlyJsonObjectsWithTheirFields) {
    struct Case {
        QStringList arguments;
        std::size_t lines;
        int line;            // the one compared
        const char* object;  // keys in QJsonDocument's order (sorted)
        std::function<void(CliRig&)> setUp = {};
    };
    const auto saved = [](CliRig& rig) { ASSERT_EQ(rig.run({"--port", "1", "save", rig.file("p.Fbk")}).exit, 0); };
    const auto stored = [](CliRig& rig) { StorePresets(rig, {7}); };
    const Case cases[] = {
        {{"get", "left", "12"},
         1,
         0,
         R"({"automatic":false,"channel":"left","freq":247.9,"gain":0,"row":12,"width":"1/10"})"},
        {{"get", "right"},
         13,
         0,
         R"({"auto_count":11,"auto_width":"1/10","channel":"right","depth":"fixed","mode":"sharp","release":"slow","sensitivity":7})"},
        {{"set", "left", "12", "--freq", "1000", "--gain", "-6"},
         1,
         0,
         R"({"automatic":false,"channel":"left","freq":1003,"gain":-6,"row":12,"width":"1/10"})"},
        {{"set", "left", "--auto-count", "3", "--mode", "fast"},
         1,
         0,
         R"({"auto_count":3,"auto_width":"1/10","channel":"left","depth":"fixed","mode":"fast","release":"slow","sensitivity":7})"},
        {{"info"}, 17, 0, R"({"path":"/dev/qrn-sim","port":1,"program":"SIM 4480","raw_program":"SIM 4480"})"},
        {{"info"}, 17, 16, R"({"name":"","position":20,"raw_name":"","used":false})"},
        {{"info"}, 17, 3, R"({"name":"P","position":7,"raw_name":"    P   ","used":true})", stored},
        {{"ports"}, 1, 0, R"({"answers":true,"exists":true,"path":"/dev/qrn-sim","port":1})"},
        {{"save", "@s.Fbk"}, 1, 0, R"({"done":"save","file":"@s.Fbk"})"},
        {{"read", "2", "@r.Fbk"}, 1, 0, R"({"done":"read","file":"@r.Fbk","position":2})"},
        {{"backup", "@b.qrnbak"},
         1,
         0,
         R"({"done":"backup","file":"@b.qrnbak","program":"SIM 4480","raw_program":"SIM 4480","used":0})"},
        {{"set", "left", "1", "--gain", "-6"},
         1,
         0,
         R"({"error":"left 1 belongs to the automatic search (Num notch automatic 11); lower --auto-count first","exit":4})"},
        {{"frob"}, 1, 0, R"({"error":"Unknown command \"frob\"\nTry: qrn4480 --help","exit":2})"},
        {{"store", "7", "P", "@p.Fbk"},
         1,
         0,
         R"({"done":"store","file":"@p.Fbk","name":"P","outcome":"Stored and verified","position":7,"raw_name":"    P   ","skipped":0,"written":168})",
         saved},
        {{"store", "7", "P", "@p.Fbk"},
         1,
         0,
         R"({"done":"store","file":"@p.Fbk","name":"P","outcome":"Stored and verified","position":7,"raw_name":"    P   ","skipped":168,"written":0})",
         stored},
        {{"store", "7", "P", "@p.Fbk", "--full"},
         1,
         0,
         R"({"done":"store","file":"@p.Fbk","name":"P","position":7,"raw_name":"    P   ","skipped":0,"written":168})",
         stored},
        {{"restore", "@b", "--yes", "--positions", "7"},
         1,
         0,
         R"({"name":"P","outcome":"Restored and verified","position":7,"raw_name":"    P   ","skipped":168,"used":true,"written":0})",
         [](CliRig& rig) {
             StorePresets(rig, {7});
             ASSERT_EQ(rig.run({"--port", "1", "backup", rig.file("b")}).exit, 0);
         }},
    };
    for (const auto& c : cases) {
        CliRig rig;
        if (c.setUp) c.setUp(rig);
        QStringList arguments = {"--json", "--port", "1"};
        for (const QString& a : c.arguments) arguments << (a.startsWith('@') ? rig.file(a.mid(1)) : a);
        const CliRun run = rig.run(arguments);
        bool allJson = false;
        const auto objects = JsonLines(run.out, &allJson);
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_TRUE(allJson) << name << "\n" << run.out;
        ASSERT_EQ(objects.size(), c.lines) << name << "\n" << run.out;
        EXPECT_EQ(Compact(objects[c.line]), QString(c.object).replace("@", rig.dir.path() + "/").toStdString()) << name;
    }
}

TEST(CliOutput, TextsSayWhatWasDone) {
    struct Case {
        const char* name;
        QStringList arguments;
        const char* out;  // a part of standard output; "@" is the test's folder
        int lines;
        std::function<void(CliRig&)> setUp = {};
    };
    const auto onlySomePortsExist = [](CliRig& rig) {
        rig.portExists = [](const std::string& path) { return path == "/dev/qrn-sim" || path == "/dev/silent3"; };
    };
    const Case cases[] = {
        {"backup of none", {"backup", "@b"}, "Backup of 0 presets and the current settings written to @b\n", 1},
        {"backup of one",
         {"backup", "@b"},
         "Backup of 1 preset and the current settings written to @b\n",
         1,
         [](CliRig& rig) { StorePresets(rig, {9}); }},
        {"backup of two",
         {"backup", "@b"},
         "Backup of 2 presets and",
         1,
         [](CliRig& rig) {
             StorePresets(rig, {5, 20});
         }},
        {"backup over a file, asked for",
         {"backup", "@b", "--force"},
         "Backup of 0 presets and the current settings written to @b\n",
         1,
         [](CliRig& rig) {
             ASSERT_EQ(rig.run({"--port", "1", "backup", rig.file("b")}).exit, 0);
         }},
        {"ports that exist",
         {"ports"},
         " 1 /dev/qrn-sim exists QRN4480 answers\n 3 /dev/silent3 exists\n",
         2,
         onlySomePortsExist},
        {"every port", {"ports", "--all"}, " 2 /dev/silent2 missing\n 3 /dev/silent3 exists\n", 35, onlySomePortsExist},
        {"a port asked for", {"--port", "2", "ports"}, " 2 /dev/silent2 missing\n", 1, onlySomePortsExist},
        {"a long name as the device holds it",
         {"store", "9", "A very long name", "@p.Fbk"},
         "@p.Fbk stored into position 9 as \"A very l\": 168 bytes written, 0 skipped, Stored and verified\n",
         1,
         [](CliRig& rig) { StorePresets(rig, {}); }},
        {"a short name centred",
         {"--json", "store", "9", "Show", "@p.Fbk"},
         R"("name":"Show","raw_name":"  Show  ")",
         1,
         [](CliRig& rig) { StorePresets(rig, {}); }},
    };
    for (const auto& c : cases) {
        CliRig rig;
        if (c.setUp) c.setUp(rig);
        const CliRun run = rig.run(InDir(rig, c.arguments));
        EXPECT_EQ(run.exit, 0) << c.name << "\n" << run.err;
        const std::string expected = QString(c.out).replace("@", rig.dir.path() + "/").toStdString();
        EXPECT_NE(run.out.find(expected), std::string::npos) << c.name << "\n" << run.out;
        EXPECT_EQ(QString::fromStdString(run.out).count('\n'), c.lines) << c.name << "\n" << run.out;
    }
}

// At a terminal each progress line counts up to a total that stays put,
// never says the same twice, and speaks of ports.
TEST(CliOutput, ProgressCountsNeverGoBack) {
    const QStringList cases[] = {
        {"backup", "@b", "--force"},
        {"restore", "@b", "--yes"},
        {"store", "7", "Seven", "@p.Fbk"},
        {"load", "@p.Fbk"},
        {"info"},
    };
    for (const QStringList& arguments : cases) {
        CliRig rig;
        StorePresets(rig, {9});
        ASSERT_EQ(rig.run({"--port", "1", "backup", rig.file("b")}).exit, 0);
        rig.stderrIsTerminal = true;
        const CliRun run = rig.run(InDir(rig, arguments));
        const std::string name = arguments.join(' ').toStdString();
        ASSERT_EQ(run.exit, 0) << name << "\n" << run.err;
        EXPECT_EQ(run.err.find("COM"), std::string::npos) << name << "\n" << run.err;
        std::map<QString, std::pair<int, int>> counted;  // per line's label: the last done, the total
        QString previous;
        static const QRegularExpression count("^(.*): (\\d+) of (\\d+)");
        for (const QString& line : QString::fromStdString(run.err).split(QRegularExpression("[\r\n]"))) {
            if (line.isEmpty()) continue;
            EXPECT_NE(line, previous) << name << ": said twice";
            previous = line;
            const auto match = count.match(line);
            EXPECT_TRUE(match.hasMatch() || !line.startsWith("Reading")) << name << ": " << line.toStdString();
            if (!match.hasMatch()) continue;
            const int done = match.captured(2).toInt(), total = match.captured(3).toInt();
            const auto was = counted.try_emplace(match.captured(1), done, total).first;
            EXPECT_GE(done, was->second.first) << name << ": " << line.toStdString();
            EXPECT_EQ(total, was->second.second) << name << ": " << line.toStdString();
            EXPECT_LE(done, total) << name << ": " << line.toStdString();
            was->second.first = done;
        }
        EXPECT_FALSE(counted.empty()) << name << "\n" << run.err;
    }
}

TEST(CliOutput, SearchPrintsReportsAndAlwaysStopsTheDevice) {
    struct Case {
        const char* name;
        QStringList arguments;
        int stopAfterWaits;  // a signal after this many waits; -1: none
        const char* reason;
        int stopFrames;
        int exit = 0;
        const char* error = nullptr;  // the JSON error line after "stopped"
    };
    const Case cases[] = {
        {"time up, one channel", {"search", "right", "--seconds", "1"}, -1, "time", 4},
        {"time up, both", {"search", "both", "--seconds", "0.5"}, -1, "time", 2},
        {"signal", {"search", "left"}, 3, "signal", 4},
        {"signal before the time",
         {"search", "left", "--seconds", "30"},
         3,
         "signal",
         4,
         5,
         R"({"error":"Search stopped (signal) after 0.3 of 30 seconds, 3 reports","exit":5})"},
        {"signal as the time is up", {"search", "both", "--seconds", "0.3"}, 3, "time", 2},
    };
    for (const auto& c : cases) {
        CliRig rig;
        rig.stopRequested = [&rig, &c] { return c.stopAfterWaits >= 0 && rig.waits >= c.stopAfterWaits; };
        QStringList arguments = {"--json", "--port", "1"};
        const CliRun run = rig.run(arguments + c.arguments);
        ASSERT_EQ(run.exit, c.exit) << c.name << run.err;
        bool allJson = false;
        auto objects = JsonLines(run.out, &allJson);
        ASSERT_TRUE(allJson && objects.size() >= 2) << c.name << run.out;
        if (c.error) {
            EXPECT_EQ(Compact(objects.back()), c.error) << c.name;
            objects.pop_back();
        }
        EXPECT_EQ(objects.front()["event"].toString(), "started") << c.name;
        const QJsonObject last = objects.back();
        EXPECT_EQ(last["event"].toString(), "stopped") << c.name;
        EXPECT_EQ(last["reason"].toString(), c.reason) << c.name;
        const int reports = last["reports"].toInt();
        EXPECT_EQ(static_cast<int>(objects.size()) - 2, reports) << c.name;
        EXPECT_GT(reports, 0) << c.name;
        for (std::size_t i = 1; i + 1 < objects.size(); ++i) {
            EXPECT_EQ(objects[i]["event"].toString(), "notch");
            EXPECT_TRUE(objects[i]["state"].toString() == "placed" || objects[i]["state"].toString() == "cleared");
        }
        ASSERT_GE(run.frames.size(), static_cast<std::size_t>(c.stopFrames));
        const Bytes stop = testing_support::Frame({0x0A, 0, 11, 2, 0, 6, 0});
        for (int i = 0; i < c.stopFrames; ++i)
            EXPECT_EQ(Hex(run.frames[run.frames.size() - 1 - static_cast<std::size_t>(i)]), Hex(stop)) << c.name;
        EXPECT_FALSE(rig.sim.device.searching()) << c.name;
    }
}

}  // namespace
