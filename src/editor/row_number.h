#pragma once
// A notch row's number, 1..12, as the graph's marker shows it: while the
// notch is active (below 0 dB) it is drawn as that marker, in the channel's
// curve colour, so a marker and its row match at a glance; otherwise as
// plain text.
#include <QLabel>

namespace editor {

class RowNumber final : public QLabel {
public:
    RowNumber(int channel, int row, int height, QWidget* parent = nullptr);

    void setActive(bool active);
    bool active() const { return active_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int channel_;
    bool active_ = false;
};

}  // namespace editor
