#pragma once
// The simulated device, the real editor on the preset image and the preset
// library, as the program holds them after start-up.
#include <algorithm>

#include "editor/parameter_editor.h"
#include "model/preset_library.h"
#include "preset_image_fixture.h"
#include "support/sim_rig.h"

namespace presets_test {

using testing_support::Bytes;

struct PresetRig {
    PresetRig() {
        sim.connect();
        library.resetToFixedOnly();
        image = VariedImage();
        editor.fillFromImage();
        sim.takeWrites();
    }

    // Marks slot k (position k + 5) used in the device and in the list.
    void storeInDevice(int k, const model::PresetImage& block, const std::string& name) {
        for (int m = 0; m < model::kBlockSize; ++m) sim.memory.write(0x0120 + 160 * k + m, block[m]);
        for (int j = 0; j < 8; ++j) sim.memory.write(0x0F20 + 8 * k + j, static_cast<std::uint8_t>(name[j]));
        sim.memory.write(0x0030 + k, 0x55);
        library.used[4 + k] = true;
        library.names[4 + k] = std::u32string(name.begin(), name.end());
    }

    testing_support::SimRig sim;
    model::PresetImage image{};
    model::PresetLibrary library;
    editor::ParameterEditor editor{image, sim.link, sim.dialogs};
};

inline int CountCommand(const std::vector<Bytes>& frames, std::uint8_t code) {
    return static_cast<int>(
        std::count_if(frames.begin(), frames.end(), [code](const Bytes& f) { return f.size() == 10 && f[2] == code; }));
}

}  // namespace presets_test
