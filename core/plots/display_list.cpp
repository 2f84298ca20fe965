// SPDX-License-Identifier: MIT
#include "plots/display_list.h"

#include "plots/palette.h"
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

// Advances of DejaVu Sans (the sans-serif the named fonts fall back to,
// and among the widest), in ems.
double advance(char32_t c)
{
    if (c >= '0' && c <= '9') return 0.637;
    if (c >= 'A' && c <= 'Z') return c == 'I' ? 0.3 : c == 'M' || c == 'W' ? 0.99 : 0.72;
    static constexpr double lower[26] = {
        0.613, 0.635, 0.55,  0.635, 0.615, 0.352, 0.635, 0.634, 0.278, 0.278, 0.579, 0.278, 0.974,
        0.634, 0.612, 0.635, 0.635, 0.411, 0.521, 0.392, 0.634, 0.592, 0.818, 0.592, 0.592, 0.525};
    if (c >= 'a' && c <= 'z') return lower[c - 'a'];
    switch (c) {
    case ' ':
    case '.':
    case ',':
    case ':': return 0.318;
    case '/': return 0.337;
    case '-': return 0.361;
    case '=':
    case '+': return 0.838;
    case '(':
    case ')': return 0.39;
    default: return 0.8; // anything else, generously
    }
}

// The pixels' rectangle of a text's box.
TextBox boxAt(double x, double baseline, double width, double size, Align align)
{
    const double left = align == Align::Center  ? x - width / 2
                        : align == Align::Right ? x - width
                                                : x;
    return {left, baseline - 0.8 * size, left + width, baseline + 0.24 * size};
}

// Labels placed one after another, each kept clear of those placed
// before it (and of what is reserved) and inside the surface.
class Placer {
  public:
    Placer(double width, double height) : width_(width), height_(height) {}
    void reserve(const TextBox& box) { taken_.push_back(box); }
    // Moves a box of the given shape, first sideways into the surface, then
    // up or down by the smallest whole number of pixels (down first when
    // preferDown) to a place where it meets nothing taken, and takes it.
    // Returns the shift (dx, dy); dy is NaN when nowhere is free (the box
    // is then left out, not laid over another).
    std::pair<double, double> place(TextBox box, bool preferDown = false, double minTop = 0)
    {
        double dx = 0;
        if (box.right > width_) dx = width_ - box.right;
        if (box.left + dx < 0) dx = -box.left;
        box.left += dx;
        box.right += dx;
        const int most = static_cast<int>(std::ceil(height_));
        for (int k = 0; k <= most; ++k) {
            for (const int sign : {preferDown ? 1 : -1, preferDown ? -1 : 1}) {
                if (k == 0 && sign != (preferDown ? 1 : -1)) continue;
                const double dy = sign * k;
                const TextBox b{box.left, box.top + dy, box.right, box.bottom + dy};
                if (b.top < std::max(0.0, minTop) || b.bottom > height_) continue;
                if (std::none_of(taken_.begin(), taken_.end(),
                                 [&](const TextBox& t) { return t.intersects(b); })) {
                    taken_.push_back(b);
                    return {dx, dy};
                }
            }
        }
        return {dx, std::nan("")};
    }

    // Brings a box that marks a value inside the surface; then, where it
    // meets something taken, moves it right by the fewest whole pixels (up
    // to a third of the width) to a free place, and takes it. Returns the
    // shift (dx, dy); dx is NaN when nowhere is free (the value is then
    // left out: under the banner's band, or where the texts are too large
    // for the plot).
    std::pair<double, double> fix(TextBox box)
    {
        double dx = 0, dy = 0;
        if (box.right > width_) dx = width_ - box.right;
        if (box.left + dx < 0) dx = -box.left;
        if (box.bottom > height_) dy = height_ - box.bottom;
        if (box.top + dy < 0) dy = -box.top;
        box = {box.left + dx, box.top + dy, box.right + dx, box.bottom + dy};
        for (int k = 0; k <= width_ / 3; ++k) {
            const TextBox b{box.left + k, box.top, box.right + k, box.bottom};
            if (b.right > width_) break;
            if (std::none_of(taken_.begin(), taken_.end(),
                             [&](const TextBox& t) { return t.intersects(b); })) {
                taken_.push_back(b);
                return {dx + k, dy};
            }
        }
        return {std::nan(""), dy};
    }

