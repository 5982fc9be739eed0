#pragma once
// The run-wide data every window works on, owned once and passed by
// reference: the preset image in the editor and the device's preset list.
#include <QString>

#include "model/preset_image.h"
#include "model/preset_library.h"

namespace app {

struct Session {
    model::PresetImage image{};
    model::PresetLibrary library;
    QString startDir;            // where the program was started: init.cfg
    QString applicationDir;      // the program's own folder: its Preset folder
    QString autosavePath;        // where the settings are kept while running; empty: not kept
    int autosaveDelayMs = 1000;  // from a change to its write (tests shorten it)
};

}  // namespace app
