#pragma once
// One channel's response picture: the 576 x 192 drawing surface with its
// level labels at the right, frequency labels below and a numbered marker
// above each active notch. It grows with the window. The surface keeps its
// curve; painting only shows it. Hovering shows the curve's frequency and
// level in the pointer's column; clicking a marker asks for its notch's row.
#include <QWidget>
#include <vector>

#include "editor/graph_painting.h"
#include "notch/graph_canvas.h"
#include "notch/notch_arrays.h"
#include "notch/response.h"

namespace editor {

class ResponseGraph final : public QWidget {
    Q_OBJECT
public:
    explicit ResponseGraph(QWidget* parent = nullptr);

    // Clears the picture and draws the channel's whole curve; every notch
    // of the channel below 0 dB gets its marker.
    void drawCurve(const notch::ResponseTables& tables, const notch::NotchArrays& sent, int channel);

    const notch::GraphCanvas& canvas() const { return canvas_; }
    const std::vector<GraphMarker>& markers() const { return markers_; }
    // Where the picture's pixel (0, 0) lies in the widget.
    QPoint pictureOrigin() const;
    // Where the marker of notch n is drawn (empty when it has none).
    QRect markerRect(int n) const;
    // What hovering at a point shows: the curve in that column ("Left at
    // 1003 Hz: -12.0 dB") over the picture, the notch over its marker,
    // nothing elsewhere.
    QString pointerText(QPoint at) const;
    QSize sizeHint() const override;
    // Smaller than natural on a small screen: the picture is then drawn
    // to scale.
    QSize minimumSizeHint() const override;

signals:
    void markerClicked(int n);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    GraphGeometry geometry() const;
    const GraphMarker* markerAt(QPoint at) const;

    notch::GraphCanvas canvas_;
    GraphLevels levels_{};
    std::vector<GraphMarker> markers_;
    int channel_ = 0;
};

}  // namespace editor