  private:
    double width_, height_;
    std::vector<TextBox> taken_;
};

} // namespace

double textWidth(std::string_view text, double size, bool bold)
{
    double ems = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        ems += n == 1 ? advance(c) : 0.8;
        i += n;
    }
    return ems * size * (bold ? 1.12 : 1.0);
}

TextBox textBox(const DisplayText& t)
{
    return boxAt(t.x, t.y, textWidth(t.text, t.size), t.size, t.align);
}

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
    const Rgb textColor = paletteColor(PaletteRole::Text);
    Placer placer(width, height);
    // The caption (here, or the window's and the page's label in the same
    // place: room for the widest, "p/p0") and the banner come first. The
    // projector's caption grows with its other texts.
    const double captionScale = projector ? textScale : scale;
    DisplayText captionText{kCaptionLeft * captionScale,
                            kCaptionBaseline * captionScale,
                            std::string(caption.empty() ? "p/p0" : caption),
                            kCaptionSize * captionScale,
                            true,
                            paletteColor(PaletteRole::Caption),
                            Align::Left};
    placer.reserve(textBox(captionText));
    const double bannerBottom = style.banner ? kBannerBand * scale : 0;
    if (style.banner) placer.reserve({0, 0, width, bannerBottom});
    if (to.valid()) {
        const double crisp = std::max(1.0, std::round(scale));
        // The projector draws what carries meaning 3 pixels wide at scale 1.
        const double bold = projector ? std::max(1.0, std::round(3 * scale)) : 0;
        const double flowWidth = bold > 0 ? bold : scale;
        // A shock is drawn heavier than the flow, the limits lighter.
        const double shockWidth = std::max(2.0, std::round((projector ? 5 : 2.5) * scale));
        const double limitWidth = projector ? std::max(1.0, std::round(2 * scale)) : scale;
        const double dashOn = kDashOn * scale, dashOff = kDashOff * scale;
        // A limit curve is a chain of short segments: its dashes are laid
        // along the chain, each piece at most a dash long, so that the
        // pattern runs on from one segment to the next (a renderer dashing
        // each short segment afresh would draw the curve solid).
        double dashPhase = 0, chainX = NAN, chainY = NAN;
        auto addDashes = [&](double x1, double y1, double x2, double y2, Rgb color, double w) {
            if (x1 != chainX || y1 != chainY) dashPhase = 0;
            chainX = x2;
            chainY = y2;
            const double length = std::hypot(x2 - x1, y2 - y1);
            const double period = dashOn + dashOff;
            const auto piece = [&](double a, double b) {
                a /= length;
                b /= length;
                list.lines.push_back({x1 + a * (x2 - x1), y1 + a * (y2 - y1), x1 + b * (x2 - x1),
                                      y1 + b * (y2 - y1), color, w, Crisp::No, dashOn, dashOff});
            };
            if (!(length > 0) || !(period > 0) || length > 1e4 * period) {
                if (length > 0) piece(0, length);
                return;
            }
            // The k-th dash of the pattern runs from k periods after the
            // pattern's start (dashPhase before this segment) for dashOn.
            for (int k = 0; k * period - dashPhase < length; ++k) {
                const double a = std::max(0.0, k * period - dashPhase);
                const double b = std::min(length, k * period - dashPhase + dashOn);
                if (b > a) piece(a, b);
            }
            dashPhase = std::fmod(dashPhase + length, period);
        };
        auto add = [&](const Segment& s, PaletteRole role) {
            double x1 = to.px(s.x1), y1 = to.py(s.y1), x2 = to.px(s.x2), y2 = to.py(s.y2);
            if (s.trueAngle && s.y1 != s.y2 && s.x1 != s.x2) {
                // The direction as it is at one scale for x and y, down to
                // the same height.
                x2 = x1 + std::fabs(y2 - y1) * (s.x2 - s.x1) / std::fabs(s.y2 - s.y1);
            }
            if (!std::isfinite(x1 + y1 + x2 + y2)) return;
            const Crisp kind = x1 == x2   ? Crisp::Vertical
                               : y1 == y2 ? Crisp::Horizontal
                                          : Crisp::No;
            const bool limit = role == PaletteRole::Limit;
            double w = limit                        ? limitWidth
                       : role == PaletteRole::Shock ? shockWidth
                       : role == PaletteRole::Grid  ? (kind == Crisp::No ? scale : crisp)
                       : bold > 0                   ? bold
                       : kind == Crisp::No          ? scale
                                                    : crisp;
            if (!clip(x1, y1, x2, y2, -w, -w, width + w, height + w)) return;
            if (limit && kind == Crisp::No) {
                addDashes(x1, y1, x2, y2, paletteColor(role), w);
                return;
            }
            list.lines.push_back({x1, y1, x2, y2, paletteColor(role), w, kind, limit ? dashOn : 0,
                                  limit ? dashOff : 0});
        };
        auto roleOf = [](const Segment& s) {
            if (s.kind == SegmentKind::Shock) return PaletteRole::Shock;
            switch (s.color) {
            case SegmentColor::Grid: return PaletteRole::Grid;
            case SegmentColor::Foreground: return PaletteRole::Foreground;
            case SegmentColor::Red: return PaletteRole::Flow;
            case SegmentColor::Blue: return PaletteRole::Wave;
            }
            return PaletteRole::Foreground;
        };
        list.lines.reserve(scene.fills.size() + scene.segments.size() + scene.references.size());
        // A band is one vertical stroke as wide as the band, so that a
        // painter needs nothing but lines.
        for (const FillBand& b : scene.fills) {
            const double x = to.px(0.5 * (b.x1 + b.x2)), y1 = to.py(b.y1), y2 = to.py(b.y2);
            const double w = std::fabs(to.px(b.x2) - to.px(b.x1)) + 0.5;
            double cx1 = x, cy1 = y1, cx2 = x, cy2 = y2;
            if (!std::isfinite(x + y1 + y2 + w) ||
                !clip(cx1, cy1, cx2, cy2, -w, -w, width + w, height + w))
                continue;
            list.lines.push_back({cx1, cy1, cx2, cy2, b.color, w, Crisp::No});
        }
        // The steady lines run from the first until a marker (the back
        // pressure) or the flow's own segments.
        bool steady = scene.fills.empty();
        for (const Segment& s : scene.references) {
            if (s.kind == SegmentKind::Marker) {
                steady = false;
                add(s, roleOf(s));
            } else {
                add(s, PaletteRole::Limit);
            }
            if (steady) list.steadyLines = list.lines.size();
        }
        for (std::size_t i = 0; i < scene.segments.size(); ++i) {
            const Segment& s = scene.segments[i];
            add(s, roleOf(s));
            steady = steady && i < scene.steadySegments;
            if (steady) list.steadyLines = list.lines.size();
        }
        // The texts: those that stand where their values are (the values
        // on the axes, the axes' names) first; then those that may make
        // way (the throat and the exit, the limits' labels beside their
        // curves, the back pressure's name), each the least distance from
        // its place; then the legend.
        struct Pending {
            DisplayText text;
            bool movable;
            bool steady;
            bool omitted = false;
        };
        std::vector<Pending> texts;
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
            const Rgb color =
                l.role == LabelRole::Limit ? paletteColor(PaletteRole::Limit) : textColor;
            texts.push_back(
                {{x, y, l.text, size, l.role == LabelRole::Title || l.role == LabelRole::Marker,
                  color, alignOf(l.align)},
                 l.role == LabelRole::Limit || l.role == LabelRole::Marker,
                 i < scene.steadyLabels});
        }
        // A value on an axis keeps its height (or its abscissa): brought
        // inside the surface, and sideways past the caption where it meets
        // it; one the banner would hide is left out while it shows.
        for (Pending& p : texts) {
            if (p.movable) continue;
            const auto [dx, dy] = placer.fix(textBox(p.text));
            p.omitted = std::isnan(dx);
            p.text.x += p.omitted ? 0 : dx;
            p.text.y += dy;
        }
        // Steady ones before moving ones, so that the steady ones keep their
        // places while the back pressure moves.
        for (const bool steadyPass : {true, false}) {
            for (Pending& p : texts) {
                if (!p.movable || p.steady != steadyPass) continue;
                // The throat and the exit go down below the banner; the
                // others up or down, whichever is nearer.
                const bool top = p.text.y < height / 2 && p.steady;
                const auto [dx, dy] = placer.place(textBox(p.text), top, bannerBottom);
                p.omitted = std::isnan(dy);
                p.text.x += dx;
                p.text.y += p.omitted ? 0 : dy;
            }
        }
        for (const Pending& p : texts) {
            if (!p.omitted) list.texts.push_back(p.text);
            if (p.steady) list.steadyTexts = list.texts.size();
        }
        // The legend: one line at the top right, under the markers, or the
        // nearest free height below.
        if (!scene.legend.empty()) {
            const double size = 9 * textScale, sample = 14 * textScale, gap = 4 * textScale;
            double total = 0;
            for (const LegendEntry& e : scene.legend)
                total += sample + gap + textWidth(e.text, size) + 2 * gap;
            total -= 2 * gap;
            const double right = width - 4 * textScale;
            const TextBox want = boxAt(right, 22 * textScale, total, size, Align::Right);
            const auto [dx, dy] = placer.place(want, true, bannerBottom);
            // No room anywhere (texts as large as a projector's on a small
            // plot): the legend is left out rather than laid over values.
            if (std::isnan(dy)) {
                if (!caption.empty()) list.texts.push_back(captionText);
                return list;
            }
            double at = right + dx;
            const double baseline = 22 * textScale + dy;
            for (auto e = scene.legend.rbegin(); e != scene.legend.rend(); ++e) {
                list.texts.push_back({at, baseline, e->text, size, false, textColor, Align::Right});
                at -= textWidth(e->text, size) + gap;
                const PaletteRole role = e->faint                         ? PaletteRole::Limit
                                         : e->kind == SegmentKind::Shock  ? PaletteRole::Shock
                                         : e->color == SegmentColor::Blue ? PaletteRole::Wave
                                                                          : PaletteRole::Flow;
                const double w = role == PaletteRole::Limit   ? limitWidth
                                 : role == PaletteRole::Shock ? shockWidth
                                                              : flowWidth;
                const double y = baseline - 0.35 * size;
                const bool limit = role == PaletteRole::Limit;
                list.lines.push_back({at - sample, y, at, y, paletteColor(role), w,
                                      Crisp::Horizontal, limit ? dashOn * 0.5 : 0,
                                      limit ? dashOff * 0.5 : 0});
                at -= sample + 2 * gap;
            }
        }
    }
    if (!caption.empty()) list.texts.push_back(captionText);
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
                              std::string(stamp), 9 * scale, false, paletteColor(PaletteRole::Text),
                              Align::Left});
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

std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        // XML has no way to write the other control characters, not even
        // escaped: a file holding one does not open.
        default: out += static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' ? ' ' : c;
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
                      "\" fill=\"" + hexColor(list.background) + "\"/>\n";
    const DisplayLine* group = nullptr;
    for (const DisplayLine& l : list.lines) {
        if (!group || !(group->color == l.color) || group->width != l.width ||
            group->dashOn != l.dashOn || group->dashOff != l.dashOff) {
            if (group) svg += "</g>\n";
            svg += "<g stroke=\"" + hexColor(l.color) + "\" stroke-width=\"" + num(l.width) + "\"";
            if (l.dashed())
                svg += " stroke-dasharray=\"" + num(l.dashOn) + " " + num(l.dashOff) + "\"";
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
               "\" fill=\"" + hexColor(t.color) + "\">" + escaped(t.text) + "</text>\n";
    }
    return svg + "</svg>\n";
}

} // namespace cdnozzle
