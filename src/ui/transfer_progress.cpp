#include "ui/transfer_progress.h"

#include <QCoreApplication>
#include <QPushButton>

#include "ui/input_refusal.h"

namespace ui {

TransferProgressDialog::TransferProgressDialog(const QString& title, const QString& text, QWidget* parent)
    : QProgressDialog(text, QString(), 0, 1, parent) {
    setObjectName("TransferProgress");
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    setMinimumDuration(0);  // a transfer lasts seconds: show it at once
    setAutoClose(false);
    setAutoReset(false);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("CancelTransfer");
    setCancelButton(cancel);
    TakeInputWhileBusy(cancel);
    setValue(0);
    show();  // before the first frame, so Cancel is there from the start
}

bool TransferProgressDialog::update(int done, int total) {
    setMaximum(total > 0 ? total : 1);
    setValue(done);
    // The link's own waits take no input; this is where Cancel is heard.
    QCoreApplication::processEvents();
    return !wasCanceled();
}

}  // namespace ui
