#include "plot_render.h"

#include "file_output.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include <cmath>

namespace cdnozzle {

namespace {

QColor toQColor(Rgb rgb)
{
    return QColor(rgb.r, rgb.g, rgb.b);
}

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

void paintScene(QPainter& painter, const QRectF& target, const PlotScene& scene, double lineWidth)
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
    const QRectF clip = target.adjusted(-lineWidth, -lineWidth, lineWidth, lineWidth);
    painter.save();
    painter.setClipRect(target);
    for (const Segment& s : scene.segments) {
        // Grid, axes and vertical shocks are drawn crisp (and cheaply); the
        // curves and slanted lines smooth.
        painter.setRenderHint(QPainter::Antialiasing, s.x1 != s.x2 && s.y1 != s.y2);
        QPointF a = map(s.x1, s.y1);
        QPointF b = map(s.x2, s.y2);
        if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) ||
            !std::isfinite(b.y()))
            continue;
        if (!clipToRect(a, b, clip)) continue;
        QPen pen(toQColor(rgbOf(s.color)));
        pen.setCosmetic(true);
        pen.setWidthF(lineWidth);
        painter.setPen(pen);
        painter.drawLine(a, b);
    }
    painter.restore();
}

Figure windowFigure(const PlotScene& geometry, const PlotScene& mach, const PlotScene& pressure)
{
    // 5655 twips wide; 2775, 2175 and 2415 twips high; 105 twips apart.
    return {{{&geometry, "", 185}, {&mach, "M", 145}, {&pressure, "p/p0", 161}}, 377, 7};
}

void paintFigure(QPainter& painter, const QRectF& target, const Figure& figure)
{
    if (figure.screenWidth <= 0) return;
    const double scale = target.width() / figure.screenWidth;
    double top = target.top();
    for (const PlotPicture& p : figure.plots) {
        const QRectF area(target.left(), top, target.width(), p.height * scale);
        painter.fillRect(area, toQColor(kPlotBackground));
        paintScene(painter, area, *p.scene, scale);
        if (!p.caption.isEmpty()) {
            QFont font("MS Sans Serif");
            font.setStyleHint(QFont::SansSerif);
            font.setItalic(true);
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(11 * scale))));
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(QPointF(area.left() + 8 * scale, area.top() + 19 * scale), p.caption);
        }
        top += area.height() + figure.gap * scale;
    }
}

int figureHeight(const Figure& figure, int width)
{
    double total = 0;
    for (const PlotPicture& p : figure.plots) total += p.height;
    if (figure.plots.size() > 1) total += figure.gap * static_cast<double>(figure.plots.size() - 1);
    if (figure.screenWidth <= 0) return 1;
    return std::max(1, static_cast<int>(std::lround(width * total / figure.screenWidth)));
}

QImage renderFigure(const Figure& figure, int width)
{
    QImage image(width, figureHeight(figure, width), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintFigure(painter, QRectF(image.rect()), figure);
    return image;
}

QByteArray figureBytes(const Figure& figure, ImageFormat format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == ImageFormat::Png) {
        renderFigure(figure).save(&buffer, "PNG");
        return bytes;
    }
    const int width = kExportWidth;
    const int height = figureHeight(figure, width);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(width, height));
    svg.setViewBox(QRect(0, 0, width, height));
    svg.setTitle("cdnozzle plot");
    svg.setDescription("Convergent-divergent nozzle animation");
    QPainter painter(&svg);
    paintFigure(painter, QRectF(0, 0, width, height), figure);
    painter.end();
    return bytes;
}

std::optional<QString> saveFigure(const QString& path, const Figure& figure, ImageFormat format)
{
    // Encoded in memory first: a failing disk never reaches the encoders.
    const QByteArray bytes = figureBytes(figure, format);
    if (bytes.isEmpty()) return QString("the image could not be encoded");
    if (auto failure = saveFile(path.toStdString(), std::string_view(bytes.data(), bytes.size())))
        return QString::fromStdString(*failure);
    return std::nullopt;
}

} // namespace cdnozzle
