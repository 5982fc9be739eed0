#include "editor/editor_layout.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>

#include "editor/control_names.h"
#include "editor/elided_label.h"
#include "editor/notch_table.h"
#include "editor/response_graph.h"
#include "editor/search_boxes.h"
#include "editor/settings_frame.h"
#include "model/preset_image.h"

namespace editor {
namespace {

QPushButton* ResetButton(int index) {
    const bool automatic = index < 2;
    const QString caption = automatic ? QStringLiteral("Reset Notch Automatic") : QStringLiteral("Reset Notch Manual");
    auto* button = new QPushButton(caption);
    button->setObjectName(ArrayObjectName("Command1", index));
    button->setAccessibleName(ChannelName(index % 2) + QLatin1Char(' ') + caption);
    return button;
}

QGroupBox* ChannelFrame(int channel, EditorControls& c, QList<QWidget*>& tabOrder) {
    auto* frame = new QGroupBox(QStringLiteral("Channel ") + ChannelName(channel));
    frame->setObjectName(ArrayObjectName("ChannelFrame", channel));
    auto* columns = new QHBoxLayout(frame);
    columns->setContentsMargins(6, 0, 6, 2);
    columns->setSpacing(12);

    // The twelve rows set the channel's height; the graph, the automatic
    // settings and the reset buttons share the column beside them, so no
    // line is spent below the rows.
    auto* left = new QVBoxLayout;
    c.notchRowsFrame[channel] = BuildNotchTable(channel, c.rows);
    left->addWidget(c.notchRowsFrame[channel]);
    left->addStretch(1);
    columns->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    right->setSpacing(2);
    c.graphs[channel] = new ResponseGraph;
    c.graphs[channel]->setObjectName(ArrayObjectName("Picture1", channel));
    c.graphs[channel]->setAccessibleName(ChannelName(channel) + QStringLiteral(" response graph"));
    right->addWidget(c.graphs[channel], 1);  // the graph takes what room the window gives
    auto* buttons = new QHBoxLayout;
    for (const int index : {channel, channel + 2}) {
        c.resetButtons[index] = ResetButton(index);
        buttons->addWidget(c.resetButtons[index]);
    }
    right->addLayout(buttons);
    c.settings[channel].settingsFrame = BuildSettingsFrame(channel, c.settings[channel]);
    right->addWidget(c.settings[channel].settingsFrame);
    columns->addLayout(right, 1);

    for (int k = 0; k < model::kRowsPerChannel; ++k) {
        const NotchRowControls& row = c.rows[model::NotchIndex(channel, k)];
        tabOrder << row.freqBox << row.freqBar << row.gainBox << row.gainBar << row.widthText << row.widthBar;
    }
    tabOrder << c.resetButtons[channel] << c.resetButtons[channel + 2];
    const ChannelSettingsControls& s = c.settings[channel];
    for (const notch::AutoSetting setting : notch::kAutoSettings) {
        if (setting == notch::AutoSetting::Sensitivity)
            tabOrder << s.sensitivitySlider << s.sensitivityBox;
        else
            tabOrder << s.spinOf(setting);
    }
    return frame;
}

}  // namespace

void BuildEditorLayout(QWidget* window, EditorControls& c) {
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    c.scrollArea = new QScrollArea;
    c.scrollArea->setObjectName(QStringLiteral("EditorScrollArea"));
    c.scrollArea->setWidgetResizable(true);
    c.scrollArea->setFrameShape(QFrame::NoFrame);
    // Only a frame around the controls: Tab goes straight to the first of
    // them, and the area still scrolls to whichever has the focus.
    c.scrollArea->setFocusPolicy(Qt::NoFocus);
    outer->addWidget(c.scrollArea);

    auto* content = new QWidget;
    auto* rows = new QVBoxLayout(content);
    rows->setContentsMargins(6, 3, 6, 3);
    rows->setSpacing(2);

    QList<QWidget*> tabOrder;
    c.topRow = new QHBoxLayout;
    BuildSearchAndLinkBoxes(c, tabOrder);
    BuildStatusTexts(c);
    c.topRow->addStretch(1);
    c.presetSourceLabel = new ElidedLabel;
    c.presetSourceLabel->setObjectName(QStringLiteral("Label7"));
    c.presetTitleLabel = new ElidedLabel;
    c.presetTitleLabel->setObjectName(QStringLiteral("Label8"));
    // No room is held for a title that may not come, and both give way to
    // the search status: on a netbook's screen the row must fit beside the
    // search buttons.
    c.topRow->addSpacing(12);
    c.topRow->addWidget(c.presetSourceLabel);
    c.topRow->addSpacing(16);
    c.topRow->addWidget(c.presetTitleLabel);
    rows->addLayout(c.topRow);

    for (int channel = 0; channel < model::kChannels; ++channel) {
        c.channelFrame[channel] = ChannelFrame(channel, c, tabOrder);
        rows->addWidget(c.channelFrame[channel], 1);
    }
    c.scrollArea->setWidget(content);
    for (qsizetype i = 1; i < tabOrder.size(); ++i) QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

}  // namespace editor
