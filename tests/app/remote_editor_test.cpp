// A page's requests carried out by the editor's own controls, against the
// simulated device: the frames the editor sends for the same edit, its undo
// step, its refusals, and its questions asked on the page.
#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QJsonArray>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>

#include "app/editor_remote_target.h"
#include "app/found_notches_window.h"
#include "app/main_window.h"
#include "app/splash_window.h"
#include "cli/device_reads.h"
#include "cli/device_target.h"
#include "editor/parameter_editor.h"
#include "support/sim_rig.h"
#include "ui/qt_user_dialogs.h"

namespace {

using testing_support::Bytes;
using testing_support::Frame;
using testing_support::Hex;

std::string Frames(const std::vector<Bytes>& frames) {
    std::string out;
    for (const Bytes& f : frames) out += Hex(f) + "\n";
    return out;
}

std::string Frames(std::initializer_list<std::initializer_list<std::uint8_t>> payloads) {
    std::vector<Bytes> frames;
    for (const auto& p : payloads) frames.push_back(Frame(p));
    return Frames(frames);
}

class RemoteEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        session.startDir = dir.path();
        session.applicationDir = dir.path();
        window = std::make_unique<app::MainWindow>(session, rig.link, dialogs);
        ASSERT_TRUE(devlink::RunToEnd(window->load(splash)));
        target = std::make_unique<app::EditorRemoteTarget>(*window, session.image, rig.link, dialogs);
        rig.takeWrites();
    }
    editor::ParameterEditor& editor() { return window->editor(); }

    QTemporaryDir dir;
    testing_support::SimRig rig;
    app::RemoteDialogs dialogs{rig.dialogs};
    app::Session session;
    app::SplashWindow splash;
    std::unique_ptr<app::MainWindow> window;
    std::unique_ptr<app::EditorRemoteTarget> target;
};

