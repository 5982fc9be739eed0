#pragma once
// A notch row and a channel's automatic settings as the program prints
// them: a line of text with the editor's words, or a JSON object whose words
// are the ones `set` takes back.
#include <QString>

#include "cli/json_line.h"
#include "model/preset_image.h"

namespace cli {

QString ChannelName(int channel);  // "left", "right"

struct PrintedLine {
    QString text;
    JsonLine json;
};

// Notch n (0..23) of the image; automatic when its row belongs to the
// channel's automatic search.
PrintedLine NotchLine(const model::PresetImage& image, int n);
PrintedLine ChannelSettingsLine(const model::PresetImage& image, int channel);

}  // namespace cli
