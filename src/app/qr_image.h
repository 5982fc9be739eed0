#pragma once
// A QR code of a text (a page's address), for a phone's camera.
#include <QImage>
#include <QString>

namespace app {

// Black modules on white with the four-module quiet zone, each module
// `scale` pixels; a null image when the text cannot be encoded.
QImage QrImage(const QString& text, int scale);

}  // namespace app
