#pragma once
// A long transfer's window: what is done of what is planned, and a Cancel
// that works while the rest of the program refuses input. The transfer asks
// it between two frames whether to go on.
#include <QProgressDialog>

namespace ui {

class TransferProgressDialog : public QProgressDialog {
public:
    TransferProgressDialog(const QString& title, const QString& text, QWidget* parent = nullptr);

    // Shows `done` of `total`, lets a click on Cancel arrive, and says
    // whether to go on. Fits the transfers' progress callbacks.
    bool update(int done, int total);
};

}  // namespace ui
