// SPDX-License-Identifier: MIT
// The channel the unsteady flow runs in: its area A/At along x.
//
// Three kinds: the program's own nozzle (the same contour as the geometry
// plot: A/At = AAfM(x) from x = 1/N_conv to the exit at x = Me_Sup, for the
// current gas), the textbook's A/At = 1 + 2.2 (x - 1.5)^2 on 0 <= x <= 3,
// and a table read from a two-column CSV (x, A/At), joined by straight
// lines. A constant-area tube serves the shock-tube checks.
#pragma once

#include "gas/gas.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace cdnozzle {

enum class ContourKind { Nozzle, Textbook, Table, Tube };

struct Contour {
    ContourKind kind = ContourKind::Tube;
    Gas gas{};                   // the nozzle's gas (its contour depends on k)
    double xBegin = 0, xEnd = 1; // inlet and exit abscissae
    std::vector<double> xs, as;  // the table's points (kind Table)
    double throatX = 0;          // abscissa of the smallest area
    double throatArea = 1;       // the smallest area

    // A/At at x, for xBegin <= x <= xEnd (clamped outside).
    double area(double x) const;
    double length() const { return xEnd - xBegin; }
    // The contour's name as the report command takes it.
    std::string name() const;
};

// The program's nozzle for the gas and design exit Mach number M_max >= 1
// (validated by the caller): x from 1/20 to M_max, the throat at x = 1.
Contour nozzleContour(const Gas& gas, double M_max);

// A = 1 + 2.2 (x - 1.5)^2 on [0, 3], the throat at x = 1.5.
Contour textbookContour();

// A constant area 1 on [0, length].
Contour tubeContour(double length = 1);

// A contour from CSV text: one "x,A/At" pair a line (lines may end in
// "\n", "\r\n" or "\r"; a byte-order mark is skipped), "." as the decimal
// point; blank lines, lines starting with "#" and a first line that is not
// numbers (a header) are skipped. Checked: at least 3 points, at most
// 100000, x strictly increasing, every A/At positive and finite, and one
// throat after the first point (the area falls, or stays, to its smallest
// value and then rises, or stays: no second narrowing). The contour is rescaled so that the
// throat has A/At = 1. Returns the refusal in words otherwise, naming the
// line at fault.
std::variant<Contour, std::string> contourFromCsv(std::string_view text);

} // namespace cdnozzle
