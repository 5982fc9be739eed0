#include "ui/transfer_progress.h"

#include <QPushButton>

namespace ui {

TransferProgressDialog::TransferProgressDialog(const QString& title, const QString& text, QWidget* parent)
    : QProgressDialog(text, QString(), 0, 1, parent) {
    setObjectName("TransferProgress");
    setWindowTitle(title);
    setWindowModality(Qt::NonModal);
    setMinimumDuration(0);  // a transfer lasts seconds: show it at once
    setAutoClose(false);
    setAutoReset(false);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("CancelTransfer");
    setCancelButton(cancel);
    setValue(0);
    show();  // before the first frame, so Cancel is there from the start
}

bool TransferProgressDialog::update(int done, int total) {
    setMaximum(total > 0 ? total : 1);
    setValue(done);
    // Cancel is pressed from the event loop while the job waits.
    return !wasCanceled();
}

}  // namespace ui
