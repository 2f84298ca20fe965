// SPDX-License-Identifier: MIT
#include "unsteady/contour.h"

#include "text/number_text.h"
#include "unsteady/portable_math.h"

#include <algorithm>
#include <cmath>

namespace cdnozzle {

double Contour::area(double x) const
{
    x = std::clamp(x, xBegin, xEnd);
    switch (kind) {
    case ContourKind::Nozzle: {
        // The geometry's area law, A/A* at the Mach number x, worked out to
        // the same bits on every machine.
        const double T = 1 + (gas.km1_2 * x) * x;
        return 1 / x * portablePow(gas.k2_kp1 * T, gas.kp1_2km1);
    }
    case ContourKind::Textbook: return 1 + 2.2 * (x - 1.5) * (x - 1.5);
    case ContourKind::Tube: return 1;
    case ContourKind::Table: break;
    }
    const auto it = std::upper_bound(xs.begin(), xs.end(), x);
    if (it == xs.begin()) return as.front();
    if (it == xs.end()) return as.back();
    const std::size_t i = static_cast<std::size_t>(it - xs.begin());
    const double w = (x - xs[i - 1]) / (xs[i] - xs[i - 1]);
    return as[i - 1] + w * (as[i] - as[i - 1]);
}

std::string Contour::name() const
{
    switch (kind) {
    case ContourKind::Nozzle: return "nozzle";
    case ContourKind::Textbook: return "textbook";
    case ContourKind::Tube: return "tube";
    case ContourKind::Table: break;
    }
    return "table";
}

Contour nozzleContour(const Gas& gas, double M_max)
{
    Contour c;
    c.kind = ContourKind::Nozzle;
    c.gas = gas;
    // The first station of the convergent part (1/N_conv) is the inlet.
    c.xBegin = 1.0 / 20;
    c.xEnd = std::max(M_max, 1.0);
    c.throatX = 1;
    c.throatArea = 1;
    return c;
}

Contour textbookContour()
{
    Contour c;
    c.kind = ContourKind::Textbook;
    c.xBegin = 0;
    c.xEnd = 3;
    c.throatX = 1.5;
    c.throatArea = 1;
    return c;
}

Contour tubeContour(double length)
{
    Contour c;
    c.kind = ContourKind::Tube;
    c.xBegin = 0;
    c.xEnd = length;
    c.throatX = 0;
    c.throatArea = 1;
    return c;
}

namespace {

std::string lineText(int line)
{
    return "line " + std::to_string(line);
}

// Splits "a,b" (blanks around either allowed); false when not two numbers.
bool readPair(std::string_view line, double& a, double& b)
{
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return false;
    auto trim = [](std::string_view s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
            s.remove_suffix(1);
        return s;
    };
    const auto x = readStrictNumber(trim(line.substr(0, comma)));
    const auto y = readStrictNumber(trim(line.substr(comma + 1)));
    if (!x || !y) return false;
    a = *x;
    b = *y;
    return true;
}

} // namespace

std::variant<Contour, std::string> contourFromCsv(std::string_view text)
{
    constexpr std::size_t kMaxPoints = 100000;
    Contour c;
    c.kind = ContourKind::Table;
    int lineNumber = 0;
    bool firstContent = true;
    // A spreadsheet's "CSV UTF-8" starts with a byte-order mark; without
    // this the first point would be taken for a header and lost.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    while (!text.empty()) {
        // Lines end in "\n", "\r\n" or a lone "\r".
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        std::string_view line = text.substr(0, end);
        const bool crlf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
        text.remove_prefix(std::min(end + (crlf ? 2 : 1), text.size()));
        ++lineNumber;
        std::string_view body = line;
        while (!body.empty() && (body.front() == ' ' || body.front() == '\t'))
            body.remove_prefix(1);
        if (body.empty() || body.front() == '#') continue;
        double x = 0, a = 0;
        if (!readPair(body, x, a)) {
            if (firstContent) {
                firstContent = false; // a header
                continue;
            }
            return "The contour's " + lineText(lineNumber) + " is not two numbers x,A/At";
        }
        firstContent = false;
        if (!std::isfinite(x) || !std::isfinite(a))
            return "The contour's " + lineText(lineNumber) + " holds a number out of range";
        if (!(a > 0))
            return "The contour's area must be positive (" + lineText(lineNumber) + " has " +
                   formatGeneral(a) + ")";
        if (!c.xs.empty() && !(x > c.xs.back()))
            return "The contour's x must increase from line to line (" + lineText(lineNumber) +
                   " has " + formatGeneral(x) + " after " + formatGeneral(c.xs.back()) + ")";
        if (c.xs.size() == kMaxPoints) return "The contour has more than 100000 points";
        c.xs.push_back(x);
        c.as.push_back(a);
    }
    if (c.xs.size() < 3) return "The contour needs at least 3 points x,A/At";
    const auto smallest = std::min_element(c.as.begin(), c.as.end());
    const std::size_t t = static_cast<std::size_t>(smallest - c.as.begin());
    // The reservoir feeds the nozzle through a convergent part: at a throat
    // at the inlet the inflow would be sonic, which the inlet cannot hold
    // (the flow there never settles).
    if (t == 0)
        return "The contour must narrow to its throat: its area is smallest already at its "
               "first point (x = " +
               formatGeneral(c.xs[0]) + ")";
    for (std::size_t i = 1; i <= t; ++i) {
        if (c.as[i] > c.as[i - 1])
            return "The contour must have one throat: its area rises before the throat at x = " +
                   formatGeneral(c.xs[i]);
    }
    for (std::size_t i = t + 1; i < c.as.size(); ++i) {
        if (c.as[i] < c.as[i - 1])
            return "The contour must have one throat: its area narrows again at x = " +
                   formatGeneral(c.xs[i]);
    }
    const double at = *smallest;
    for (double& a : c.as) a /= at;
    c.as[t] = 1;
    c.xBegin = c.xs.front();
    c.xEnd = c.xs.back();
    c.throatX = c.xs[t];
    c.throatArea = 1;
    return c;
}

} // namespace cdnozzle
