#pragma once
// One channel's response picture: the 576 x 192 drawing surface with its
// dB labels at the right and frequency labels below. The surface keeps its
// curve; painting only shows it.
#include <QWidget>

#include "notch/graph_canvas.h"
#include "notch/response.h"

namespace editor {

class ResponseGraph final : public QWidget {
    Q_OBJECT
public:
    explicit ResponseGraph(QWidget* parent = nullptr);

    // Clears the picture and draws the channel's whole curve.
    void drawCurve(const notch::ResponseTables& tables, int channel);

    const notch::GraphCanvas& canvas() const { return canvas_; }
    // Where the picture's pixel (0, 0) lies in the widget.
    QPoint pictureOrigin() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    notch::GraphCanvas canvas_;
};

}  // namespace editor
