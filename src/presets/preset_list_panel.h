#pragma once
// The list of preset names both dialogs show: "Memory Preset" above, the
// fixed column of position numbers beside it, one line per position.
#include <QWidget>

#include "model/preset_library.h"

class QLabel;
class QListWidget;

namespace presets {

class PresetListPanel : public QWidget {
    Q_OBJECT
public:
    PresetListPanel(int firstPosition, const QString& toolTip, QWidget* parent = nullptr);

    // Names of positions firstPosition..20 in order, control bytes made
    // visible; the first entry selected.
    void showNames(const model::PresetLibrary& library);
    // The names again after a library action, the same row still chosen.
    void refreshNames(const model::PresetLibrary& library);

    QListWidget* list() const { return list_; }
    QLabel* numberColumn() const { return numbers_; }
    int firstPosition() const { return first_; }
    int rowCount() const { return model::kPresetPositions - first_ + 1; }

private:
    int first_;
    QListWidget* list_;
    QLabel* numbers_;
};

}  // namespace presets
