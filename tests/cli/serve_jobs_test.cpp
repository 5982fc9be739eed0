// The remote's requests in `qrn4480 serve`, whose device work runs as jobs
// resumed from the event loop: what a page asks for while a frame waits for
// its reply, and what the program sends when it ends.
#include <gtest/gtest.h>
#include <QtTest/QSignalSpy>

#include "cli/device_target.h"
#include "model/value_tables.h"
#include "support/stepping_link.h"

namespace {

using remote::NotchField;
using testing_support::SteppingLink;

struct ServeRig {
    ServeRig() { std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image.begin()); }
    // The request carried out, a question it asks answered Yes; its refusal.
    std::string carryOut(const remote::Request& request) {
        QSignalSpy asked(&target, &remote::RemoteTarget::question);
        std::string refusal = target.apply(request, 1).toStdString();
        if (!asked.isEmpty())
            refusal += target.apply(remote::AnswerRequest{asked[0][1].toInt(), true}, 1).toStdString();
        return refusal;
    }
    // The command code of every frame written, in order.
    std::vector<int> commands() const {
        std::vector<int> codes;
        for (const auto& frame : line.line.writes) codes.push_back(frame.size() > 2 ? frame[2] : -1);
        return codes;
    }
    void endProgram() {
        target.finish([this] { line.answer(); });
    }

    SteppingLink line;
    model::PresetImage image{};
    cli::DeviceTarget target{line.link, image};
};

std::vector<int> Repeat(std::initializer_list<std::pair<int, int>> runs) {
    std::vector<int> codes;
    for (const auto& [code, count] : runs) codes.insert(codes.end(), count, code);
    return codes;
}

TEST(ServeJobs, WhatAPageAsksForWhileAFrameWaitsAndWhatTheEndSends) {
    const std::string busy =
        "The device is busy copying the left channel to the right. Try again when it has finished.";
    struct Case {
        const char* what;
        std::function<std::vector<std::string>(ServeRig&)> play;  // the refusals, in order
        std::vector<std::string> refusals;
        std::vector<int> commands;
    };
    const std::vector<Case> cases = {
        {"linking while an edit waits holds the device from the answer on",
         [](ServeRig& r) {
             std::vector<std::string> said{r.carryOut(remote::NotchRequest{0, 11, NotchField::Gain, -12}),
                                           r.carryOut(remote::LinkRequest{true}),
                                           r.carryOut(remote::NotchRequest{1, 11, NotchField::Gain, -3}),
                                           r.carryOut(remote::SearchRequest{2, true})};
             r.line.answerAll();
             return said;
         },
         {"", "", busy, busy},
         Repeat({{0x07, 1}, {0x07, 12}, {0x0A, 4}, {0x31, 2}})},
        {"a search released while its start waits, then the end cuts the wait off",
         [](ServeRig& r) {
             std::vector<std::string> said{r.carryOut(remote::SearchRequest{1, true}),
                                           r.carryOut(remote::SearchRequest{1, false})};
             r.endProgram();
             return said;
         },
         {"", ""},
         Repeat({{0x0A, 1}, {0x0A, 4}})},
        {"the end during a search of both channels",
         [](ServeRig& r) {
             std::vector<std::string> said{r.carryOut(remote::SearchRequest{0, true})};
             r.line.answerAll();
             r.endProgram();
             return said;
         },
         {""},
         Repeat({{0x0A, 1}, {0x0A, 2}})},
        {"the end after a search stopped",
         [](ServeRig& r) {
             std::vector<std::string> said{r.carryOut(remote::SearchRequest{2, true}),
                                           r.carryOut(remote::SearchRequest{2, false})};
             r.line.answerAll();
             r.endProgram();
             return said;
         },
         {"", ""},
         Repeat({{0x0A, 1}, {0x0A, 4}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ServeRig rig;
        EXPECT_EQ(c.play(rig), c.refusals);
        EXPECT_FALSE(rig.line.jobs.busy());
        EXPECT_EQ(rig.commands(), c.commands);
        EXPECT_TRUE(rig.line.end.messages.empty());
    }
}

}  // namespace
