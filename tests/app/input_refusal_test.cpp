#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/input_refusal.h"

namespace {

void PostClick(QWidget* target) {
    const QPointF at = QPointF(target->rect().center());
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(
            target, new QMouseEvent(type, at, target->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
}

// A click made while long work holds the line is dropped, not acted on after
// it; once the work is over clicks count again. A transfer's Cancel alone
// takes its click during the work.
TEST(InputRefusal, ClicksQueuedDuringTheWorkAreDroppedLaterOnesCount) {
    QWidget window;
    auto* button = new QPushButton("Search Feedback L", &window);
    auto* cancel = new QPushButton("Cancel", &window);
    (new QVBoxLayout(&window))->addWidget(button);
    window.layout()->addWidget(cancel);
    ui::TakeInputWhileBusy(cancel);
    window.show();
    int clicks = 0, cancels = 0;
    QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
    QObject::connect(cancel, &QPushButton::clicked, [&cancels] { ++cancels; });
    {
        ui::InputRefusal refusal;
        PostClick(button);
        PostClick(cancel);
        QCoreApplication::processEvents();
        EXPECT_EQ(cancels, 1);
    }
    EXPECT_EQ(clicks, 0);
    PostClick(button);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1);
}

// A question asked during the work (a box opened after it began) still
// takes its answer.
TEST(InputRefusal, ABoxOpenedDuringTheWorkTakesItsInput) {
    ui::InputRefusal refusal;
    QDialog box;
    auto* yes = new QPushButton("Yes", &box);
    (new QVBoxLayout(&box))->addWidget(yes);
    QObject::connect(yes, &QPushButton::clicked, &box, &QDialog::accept);
    QTimer::singleShot(0, &box, [yes] { PostClick(yes); });
    QTimer::singleShot(2000, &box, &QDialog::reject);  // a refused click would end here instead
    EXPECT_EQ(box.exec(), QDialog::Accepted);
}

}  // namespace
