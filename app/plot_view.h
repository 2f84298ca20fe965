// SPDX-License-Identifier: MIT
// A plot area of the window: paints the display list its source gives for
// the widget's size (asked anew at every paint, so the plot survives being
// covered, minimised or resized), reports clicks, the pixel under the mouse,
// and right clicks for the context menu.
#pragma once

#include "plot_render.h"

#include <QWidget>

#include <functional>

namespace cdnozzle {

class PlotView : public QWidget {
    Q_OBJECT
  public:
    explicit PlotView(QWidget* parent = nullptr);

    // What the plot shows on a surface of a width and a height in pixels:
    // the logic's display list for it (the window holds no picture of its
    // own). Nothing but the background without one.
    using Source = std::function<DisplayList(double width, double height)>;
    void setSource(Source source)
    {
        source_ = std::move(source);
        update();
    }
    // The display list the widget paints at its size now.
    DisplayList picture() const;

    QSize sizeHint() const override;

  signals:
    // A left click released inside the plot.
    void clicked();
    // The mouse is over the plot at pixel x (from its left edge).
    void hovered(double px);
    // The mouse has left the plot.
    void left();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    Source source_;
    bool pressed_ = false;
};

} // namespace cdnozzle
