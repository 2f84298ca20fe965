#include "plots/display_list.h"

#include "text/number_text.h"

#include <algorithm>
#include <cmath>

namespace cdnozzle {

Projection::Projection(const PlotScene& scene, double width, double height)
    : left_(scene.left), top_(scene.top)
{
    const double w = scene.right - scene.left;
    const double h = scene.bottom - scene.top;
    valid_ = std::isfinite(w) && std::isfinite(h) && w != 0 && h != 0 && width > 0 && height > 0;
    if (!valid_) return;
    sx_ = width / w;
    sy_ = height / h;
}

PlotDesign plotDesign(PlotKind plot)
{
    // 5655 twips wide; 2775, 2175 and 2415 twips high.
    switch (plot) {
    case PlotKind::Geometry: return {377, 185};
    case PlotKind::Mach: return {377, 145};
    case PlotKind::Third: return {377, 161};
    }
    return {377, 185};
}

namespace {

// Liang-Barsky: cuts the segment to the rectangle; false when nothing of it
// lies inside. In doubles, so far-away points never overflow a painter.
bool clip(double& x0, double& y0, double& x1, double& y1, double left, double top, double right,
          double bottom)
{
    const double dx = x1 - x0, dy = y1 - y0;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - left, right - x0, y0 - top, bottom - y0};
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
    const double ax = x0, ay = y0;
    x0 = ax + t0 * dx;
    y0 = ay + t0 * dy;
    x1 = ax + t1 * dx;
    y1 = ay + t1 * dy;
    return true;
}

} // namespace

DisplayList drawScene(const PlotScene& scene, double width, double height, double scale,
                      std::string_view caption)
{
    DisplayList list;
    list.width = width;
    list.height = height;
    const Projection to(scene, width, height);
    if (to.valid()) {
        const double smooth = scale;
        const double crisp = std::max(1.0, std::round(scale));
        list.lines.reserve(scene.segments.size());
        for (const Segment& s : scene.segments) {
            double x1 = to.px(s.x1), y1 = to.py(s.y1), x2 = to.px(s.x2), y2 = to.py(s.y2);
            if (!std::isfinite(x1 + y1 + x2 + y2)) continue;
            const Crisp kind = s.x1 == s.x2   ? Crisp::Vertical
                               : s.y1 == s.y2 ? Crisp::Horizontal
                                              : Crisp::No;
            const double w = kind == Crisp::No ? smooth : crisp;
            if (!clip(x1, y1, x2, y2, -w, -w, width + w, height + w)) continue;
            list.lines.push_back({x1, y1, x2, y2, rgbOf(s.color), w, kind});
        }
    }
    if (!caption.empty()) {
        list.texts.push_back({kCaptionLeft * scale,
                              kCaptionBaseline * scale,
                              std::string(caption),
                              kCaptionSize * scale,
                              true,
                              {0, 0, 0}});
    }
    return list;
}

DisplayList stack(const std::vector<DisplayList>& lists, double gap)
{
    DisplayList all;
    double top = 0;
    for (const DisplayList& l : lists) {
        all.width = std::max(all.width, l.width);
        for (DisplayLine line : l.lines) {
            line.y1 += top;
            line.y2 += top;
            all.lines.push_back(line);
        }
        for (DisplayText text : l.texts) {
            text.y += top;
            all.texts.push_back(text);
        }
        top += l.height + gap;
    }
    all.height = lists.empty() ? 0 : top - gap;
    return all;
}

DisplayList exportedPlot(PlotKind plot, const PlotScene& scene, std::string_view caption)
{
    const PlotDesign d = plotDesign(plot);
    const double scale = kExportWidth / d.width;
    return drawScene(scene, kExportWidth, std::round(d.height * scale), scale, caption);
}

DisplayList exportedFigure(const PlotScene& geometry, const PlotScene& mach, const PlotScene& third,
                           std::string_view thirdCaption)
{
    const double scale = kExportWidth / plotDesign(PlotKind::Geometry).width;
    return stack({exportedPlot(PlotKind::Geometry, geometry, ""),
                  exportedPlot(PlotKind::Mach, mach, "M"),
                  exportedPlot(PlotKind::Third, third, thirdCaption)},
                 kFigureGap * scale);
}

namespace {

// Two decimals, no trailing zeros, never "-0".
std::string num(double v)
{
    std::string text = formatFixed(std::round(v * 100) / 100, 2);
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";
    return text;
}

std::string hex(Rgb c)
{
    static const char digits[] = "0123456789abcdef";
    std::string out = "#";
    for (const std::uint8_t v : {c.r, c.g, c.b}) {
        out += digits[v >> 4];
        out += digits[v & 15];
    }
    return out;
}

std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

std::string svgText(const DisplayList& list)
{
    const std::string w = num(list.width), h = num(list.height);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
                      "\">\n<title>cdnozzle plot</title>\n<rect width=\"" + w + "\" height=\"" + h +
                      "\" fill=\"" + hex(list.background) + "\"/>\n";
    const DisplayLine* group = nullptr;
    for (const DisplayLine& l : list.lines) {
        if (!group || !(group->color == l.color) || group->width != l.width) {
            if (group) svg += "</g>\n";
            svg += "<g stroke=\"" + hex(l.color) + "\" stroke-width=\"" + num(l.width) +
                   "\" fill=\"none\">\n";
            group = &l;
        }
        svg += "<line x1=\"" + num(l.x1) + "\" y1=\"" + num(l.y1) + "\" x2=\"" + num(l.x2) +
               "\" y2=\"" + num(l.y2) + "\"/>\n";
    }
    if (group) svg += "</g>\n";
    for (const DisplayText& t : list.texts) {
        svg += "<text x=\"" + num(t.x) + "\" y=\"" + num(t.y) +
               "\" font-family=\"MS Sans Serif, Tahoma, sans-serif\"" +
               (t.italic ? " font-style=\"italic\"" : "") + " font-size=\"" + num(t.size) +
               "\" fill=\"" + hex(t.color) + "\">" + escaped(t.text) + "</text>\n";
    }
    return svg + "</svg>\n";
}

} // namespace cdnozzle