TEST_F(RemoteEditorTest, EachRequestSendsTheEditorsFramesForTheSameEdit) {
    struct Case {
        const char* what;
        remote::Request request;
        std::string frames;
    };
    const Case cases[] = {
        {"gain of a manual row", remote::NotchRequest{0, 11, remote::NotchField::Gain, -12},
         Frames({{0x07, 0x00, 0x0B, 0x01, 0x0A, 0x02, 0x21}})},
        {"frequency", remote::NotchRequest{1, 11, remote::NotchField::Frequency, 100},
         Frames({{0x07, 0x01, 0x0B, 0x00, 0x64, 0x02, 0x2D}})},
        {"width", remote::NotchRequest{0, 11, remote::NotchField::Width, 0},
         Frames({{0x07, 0x00, 0x0B, 0x01, 0x0A, 0x00, 0x21}})},
        {"the same value again sends nothing", remote::NotchRequest{0, 11, remote::NotchField::Width, 0}, ""},
        {"release speed", remote::SettingRequest{1, notch::AutoSetting::ReleaseSpeed, 1},
         Frames({{0x31, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00}})},
        {"sensitivity", remote::SettingRequest{0, notch::AutoSetting::Sensitivity, 9},
         Frames({{0x0A, 0x01, 0x0B, 0x02, 0x00, 0x09, 0x00}})},
        {"search Left", remote::SearchRequest{1, true}, Frames({{0x0A, 0x01, 0x0B, 0x02, 0x00, 0x09, 0x01}})},
        {"search Left released: the editor's four stops", remote::SearchRequest{1, false},
         Frames({{0x0A, 0x00, 0x0B, 0x02, 0x00, 0x09, 0x00},
                 {0x0A, 0x00, 0x0B, 0x02, 0x00, 0x09, 0x00},
                 {0x0A, 0x00, 0x0B, 0x02, 0x00, 0x09, 0x00},
                 {0x0A, 0x00, 0x0B, 0x02, 0x00, 0x09, 0x00}})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(target->apply(c.request, 1).toStdString(), "") << c.what;
        EXPECT_EQ(Frames(rig.takeWrites()), c.frames) << c.what;
    }
}

TEST_F(RemoteEditorTest, WhatTheEditorRefusesIsRefusedToThePageAndNothingIsSent) {
    struct Case {
        const char* what;
        remote::Request request;
        const char* refusal;
    };
    const Case cases[] = {
        {"a row of the automatic search", remote::NotchRequest{0, 0, remote::NotchField::Gain, -6},
         "Left notch 1 belongs to the automatic search"},
        {"an answer to no question", remote::AnswerRequest{7, true}, "No such question is open"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(target->apply(c.request, 1).toStdString(), c.refusal) << c.what;
        EXPECT_EQ(Frames(rig.takeWrites()), "") << c.what;
    }
    EXPECT_TRUE(target->apply(remote::SearchRequest{0, true}, 1).isEmpty());
    rig.takeWrites();
    EXPECT_EQ(target->apply(remote::NotchRequest{1, 11, remote::NotchField::Gain, -6}, 1).toStdString(),
              "A search is running: stop it first");
    EXPECT_EQ(target->apply(remote::SearchRequest{2, true}, 1).toStdString(), "Another search is running");
    EXPECT_EQ(Frames(rig.takeWrites()), "");
}

TEST_F(RemoteEditorTest, WhileTheExitQuestionIsOpenThePagesStartNothing) {
    QString refusal;
    std::vector<Bytes> sentMeanwhile;
    rig.dialogs.onShow = [&](const ui::Message& m) {
        if (m.title != "Exit") return;
        refusal = target->apply(remote::SearchRequest{1, true}, 1);
        sentMeanwhile = rig.takeWrites();
    };
    rig.dialogs.answers = {ui::Answer::No};
    EXPECT_FALSE(window->close());
    rig.dialogs.onShow = nullptr;
    EXPECT_EQ(refusal.toStdString(), "The editor is closing");
    EXPECT_TRUE(sentMeanwhile.empty());
    EXPECT_EQ(target->apply(remote::SearchRequest{1, true}, 1).toStdString(), "") << "No keeps it open: it works again";
    EXPECT_EQ(Frames(rig.takeWrites()), Frames({{0x0A, 0x01, 0x0B, 0x02, 0x00, 0x06, 0x01}}));
}

TEST_F(RemoteEditorTest, ARemoteEditIsAnUndoStepOfTheEditor) {
    ASSERT_TRUE(target->apply(remote::NotchRequest{0, 11, remote::NotchField::Gain, -12}, 1).isEmpty());
    EXPECT_EQ(editor().controls().rows[11].gainBar->value(), 33);
    rig.takeWrites();
    editor().undoStack().undo();
    EXPECT_EQ(editor().controls().rows[11].gainBar->value(), 45);
    EXPECT_EQ(Frames(rig.takeWrites()), Frames({{0x07, 0x00, 0x0B, 0x01, 0x0A, 0x02, 0x2D}}));
}

TEST_F(RemoteEditorTest, TheLinkQuestionIsAskedOnThePageAndItsYesLinks) {
    ASSERT_TRUE(target->apply(remote::NotchRequest{0, 11, remote::NotchField::Gain, -12}, 1).isEmpty());
    rig.takeWrites();
    QSignalSpy asked(target.get(), &remote::RemoteTarget::question);

    EXPECT_TRUE(target->apply(remote::LinkRequest{true}, 4).isEmpty());
    ASSERT_EQ(asked.count(), 1);
    EXPECT_EQ(asked[0][0].toInt(), 4);
    EXPECT_EQ(asked[0][2].toString(), "Link Left & Right");
    EXPECT_TRUE(rig.dialogs.shown.empty()) << "no box on the laptop";
    EXPECT_FALSE(editor().flags().channelsLinked);
    EXPECT_EQ(Frames(rig.takeWrites()), "");

    const int id = asked[0][1].toInt();
    EXPECT_EQ(target->apply(remote::AnswerRequest{id, true}, 5).toStdString(), "No such question is open")
        << "another page cannot answer it";
    EXPECT_TRUE(target->apply(remote::AnswerRequest{id, true}, 4).isEmpty());
    EXPECT_TRUE(editor().flags().channelsLinked);
    const std::vector<Bytes> copy = rig.takeWrites();
    EXPECT_FALSE(copy.empty());
    EXPECT_EQ(model::ReadNotchRecord(session.image, 23).gain, 33) << "Left copied onto Right";

    // Linked, an edit of one channel is the editor's mirrored pair.
    ASSERT_TRUE(target->apply(remote::NotchRequest{1, 11, remote::NotchField::Gain, -6}, 4).isEmpty());
    EXPECT_EQ(Frames(rig.takeWrites()),
              Frames({{0x07, 0x01, 0x0B, 0x01, 0x0A, 0x02, 0x27}, {0x07, 0x00, 0x0B, 0x01, 0x0A, 0x02, 0x27}}));
}

// A question the device waits on (whose settings to keep), asked through
// the program's own boxes: every page is shown it and may answer it, the
// first answer presses the box's own button, and every later one is refused.
TEST_F(RemoteEditorTest, AQuestionTheDeviceWaitsOnIsPutToEveryPageAndTheFirstAnswerIsTaken) {
    struct PageAnswer {
        int page;
        int idOffset;  // from the question's id: another id is no such question
        bool yes;
        const char* refusal;
    };
    struct Case {
        const char* what;
        ui::ChoiceTexts choices;
        const char* pressedHere;  // a button pressed in the box before the pages answer
        std::vector<PageAnswer> answers;
        ui::Answer result;
    };
    const QString kNo = QString::fromLatin1(remote::kNoSuchQuestion);
    const Case cases[] = {
        {"a page's second button; a wrong id and a later page refused",
         {"Send my settings to the device", "Use the device's settings"},
         nullptr,
         {{3, 1, true, remote::kNoSuchQuestion}, {5, 0, false, ""}, {3, 0, true, remote::kNoSuchQuestion}},
         ui::Answer::No},
        {"Yes and No (the kept settings): a page's Yes", {}, nullptr, {{3, 0, true, ""}}, ui::Answer::Yes},
        {"pressed here first: the page's answer comes too late",
         {"Send my settings to the device", "Use the device's settings"},
         "Send my settings to the device",
         {{3, 0, false, remote::kNoSuchQuestion}},
         ui::Answer::Yes},
    };
    ui::QtUserDialogs desktop;
    desktop.setQuestionMirror(target.get());
    const QString connected = target->state().value("status").toString();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ui::Message asked{
            "The device answers again.\n\nWhat differs:\nLeft notch 12: -20 dB here, 0 dB on the device",
            "Reconnected",
            ui::Icon::Exclamation,
            ui::Buttons::YesNo,
            ui::Answer::Yes,
            c.choices,
            "Waiting for an answer"};
        QJsonObject whileOpen;
        std::vector<std::string> refusals;
        QTimer::singleShot(0, [&] {
            whileOpen = target->state();
            const int id = whileOpen.value("question").toObject().value("id").toInt();
            if (c.pressedHere) {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                for (QAbstractButton* b : box ? box->buttons() : QList<QAbstractButton*>())
                    if (b->text() == c.pressedHere) b->click();
            }
            for (const PageAnswer& a : c.answers)
                refusals.push_back(target->apply(remote::AnswerRequest{id + a.idOffset, a.yes}, a.page).toStdString());
        });
        EXPECT_EQ(desktop.show(asked), c.result);

        const QJsonObject question = whileOpen.value("question").toObject();
        EXPECT_GT(question.value("id").toInt(), 0);
        EXPECT_EQ(question.value("title").toString(), "Reconnected");
        EXPECT_EQ(question.value("text").toString(), asked.text);
        EXPECT_EQ(question.value("yes").toString(), c.choices.yes.isEmpty() ? "Yes" : c.choices.yes);
        EXPECT_EQ(question.value("no").toString(), c.choices.no.isEmpty() ? "No" : c.choices.no);
        EXPECT_EQ(whileOpen.value("status").toString(), "Waiting for an answer") << "not Connected";
        std::vector<std::string> expected;
        for (const PageAnswer& a : c.answers) expected.emplace_back(a.refusal);
        EXPECT_EQ(refusals, expected);
        EXPECT_TRUE(target->state().value("question").isNull()) << "every page's copy closes";
        EXPECT_EQ(target->state().value("status").toString(), connected);
        EXPECT_EQ(target->apply(remote::AnswerRequest{question.value("id").toInt(), true}, 3), kNo);
    }
}

// What reached the device for one request, any question it asked and its
// refusal, the question answered Yes on the page that asked.
std::string CarryOut(remote::RemoteTarget& target, testing_support::SimRig& rig, const remote::Request& request) {
    QSignalSpy asked(&target, &remote::RemoteTarget::question);
    std::string out = target.apply(request, 3).toStdString() + "\n";
    if (!asked.isEmpty()) {
        out += asked[0][2].toString().toStdString() + ": " + asked[0][3].toString().toStdString() + "\n";
        out += target.apply(remote::AnswerRequest{asked[0][1].toInt(), true}, 3).toStdString() + "\n";
    }
    return out + Frames(rig.takeWrites());
}

TEST_F(RemoteEditorTest, TheCommandLineServerSendsTheEditorsFramesForEveryRequest) {
    testing_support::SimRig serveRig;
    serveRig.connect();
    model::PresetImage serveImage{};
    ASSERT_TRUE(devlink::RunToEnd(cli::ReadCurrentSettings(serveRig.link, serveImage)));
    cli::DeviceTarget serveTarget(serveRig.link, serveImage);
    serveRig.takeWrites();

    using notch::AutoSetting;
    using remote::NotchField;
    const struct {
        const char* what;
        remote::Request request;
    } steps[] = {
        {"a manual row's gain", remote::NotchRequest{0, 11, NotchField::Gain, -12}},
        {"the same gain again", remote::NotchRequest{0, 11, NotchField::Gain, -12}},
        {"an automatic row", remote::NotchRequest{1, 0, NotchField::Width, 1}},
        {"a setting of Right", remote::SettingRequest{1, AutoSetting::ReleaseSpeed, 1}},
        {"linking channels that differ asks, then copies", remote::LinkRequest{true}},
        {"a linked frequency", remote::NotchRequest{0, 11, NotchField::Frequency, 100}},
        {"a linked sensitivity", remote::SettingRequest{0, AutoSetting::Sensitivity, 9}},
        {"a linked automatic width", remote::SettingRequest{1, AutoSetting::QNotchAuto, 0}},
        {"a linked automatic count", remote::SettingRequest{0, AutoSetting::NumNotchAuto, 4}},
        {"a linked reset of the manual rows", remote::ResetRequest{0, false}},
        {"a linked reset of the automatic rows", remote::ResetRequest{1, true}},
        {"unlinking", remote::LinkRequest{false}},
        {"linking equal channels asks nothing", remote::LinkRequest{true}},
        {"unlinking again", remote::LinkRequest{false}},
        {"an unlinked width", remote::NotchRequest{1, 11, NotchField::Width, 0}},
        {"a reset of one channel", remote::ResetRequest{1, false}},
        {"a search", remote::SearchRequest{2, true}},
        {"an edit during the search", remote::NotchRequest{0, 11, NotchField::Gain, -3}},
        {"the search released", remote::SearchRequest{2, false}},
    };
    for (const auto& step : steps)
        EXPECT_EQ(CarryOut(serveTarget, serveRig, step.request), CarryOut(*target, rig, step.request)) << step.what;
    EXPECT_EQ(Frames({Bytes(serveImage.begin(), serveImage.begin() + model::kBlockSize)}),
              Frames({Bytes(session.image.begin(), session.image.begin() + model::kBlockSize)}))
        << "both end with the same settings";
}

}  // namespace

