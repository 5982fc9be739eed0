#pragma once
// Device menu "Back up device...": where to, then the whole device read with
// progress and Cancel, and the file written only when everything was read.
#include <QDate>
#include <QString>
#include <functional>

#include "devlink/device_link.h"
#include "ui/user_dialogs.h"

class QWidget;

namespace presets {

// Asks where to, then reads the whole device as a transfer; the caller goes
// on at once. Once the read is over the file is written and `done` hears
// the status bar's report (where the backup went); it is not called when
// nothing was written (cancelled, refused, or the reason said in a box).
void BackUpDeviceToFile(devlink::DeviceLink& link, ui::UserDialogs& dialogs, const QString& folder, QWidget* parent,
                        std::function<void(const QString& report)> done);

// "QRN4480 backup 2026-12-08.qrnbak" in `folder`.
QString SuggestedBackupPath(const QString& folder, const QDate& today);

}  // namespace presets
