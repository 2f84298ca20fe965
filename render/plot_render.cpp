// SPDX-License-Identifier: MIT
#include "plot_render.h"

#include "io/file_output.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace cdnozzle {

namespace {

QColor toQColor(Rgb rgb)
{
    return QColor(rgb.r, rgb.g, rgb.b);
}

} // namespace

void paintDisplayList(QPainter& painter, const DisplayList& list, QPointF origin)
{
    painter.save();
    const QRectF area(origin, QSizeF(list.width, list.height));
    painter.fillRect(area, toQColor(list.background));
    painter.setClipRect(area);
    for (const DisplayLine& l : list.lines) {
        painter.setRenderHint(QPainter::Antialiasing, l.crisp == Crisp::No);
        QPen pen(toQColor(l.color));
        pen.setWidthF(l.width);
        pen.setCapStyle(Qt::FlatCap);
        // Qt measures a dash pattern in pen widths.
        if (l.dashed()) pen.setDashPattern({l.dashOn / l.width, l.dashOff / l.width});
        painter.setPen(pen);
        painter.drawLine(origin + QPointF(l.x1, l.y1), origin + QPointF(l.x2, l.y2));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const DisplayText& t : list.texts) {
        QFont font("MS Sans Serif");
        font.setStyleHint(QFont::SansSerif);
        font.setItalic(t.italic);
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(t.size))));
        painter.setFont(font);
        painter.setPen(toQColor(t.color));
        const QString text = QString::fromStdString(t.text);
        const double width = QFontMetricsF(font).horizontalAdvance(text);
        const double shift = t.align == Align::Center  ? width / 2
                             : t.align == Align::Right ? width
                                                       : 0;
        painter.drawText(origin + QPointF(t.x - shift, t.y), text);
    }
    painter.restore();
}

QImage renderImage(const DisplayList& list)
{
    QImage image(std::max(1, static_cast<int>(std::ceil(list.width))),
                 std::max(1, static_cast<int>(std::ceil(list.height))), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintDisplayList(painter, list);
    return image;
}

QByteArray imageBytes(const DisplayList& list, ImageFormat format)
{
    if (format == ImageFormat::Svg) return QByteArray::fromStdString(svgText(list));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    renderImage(list).save(&buffer, "PNG");
    return bytes;
}

std::optional<QString> saveImage(const QString& path, const DisplayList& list, ImageFormat format)
{
    // Encoded in memory first: a failing disk never reaches the encoders.
    const QByteArray bytes = imageBytes(list, format);
    if (bytes.isEmpty()) return QString("the image could not be encoded");
    if (auto failure = saveFile(path.toStdString(), std::string_view(bytes.data(), bytes.size())))
        return QString::fromStdString(*failure);
    return std::nullopt;
}

} // namespace cdnozzle
