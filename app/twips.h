// SPDX-License-Identifier: MIT
// Positions and sizes in twips (1/1440 inch), converted for a screen.
#pragma once

#include <QRect>

class QWidget;

namespace cdnozzle {

// Pixels for a length in twips at the given logical dots per inch
// (15 twips make one pixel at 96 DPI).
int twipsToPixels(int twips, double dpi);

// A rectangle given as left, top, width, height in twips.
QRect twipsRect(int left, int top, int width, int height, double dpi);

// The logical DPI a widget is laid out with.
double layoutDpi(const QWidget* widget);

} // namespace cdnozzle
