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

namespace {

// The colours of the projector view: every one at least 3:1 against the
// plot's light yellow, also as red-green colour-blind eyes see them.
Rgb projectorColor(SegmentColor color)
{
    switch (color) {
    case SegmentColor::Grid: return {140, 140, 140};
    case SegmentColor::Foreground: return {0, 0, 0};
    case SegmentColor::Red: return {190, 0, 0};
    case SegmentColor::Blue: return {0, 40, 210};
    }
    return {0, 0, 0};
}

// The limit flows behind the flow: a light tint of its colour.
Rgb faintColor(bool projector)
{
    return projector ? Rgb{200, 130, 130} : Rgb{245, 170, 170};
}

constexpr Rgb kTextGrey{70, 70, 70};

double labelSize(LabelRole role)
{
    switch (role) {
    case LabelRole::Tick: return 9;
    case LabelRole::Title: return 10;
    case LabelRole::Marker: return 9;
    case LabelRole::Limit: return 9;
    }
    return 9;
}

Align alignOf(LabelAlign a)
{
    return a == LabelAlign::Center  ? Align::Center
           : a == LabelAlign::Right ? Align::Right
                                    : Align::Left;
}

// A text's width in pixels, estimated for the legend's layout: a sans
// font's letters are about 0.55 of its size wide on average.
double estimatedWidth(std::string_view text, double size)
{
    std::size_t letters = 0;
    for (const char c : text) letters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return 0.55 * size * static_cast<double>(letters);
}

} // namespace

