#pragma once
// While long work holds the line, the window keeps painting but takes no
// input: a click or key made then is dropped, not acted on afterwards (a
// click during a store once started a feedback search after it). A box
// opened during the work (a question, "Time out") still takes its input.
#include <QObject>
#include <QPointer>

class QWidget;

namespace ui {

class InputRefusal final : public QObject {
public:
    InputRefusal();
    // Delivers whatever input is still queued to the refusal, then lets
    // input through again.
    ~InputRefusal() override;
    InputRefusal(const InputRefusal&) = delete;
    InputRefusal& operator=(const InputRefusal&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The modal window open when the work began: input to it is refused
    // too, or its own buttons could start the work again.
    QPointer<QWidget> modalBefore_;
};

// Mouse, wheel, key, touch and tablet events, and shortcuts.
bool IsUserInput(int eventType);

// A control that must work while the line is held, a transfer's Cancel:
// its input passes the refusal. It acts only where the work looks at it
// between two frames.
void TakeInputWhileBusy(QWidget* control);

}  // namespace ui
