// Paints a plot scene: the scene's coordinate window mapped linearly onto the
// widget, x and y each on its own scale, segments cut at the edges, thin
// pens in the scene's colours on the light-yellow plot background. The scene
// is kept, so the plot survives being covered, minimised or resized.
#pragma once

#include "plots/plot_scene.h"

#include <QWidget>

class QPainter;

namespace cdnozzle {

class PlotView : public QWidget {
    Q_OBJECT
public:
    explicit PlotView(QWidget* parent = nullptr);

    void setScene(const PlotScene& scene);
    void clearScene();
    const PlotScene& scene() const { return scene_; }
    bool hasScene() const { return hasScene_; }

    // Paints a scene into a rectangle of any paint device (widget, image).
    static void paintScene(QPainter& painter, const QRectF& target, const PlotScene& scene);

    QSize sizeHint() const override;

signals:
    // A left click released inside the plot.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    PlotScene scene_;
    bool hasScene_ = false;
    bool pressed_ = false;
};

} // namespace cdnozzle
