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

DisplayList PlotView::picture() const
{
    if (source_) return source_(width(), height());
    DisplayList empty;
    empty.width = width();
    empty.height = height();
    return empty;
}

QSize PlotView::sizeHint() const
{
    return {377, 185};
}

void PlotView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintDisplayList(painter, picture());
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
    emit hovered(event->position().x());
    QWidget::mouseMoveEvent(event);
}

void PlotView::leaveEvent(QEvent* event)
{
    emit left();
    QWidget::leaveEvent(event);
}

} // namespace cdnozzle
