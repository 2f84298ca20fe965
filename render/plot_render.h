// Painting plot scenes: the scene's coordinate window mapped linearly onto a
// rectangle, x and y each on its own scale, segments cut at the edges, pens
// in the scene's colours on the light-yellow plot background. Used by the
// window, by its image export and by the report command's figures.
#pragma once

#include "plots/plot_scene.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

namespace cdnozzle {

// The segments of a scene, cut to target; lineWidth in device pixels.
void paintScene(QPainter& painter, const QRectF& target, const PlotScene& scene,
                double lineWidth = 1.0);

// One plot of a figure: its scene, the italic caption in its upper-left
// corner ("M", "p/p0" or none) and its height on screen in pixels.
struct PlotPicture {
    const PlotScene* scene;
    QString caption;
    double height;
};

// Plots stacked top to bottom as the window shows them: their on-screen
// width and the gap between them, in screen pixels.
struct Figure {
    std::vector<PlotPicture> plots;
    double screenWidth;
    double gap = 7;
};

// The window's three plots at their designed size (96 DPI).
Figure windowFigure(const PlotScene& geometry, const PlotScene& mach, const PlotScene& pressure);

// Paints the figure into target, scaled as a whole: pens and fonts grow with
// it, so the picture looks as on screen, only larger.
void paintFigure(QPainter& painter, const QRectF& target, const Figure& figure);

// The pixel width of an exported image: large enough for paper.
inline constexpr int kExportWidth = 1200;

// Height for a given width, keeping the on-screen proportions.
int figureHeight(const Figure& figure, int width);

QImage renderFigure(const Figure& figure, int width = kExportWidth);

enum class ImageFormat { Png, Svg };

// The figure as the bytes of a PNG or an SVG file (kExportWidth wide).
QByteArray figureBytes(const Figure& figure, ImageFormat format);

// Writes the figure in the given format, whatever the file is called, the
// way saveFile writes (whole or not at all). Returns the reason on failure
// ("no space left on device", "permission denied").
std::optional<QString> saveFigure(const QString& path, const Figure& figure, ImageFormat format);

} // namespace cdnozzle