TEST_F(RemoteEditorTest, AReportIsFoundInTheEditorsWindowAndOnThePagesOfBothServersAndSavedAsCsv) {
    testing_support::SimRig serveRig;
    serveRig.connect();
    model::PresetImage serveImage{};
    ASSERT_TRUE(devlink::RunToEnd(cli::ReadCurrentSettings(serveRig.link, serveImage)));
    cli::DeviceTarget serveTarget(serveRig.link, serveImage);
    ASSERT_TRUE(target->apply(remote::SearchRequest{1, true}, 1).isEmpty());
    ASSERT_TRUE(serveTarget.apply(remote::SearchRequest{1, true}, 1).isEmpty());
    QSignalSpy changed(target.get(), &remote::RemoteTarget::changed);
    // Left 1 placed, Left 2 placed, then Left 2 deeper (a gain report).
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(rig.deliverReport() && serveRig.deliverReport());
        window->pollSearchReports();
        serveTarget.takeReports();
    }
    EXPECT_GE(changed.count(), 3);

    const app::FoundNotchesWindow& found = window->foundNotches();
    const QJsonArray editorPages = target->state()["found"].toArray();
    const QJsonArray servePages = serveTarget.state()["found"].toArray();
    ASSERT_EQ(found.list()->count(), 3);
    ASSERT_EQ(editorPages.size(), 3);
    ASSERT_EQ(servePages.size(), 3);
    const char* newestFirst[] = {"Left 2 ", "Left 2 ", "Left 1 "};
    for (int i = 0; i < 3; ++i) {
        const QString text = found.list()->item(i)->text();
        EXPECT_EQ(text.mid(9, 7), newestFirst[i]) << text.toStdString();
        EXPECT_EQ(editorPages[i]["text"].toString(), text);
        EXPECT_EQ(editorPages[i]["id"].toInt(), 3 - i);
        EXPECT_EQ(editorPages[i]["row"].toInt(), newestFirst[i][5] - '1');
        // The clocks of two runs may differ by a second; the rest may not.
        EXPECT_EQ(servePages[i]["text"].toString().mid(9), text.mid(9));
        EXPECT_EQ(servePages[i]["id"].toInt(), 3 - i);
    }

    rig.dialogs.fileNames.push_back(dir.path() + "/ring-out");
    QTest::mouseClick(found.saveButton(), Qt::LeftButton);
    QFile csv(dir.path() + "/ring-out.csv");
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "Time,Channel,Notch,Frequency (Hz),Gain (dB)");
    EXPECT_TRUE(lines[1].startsWith(found.list()->item(2)->text().left(8) + ",Left,1,")) << lines[1].toStdString();
    EXPECT_TRUE(lines[3].startsWith(found.list()->item(0)->text().left(8) + ",Left,2,")) << lines[3].toStdString();
    EXPECT_LT(lines[3].section(',', 4).toInt(), lines[2].section(',', 4).toInt()) << "the gain report went deeper";
    EXPECT_EQ(lines[3].section(',', 3, 3), lines[2].section(',', 3, 3)) << "at the frequency it had";

    QTest::mouseClick(found.clearButton(), Qt::LeftButton);
    EXPECT_EQ(found.list()->count(), 0);
    EXPECT_TRUE(target->state()["found"].toArray().isEmpty());
}
