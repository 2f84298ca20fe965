#include "plot_view.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace cdnozzle {

namespace {

QColor toQColor(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

// Liang-Barsky: cuts the segment p0-p1 to the rectangle; false when nothing
// of it lies inside. Done in doubles so that far-away points never reach the
// painter as huge integers.
bool clipToRect(QPointF& p0, QPointF& p1, const QRectF& r)
{
    const double dx = p1.x() - p0.x();
    const double dy = p1.y() - p0.y();
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {p0.x() - r.left(), r.right() - p0.x(), p0.y() - r.top(),
                         r.bottom() - p0.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    const QPointF a = p0;
    p0 = QPointF(a.x() + t0 * dx, a.y() + t0 * dy);
    p1 = QPointF(a.x() + t1 * dx, a.y() + t1 * dy);
    return true;
}

} // namespace

PlotView::PlotView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

void PlotView::setScene(const PlotScene& scene)
{
    scene_ = scene;
    hasScene_ = true;
    update();
}

void PlotView::clearScene()
{
    scene_ = PlotScene{};
    hasScene_ = false;
    update();
}

QSize PlotView::sizeHint() const { return {377, 185}; }

void PlotView::paintScene(QPainter& painter, const QRectF& target, const PlotScene& scene)
{
    const double w = scene.right - scene.left;
    const double h = scene.bottom - scene.top;
    if (!(std::isfinite(w) && std::isfinite(h)) || w == 0 || h == 0) return;
    const double sx = target.width() / w;
    const double sy = target.height() / h;
    auto map = [&](double x, double y) {
        return QPointF(target.left() + (x - scene.left) * sx, target.top() + (y - scene.top) * sy);
    };
    // A little beyond the edges, so lines along an edge still show.
    const QRectF clip = target.adjusted(-1, -1, 1, 1);
    painter.save();
    painter.setClipRect(target);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const Segment& s : scene.segments) {
        QPointF a = map(s.x1, s.y1);
        QPointF b = map(s.x2, s.y2);
        if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) ||
            !std::isfinite(b.y()))
            continue;
        if (!clipToRect(a, b, clip)) continue;
        QPen pen(toQColor(rgbOf(s.color)));
        pen.setCosmetic(true);
        pen.setWidthF(1.0);
        painter.setPen(pen);
        painter.drawLine(a, b);
    }
    painter.restore();
}

void PlotView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(kPlotBackground));
    if (hasScene_) paintScene(painter, QRectF(rect()), scene_);
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

} // namespace cdnozzle
