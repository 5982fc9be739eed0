#pragma once
// Every control of the editor window, by the name its handlers use. Tests
// and later features reach them here or by object name ("HScroll20_3").
#include <array>

#include "model/value_tables.h"
#include "notch/auto_settings.h"

class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QScrollBar;
class QSlider;
class QWidget;

namespace editor {

class ResponseGraph;
class RowNumber;

// One notch row, n = 12 * channel + row.
struct NotchRowControls {
    RowNumber* number = nullptr;     // 1..12, drawn as the graph's marker while the notch is active
    QLabel* autoMark = nullptr;      // "auto" while the device's search owns the row
    QLineEdit* freqBox = nullptr;    // frequency, typed
    QScrollBar* freqBar = nullptr;   // frequency code 0..729
    QLineEdit* gainBox = nullptr;    // gain in dB, typed
    QScrollBar* gainBar = nullptr;   // gain code 0..45
    QLineEdit* widthText = nullptr;  // width name, shown only
    QScrollBar* widthBar = nullptr;  // width code 0..3
};

// One channel's automatic search settings (settingsFrame).
struct ChannelSettingsControls {
    QGroupBox* settingsFrame = nullptr;
    // HScroll1..HScroll5 and their value texts Label3, Label5, Label6,
    // Label1, Label9, indexed by setting; the Sensitivity entries stay empty.
    std::array<QScrollBar*, 6> spin{};
    std::array<QLabel*, 6> valueText{};
    QSlider* sensitivitySlider = nullptr;
    QLineEdit* sensitivityBox = nullptr;

    QScrollBar* spinOf(notch::AutoSetting s) const { return spin[static_cast<std::size_t>(s)]; }
    QLabel* valueTextOf(notch::AutoSetting s) const { return valueText[static_cast<std::size_t>(s)]; }
};

struct EditorControls {
    QScrollArea* scrollArea = nullptr;
    QHBoxLayout* topRow = nullptr;  // the search and link boxes, the preset's source and title
    QCheckBox* linkBox = nullptr;   // "Link channel Left && Right"
    // "Search Feedback L&&R", "... L", "... R": push buttons that stay down
    // while their search runs; the index is the search selector.
    std::array<QPushButton*, 3> searchButtons{};
    QLabel* searchStatus = nullptr;                           // which search runs, shown only while one does
    QLabel* demoNotice = nullptr;                             // shown only in demo mode
    QLabel* presetSourceLabel = nullptr;                      // where the preset came from
    QLabel* presetTitleLabel = nullptr;                       // the preset's title
    std::array<QGroupBox*, model::kChannels> channelFrame{};  // "Channel Left", "Channel Right"
    std::array<QWidget*, model::kChannels> notchRowsFrame{};  // the channel's twelve notch rows
    std::array<NotchRowControls, model::kNotches> rows{};
    // 0, 1: "Reset Notch Automatic" Left, Right; 2, 3: "Reset Notch Manual".
    std::array<QPushButton*, 4> resetButtons{};
    std::array<ChannelSettingsControls, model::kChannels> settings{};
    std::array<ResponseGraph*, model::kChannels> graphs{};
};

}  // namespace editor
