#pragma once
// The editor over the simulated device: frames are read back from what the
// device received, questions are answered from a script.
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <memory>
#include <utility>

#include "editor/parameter_editor.h"
#include "support/sim_rig.h"

namespace editor_test {

using testing_support::Bytes;
using testing_support::Frame;
using testing_support::Hex;
using Frames = std::vector<Bytes>;

inline model::PresetImage DefaultPreset() {
    model::PresetImage image{};
    std::copy(model::DefaultImage.begin(), model::DefaultImage.end(), image.begin());
    return image;
}

class EditorRig {
public:
    EditorRig() {
        sim.connect();
        eq = std::make_unique<editor::ParameterEditor>(image, sim.link, sim.dialogs);
    }

    // As after reading a preset from the device: nothing sent.
    void load(const model::PresetImage& preset) {
        image = preset;
        eq->fillFromImage();
        sim.takeWrites();
    }
    void loadDefaults() { load(DefaultPreset()); }
    Frames frames() { return sim.takeWrites(); }
    void link(bool linked) { eq->setChannelsLinked(linked); }

    const editor::NotchRowControls& row(int n) const { return eq->controls().rows.at(n); }
    const editor::ChannelSettingsControls& settings(int c) const { return eq->controls().settings.at(c); }
    QScrollBar* spin(notch::AutoSetting s, int c) const { return settings(c).spinOf(s); }
    template <typename T>
    T* named(const QString& objectName) const {
        return eq->findChild<T*>(objectName);
    }

    // Replaces the box's text by typing, as a user does: select all,
    // delete, type.
    static void type(QLineEdit* box, const QString& text) {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Backspace);
        if (!text.isEmpty()) QTest::keyClicks(box, text);
    }
    static void enter(QLineEdit* box) { QTest::keyClick(box, Qt::Key_Return); }

    // An arrow held down against a slow device: the first frame's reply
    // comes late, and the arrow repeats once while it is awaited.
    void holdArrow(QAbstractSlider* control, QAbstractSlider::SliderAction step) {
        sim.port.linePace = true;
        sim.useFaults({"frame=1:late=400"});
        bool repeated = false;
        sim.port.duringWait = [&] {
            if (!std::exchange(repeated, true)) control->triggerAction(step);
        };
        control->triggerAction(step);
        sim.port.duringWait = nullptr;
    }

    testing_support::SimRig sim;
    model::PresetImage image{};
    std::unique_ptr<editor::ParameterEditor> eq;
};

inline std::string Dump(const Frames& frames) {
    std::string text;
    for (const auto& f : frames) text += Hex(f) + "\n";
    return text;
}

}  // namespace editor_test
