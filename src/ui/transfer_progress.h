#pragma once
// A long transfer's window: what is done of what is planned, and a Cancel.
// The transfer asks it between two frames whether to go on. It is not
// modal: a modal progress window runs the event loop inside every update,
// that is inside the transfer; the device's commands are locked instead.
#include <QProgressDialog>

namespace ui {

class TransferProgressDialog : public QProgressDialog {
public:
    TransferProgressDialog(const QString& title, const QString& text, QWidget* parent = nullptr);

    // Shows `done` of `total` and says whether to go on. Fits the
    // transfers' progress callbacks.
    bool update(int done, int total);
};

}  // namespace ui
