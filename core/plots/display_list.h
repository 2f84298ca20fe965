// SPDX-License-Identifier: MIT
// A plot scene turned into what a painter draws on a surface of a given
// pixel size: the one projection between scene coordinates and pixels
// (and back, for the values under the cursor), lines cut at the surface's
// edges, which lines are drawn crisp on the pixel grid, their colours and
// widths, the caption's place and font, and the SVG text of it all. The
// window's painter, the page's canvas and both exporters draw these lists,
// so the three cannot differ.
#pragma once

#include "plots/plot_scene.h"
#include "results/station_data.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cdnozzle {

// How a line meets the pixel grid: slanted lines are smoothed; lines along
// an axis are drawn crisp (a painter centres them on a pixel row or column
// and draws them without smoothing).
enum class Crisp { No, Vertical, Horizontal };

struct DisplayLine {
    double x1, y1, x2, y2; // pixels, from the surface's top-left corner
    Rgb color;
    double width; // pixels; a crisp line's is whole
    Crisp crisp;
    // A dashed line's strokes and gaps, in pixels; 0 draws it solid. A
    // second cue besides the colour: the limit flows are dashed.
    double dashOn = 0, dashOff = 0;
    bool dashed() const { return dashOn > 0; }
    bool operator==(const DisplayLine&) const = default;
};

// Where a text stands on its point: its start, its middle or its end.
enum class Align { Left, Center, Right };

struct DisplayText {
    double x, y; // pixels: the point on the text's baseline that align names
    std::string text;
    double size; // pixels
    bool italic;
    Rgb color;
    Align align = Align::Left;
    bool operator==(const DisplayText&) const = default;
};

// How the plots are drawn: as designed, or for a projector (lines three
// pixels wide at scale 1, texts larger); and whether the banner of a play
// that stands still at a limit covers the top of the plot (kBannerBand
// designed pixels), so that the texts there make way for it. The
// projector's texts grow with the plot: given the plot's designed size and
// a share, they are share times the plot's own scale (the smaller of its
// width and height over the designed ones) when that is larger.
struct DrawStyle {
    bool projector = false;
    double textShare = 0;
    double designWidth = 0, designHeight = 0;
    bool banner = false;
    bool operator==(const DrawStyle&) const = default;
};

// The projector view's text shares: a plot among the three, and a plot
// shown alone. At 1920 x 1080 the digits on the axes stand 24 and 36
// pixels tall (a sans font's digits are 0.73 of its size).
inline constexpr double kProjectorTextShare = 2.3, kProjectorAloneTextShare = 1.5;
// A sans font's digit height over its size (DejaVu Sans, Tahoma, Arial:
// 0.73 to 0.72).
inline constexpr double kDigitHeight = 0.72;

// The height the banner takes at the top of the plots, from their top edge,
// in designed pixels (the window's and the page's banner fit in it).
inline constexpr double kBannerBand = 40;

// The rectangle a text covers, in pixels, estimated from the advances of a
// wide sans-serif font (what "MS Sans Serif, Tahoma, sans-serif" falls back
// to) and its ascent and descent; label placement keeps these apart.
struct TextBox {
    double left, top, right, bottom;
    bool intersects(const TextBox& o) const
    {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
};
TextBox textBox(const DisplayText& text);
// A text's advance in pixels, by the same estimate.
double textWidth(std::string_view text, double size, bool bold = false);

// Everything drawn on one surface, in drawing order: the background, the
// lines, then the texts.
struct DisplayList {
    double width = 0, height = 0;
    Rgb background = kPlotBackground;
    std::vector<DisplayLine> lines;
    std::vector<DisplayText> texts;
    // How many of the first lines (the limit flows behind the flow, the
    // frame, the walls) and of the first texts (the values on the axes)
    // stay as they are while only the back pressure moves: a painter may
    // keep them from one step to the next.
    std::size_t steadyLines = 0;
    std::size_t steadyTexts = 0;
    bool operator==(const DisplayList&) const = default;
};

// The linear map between a scene's window and a surface: x and y each on
// their own scale. An empty or non-finite window maps nothing.
class Projection {
  public:
    Projection(const PlotScene& scene, double width, double height);
    bool valid() const { return valid_; }
    double px(double x) const { return (x - left_) * sx_; }
    double py(double y) const { return (y - top_) * sy_; }
    // The scene's abscissa at a horizontal pixel position.
    double sceneX(double px) const { return left_ + px / sx_; }

  private:
    double left_, top_, sx_ = 0, sy_ = 0;
    bool valid_ = false;
};

// The plots as the window is designed (pixels at 96 dots per inch): their
// size on screen and their place on the figure of all three.
struct PlotDesign {
    double width, height;
};
PlotDesign plotDesign(PlotKind plot);
inline constexpr double kFigureGap = 7; // between stacked plots

// The caption a plot carries in its upper-left corner: italic, 11 designed
// pixels high, its baseline 8 pixels in and 19 down.
inline constexpr double kCaptionSize = 11, kCaptionLeft = 8, kCaptionBaseline = 19;

// Draws the scene on a width x height surface. scale is the surface's
// pixels per designed pixel: lines are scale pixels wide (crisp ones
// rounded to whole pixels, at least 1) and the caption, if any, grows with
// it. Lines are cut a line's width beyond the edges, so a line along an
// edge still shows.
DisplayList drawScene(const PlotScene& scene, double width, double height, double scale,
                      std::string_view caption = {}, DrawStyle style = {});

// A limit flow's dashes: strokes of kDashOn designed pixels, gaps of
// kDashOff (times the scale).
inline constexpr double kDashOn = 6, kDashOff = 4;

// Stacks lists top to bottom, gap pixels apart, into one of their width.
DisplayList stack(const std::vector<DisplayList>& lists, double gap);

// The width of exported figures, in pixels: large enough for paper.
inline constexpr double kExportWidth = 1200;

// The band under an exported plot that carries the scenario, in designed
// pixels.
inline constexpr double kStampBand = 16;

// A plot as it is exported: kExportWidth wide, in its designed proportions,
// with its caption, and the scenario (stamp) on a band under it.
DisplayList exportedPlot(PlotKind plot, const PlotScene& scene, std::string_view caption,
                         DrawStyle style = {}, std::string_view stamp = {});

// The three plots stacked as the window shows them, each exported as above,
// kFigureGap designed pixels apart: the report command's figure.
DisplayList exportedFigure(const PlotScene& geometry, const PlotScene& mach, const PlotScene& third,
                           std::string_view thirdCaption, DrawStyle style = {},
                           std::string_view stamp = {});

// The SVG file of a list: a light-yellow background, the lines grouped by
// colour and width, the texts; numbers to two decimals. UTF-8.
std::string svgText(const DisplayList& list);

} // namespace cdnozzle