DisplayList drawScene(const PlotScene& scene, double width, double height, double scale,
                      std::string_view caption, DrawStyle style)
{
    DisplayList list;
    list.width = width;
    list.height = height;
    const Projection to(scene, width, height);
    const bool projector = style.projector;
    double textScale = projector ? 1.3 * scale : scale;
    if (projector && style.textShare > 0 && style.designWidth > 0 && style.designHeight > 0)
        textScale = std::max(textScale, style.textShare * std::min(width / style.designWidth,
                                                                   height / style.designHeight));
    if (to.valid()) {
        const double crisp = std::max(1.0, std::round(scale));
        // The projector draws what carries meaning 3 pixels wide at scale 1.
        const double bold = projector ? std::max(1.0, std::round(3 * scale)) : 0;
        auto add = [&](const Segment& s, Rgb color, double smoothWidth, bool reference) {
            double x1 = to.px(s.x1), y1 = to.py(s.y1), x2 = to.px(s.x2), y2 = to.py(s.y2);
            if (!std::isfinite(x1 + y1 + x2 + y2)) return;
            const Crisp kind = s.x1 == s.x2   ? Crisp::Vertical
                               : s.y1 == s.y2 ? Crisp::Horizontal
                                              : Crisp::No;
            double w = kind == Crisp::No ? smoothWidth : crisp;
            if (bold > 0 && s.color != SegmentColor::Grid && !reference) w = bold;
            if (!clip(x1, y1, x2, y2, -w, -w, width + w, height + w)) return;
            list.lines.push_back(
                {x1, y1, x2, y2, color, w, kind, projector && s.kind == SegmentKind::Shock});
        };
        list.lines.reserve(scene.segments.size() + scene.references.size());
        // The steady lines run from the first until a marker (the back
        // pressure) or the flow's own segments.
        bool steady = true;
        for (const Segment& s : scene.references) {
            if (s.kind == SegmentKind::Marker) {
                steady = false;
                add(s, projector ? projectorColor(s.color) : rgbOf(s.color), scale, false);
            } else {
                add(s, faintColor(projector), scale, true);
            }
            if (steady) list.steadyLines = list.lines.size();
        }
        for (std::size_t i = 0; i < scene.segments.size(); ++i) {
            const Segment& s = scene.segments[i];
            add(s, projector ? projectorColor(s.color) : rgbOf(s.color), scale, false);
            steady = steady && i < scene.steadySegments;
            if (steady) list.steadyLines = list.lines.size();
        }
        for (std::size_t i = 0; i < scene.labels.size(); ++i) {
            const SceneLabel& l = scene.labels[i];
            const double x = to.px(l.x) + l.dx * textScale;
            double y = to.py(l.y) + l.dy * textScale;
            if (!std::isfinite(x + y)) continue;
            // Letters as large as the projector's stay on the surface: the
            // baseline at least an ascent from the top and a descent from
            // the bottom.
            const double size = labelSize(l.role) * textScale;
            y = std::max(std::min(y, height - 0.24 * size), 0.76 * size);
            const Rgb color = l.role == LabelRole::Limit
                                  ? (projector ? Rgb{150, 0, 0} : Rgb{190, 80, 80})
                                  : kTextGrey;
            list.texts.push_back({x, y, l.text, size,
                                  l.role == LabelRole::Title || l.role == LabelRole::Marker, color,
                                  alignOf(l.align)});
            if (i < scene.steadyLabels) list.steadyTexts = list.texts.size();
        }
        // The legend: one line at the top right, under the markers.
        const double size = 9 * textScale, sample = 14 * textScale, gap = 4 * textScale;
        double right = width - 4 * textScale;
        const double baseline = 22 * textScale;
        for (auto e = scene.legend.rbegin(); e != scene.legend.rend(); ++e) {
            list.texts.push_back({right, baseline, e->text, size, false, kTextGrey, Align::Right});
            right -= estimatedWidth(e->text, size) + gap;
            const Rgb color = e->faint    ? faintColor(projector)
                              : projector ? projectorColor(e->color)
                                          : rgbOf(e->color);
            const double w = e->faint ? scale : bold > 0 ? bold : scale;
            const double y = baseline - 0.35 * size;
            list.lines.push_back({right - sample, y, right, y, color, w, Crisp::Horizontal,
                                  projector && e->kind == SegmentKind::Shock});
            right -= sample + 2 * gap;
        }
    }
    if (!caption.empty()) {
        list.texts.push_back({kCaptionLeft * scale,
                              kCaptionBaseline * scale,
                              std::string(caption),
                              kCaptionSize * scale,
                              true,
                              {0, 0, 0},
                              Align::Left});
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

DisplayList exportedPlot(PlotKind plot, const PlotScene& scene, std::string_view caption,
                         DrawStyle style, std::string_view stamp)
{
    const PlotDesign d = plotDesign(plot);
    const double scale = kExportWidth / d.width;
    DisplayList list =
        drawScene(scene, kExportWidth, std::round(d.height * scale), scale, caption, style);
    if (!stamp.empty()) {
        // The scenario under the plot, on a band of its own.
        const double band = std::round(kStampBand * scale);
        list.texts.push_back({kCaptionLeft * scale, list.height + band - 5 * scale,
                              std::string(stamp), 9 * scale, false, kTextGrey, Align::Left});
        list.height += band;
    }
    return list;
}

DisplayList exportedFigure(const PlotScene& geometry, const PlotScene& mach, const PlotScene& third,
                           std::string_view thirdCaption, DrawStyle style, std::string_view stamp)
{
    const double scale = kExportWidth / plotDesign(PlotKind::Geometry).width;
    return stack({exportedPlot(PlotKind::Geometry, geometry, "", style),
                  exportedPlot(PlotKind::Mach, mach, "M", style),
                  exportedPlot(PlotKind::Third, third, thirdCaption, style, stamp)},
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
        if (!group || !(group->color == l.color) || group->width != l.width ||
            group->dashed != l.dashed) {
            if (group) svg += "</g>\n";
            svg += "<g stroke=\"" + hex(l.color) + "\" stroke-width=\"" + num(l.width) + "\"";
            if (l.dashed)
                svg += " stroke-dasharray=\"" + num(kDashOn * l.width) + " " +
                       num(kDashOff * l.width) + "\"";
            svg += " fill=\"none\">\n";
            group = &l;
        }
        svg += "<line x1=\"" + num(l.x1) + "\" y1=\"" + num(l.y1) + "\" x2=\"" + num(l.x2) +
               "\" y2=\"" + num(l.y2) + "\"/>\n";
    }
    if (group) svg += "</g>\n";
    for (const DisplayText& t : list.texts) {
        const char* anchor = t.align == Align::Center  ? " text-anchor=\"middle\""
                             : t.align == Align::Right ? " text-anchor=\"end\""
                                                       : "";
        svg += "<text x=\"" + num(t.x) + "\" y=\"" + num(t.y) +
               "\" font-family=\"MS Sans Serif, Tahoma, sans-serif\"" + anchor +
               (t.italic ? " font-style=\"italic\"" : "") + " font-size=\"" + num(t.size) +
               "\" fill=\"" + hex(t.color) + "\">" + escaped(t.text) + "</text>\n";
    }
    return svg + "</svg>\n";
}

} // namespace cdnozzle
