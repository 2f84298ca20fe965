// SPDX-License-Identifier: MIT
// A plot area of the window: paints its scene (kept, so the plot survives
// being covered, minimised or resized), reports clicks, the x under the
// mouse, and right clicks for the context menu.
#pragma once

#include "panel/view.h"

#include <QWidget>

namespace cdnozzle {

class PlotView : public QWidget {
    Q_OBJECT
  public:
    explicit PlotView(QWidget* parent = nullptr);

    void setScene(const PlotScene& scene);
    // Back to an empty plot (nothing calculated).
    void clearScene();
    const PlotScene& scene() const { return scene_; }
    bool hasScene() const { return hasScene_; }

    // The italic caption the window shows in the plot's corner ("M",
    // "p/p0"); exported images carry it too.
    void setCaption(const QString& caption) { caption_ = caption; }
    const QString& caption() const { return caption_; }

    // The pens' width in pixels (the window's zoom).
    void setLineWidth(double width)
    {
        lineWidth_ = width;
        update();
    }

    // The projector view: thicker lines, larger texts, as the display list
    // says.
    void setProjector(bool on)
    {
        if (style_.projector == on) return;
        style_.projector = on;
        update();
    }
    bool projector() const { return style_.projector; }
    // How the window's logic draws the plot now (the projector's texts).
    void setStyle(const DrawStyle& style)
    {
        if (style_ == style) return;
        style_ = style;
        update();
    }
    const DrawStyle& style() const { return style_; }

    // The banner of a paused play over the plot's top: its texts make way.
    void setBanner(bool on)
    {
        if (style_.banner == on) return;
        style_.banner = on;
        update();
    }

    // The scene's x at a horizontal widget position.
    double sceneX(double widgetX) const;

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
    PlotScene scene_;
    QString caption_;
    bool hasScene_ = false;
    double lineWidth_ = 1;
    DrawStyle style_;
    bool pressed_ = false;
};

} // namespace cdnozzle
