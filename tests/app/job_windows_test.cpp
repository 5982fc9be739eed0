// Boxes asked for by device work, through Qt's real event loop and the
// desktop's dialog service, with jobs driven from the loop as the editor
// drives them. A job awaits its box, which opens from the event loop;
// other loops opened meanwhile nest as Qt and GLib expect, in whatever
// order the job and they end, and the program's exit then walks only loops
// that are still there (under the address sanitizer too).
#include <gtest/gtest.h>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

#include "devlink/job_runner.h"
#include "devlink/job_wait_port.h"
#include "ui/qt_user_dialogs.h"

namespace {

QMessageBox* OpenBox(const QString& title) {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible() && box->windowTitle() == title)
            return box;
    return nullptr;
}

// Runs `act` from the event loop once `ready` holds; gives up (and ends the
// program's loop) after many turns, so a broken order fails, never hangs.
void WhenReady(std::function<bool()> ready, std::function<void()> act) {
    auto* timer = new QTimer;
    auto turns = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, turns, ready = std::move(ready), act = std::move(act)] {
        if (!ready()) {
            if (++*turns > 100000) {
                timer->deleteLater();
                ADD_FAILURE() << "a step never became ready";
                QCoreApplication::exit(1);
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        act();
    });
    timer->start(0);
}

void Press(const char* title, QMessageBox::StandardButton button) {
    if (QMessageBox* box = OpenBox(title)) box->button(button)->click();
}

TEST(JobWindows, ABoxInsideAJobOpensFromTheLoopAndLoopsEndInOrderWhateverEndsFirst) {
    enum class End { JobThenExit, OtherBoxThenJobThenExit, JobThenOtherBoxThenExit };
    struct Case {
        const char* what;
        End end;
    };
    const Case cases[] = {
        {"the job ends first, then the program exits with the other box still open", End::JobThenExit},
        {"the other box closes first, then the job ends", End::OtherBoxThenJobThenExit},
        {"the job ends, the other box closes, then the program exits", End::JobThenOtherBoxThenExit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QObject loopContext;
        devlink::JobRunner jobs;
        jobs.driveFromLoop(devlink::PostThrough(loopContext));
        ui::QtUserDialogs dialogs;
        dialogs.setJobRunning([&jobs] { return jobs.running(); });
        bool openedInsideJob = true;
        bool answeredYes = false;
        bool jobEnded = false;
        jobs.run([&]() -> devlink::Task<void> {
            std::function<void(std::function<void(ui::Answer)>)> ask = [&](std::function<void(ui::Answer)> reply) {
                const ui::Message question{"Keep the device's settings?", "Job", ui::Icon::None, ui::Buttons::YesNo,
                                           ui::Answer::Yes};
                dialogs.showThen(question, nullptr, std::move(reply));
            };
            const ui::Answer answer = co_await jobs.answer<ui::Answer>(std::move(ask));
            answeredYes = answer == ui::Answer::Yes;
            jobEnded = true;
        });
        ASSERT_FALSE(jobEnded) << "the job waits for its answer";

        // Once the job's box shows: a second box's loop on the main stack,
        // inside which the job is answered and ends.
        WhenReady([] { return OpenBox("Job") != nullptr; },
                  [&] {
                      openedInsideJob = jobs.running();
                      WhenReady([] { return OpenBox("Other") != nullptr; },
                                [&] {
                                    if (c.end == End::OtherBoxThenJobThenExit) Press("Other", QMessageBox::Ok);
                                    Press("Job", QMessageBox::Yes);
                                    WhenReady([&] { return jobEnded; },
                                              [&] {
                                                  if (c.end == End::JobThenOtherBoxThenExit)
                                                      Press("Other", QMessageBox::Ok);
                                                  QCoreApplication::exit(0);
                                              });
                                });
                      dialogs.inform("Another question", "Other", ui::Icon::None);
                  });
        EXPECT_EQ(QCoreApplication::exec(), 0);
        EXPECT_FALSE(openedInsideJob);
        EXPECT_TRUE(jobEnded);
        EXPECT_TRUE(answeredYes);
        EXPECT_FALSE(jobs.busy());
    }
}

}  // namespace
