// SPDX-License-Identifier: MIT
#include "plot_view.h"

#include "plot_render.h"

#include <QMouseEvent>
#include <QPainter>

namespace cdnozzle {

PlotView::PlotView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void PlotView::setScene(const PlotScene& scene)
{
    scene_ = scene;
    hasScene_ = true;
    update();
}

void PlotView::clearScene()
{
    scene_ = {};
    hasScene_ = false;
    update();
}

QSize PlotView::sizeHint() const
{
    return {377, 185};
}

double PlotView::sceneX(double widgetX) const
{
    const Projection to(scene_, width(), height());
    return to.valid() ? to.sceneX(widgetX) : scene_.left;
}

void PlotView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!hasScene_) {
        const Rgb bg = kPlotBackground;
        painter.fillRect(rect(), QColor(bg.r, bg.g, bg.b));
        return;
    }
    // The projector's caption is drawn with the plot (the window's label
    // shows it otherwise).
    const std::string caption = style_.projector ? caption_.toStdString() : std::string();
    paintDisplayList(painter, drawScene(scene_, width(), height(), lineWidth_, caption, style_));
}

void PlotView::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void PlotView::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) emit clicked();
    QWidget::mouseReleaseEvent(event);
}

void PlotView::mouseMoveEvent(QMouseEvent* event)
{
    if (hasScene_) emit hovered(event->position().x());
    QWidget::mouseMoveEvent(event);
}

void PlotView::leaveEvent(QEvent* event)
{
    emit left();
    QWidget::leaveEvent(event);
}

} // namespace cdnozzle
