#pragma once
// Device menu "Back up device...": where to, then the whole device read with
// progress and Cancel, and the file written only when everything was read.
#include <QDate>
#include <QString>

#include "devlink/device_link.h"
#include "ui/user_dialogs.h"

class QWidget;

namespace presets {

// The status bar's report: where the backup went, or empty when nothing was
// written (cancelled, refused, or the reason already said in a box).
QString BackUpDeviceToFile(devlink::DeviceLink& link, ui::UserDialogs& dialogs, const QString& folder, QWidget* parent);

// "QRN4480 backup 2026-12-08.qrnbak" in `folder`.
QString SuggestedBackupPath(const QString& folder, const QDate& today);

}  // namespace presets
