// SPDX-License-Identifier: MIT
#include "twips.h"

#include <QWidget>
#include <QtMath>

namespace cdnozzle {

int twipsToPixels(int twips, double dpi)
{
    return qRound(twips * dpi / 1440.0);
}

QRect twipsRect(int left, int top, int width, int height, double dpi)
{
    return {twipsToPixels(left, dpi), twipsToPixels(top, dpi), twipsToPixels(width, dpi),
            twipsToPixels(height, dpi)};
}

double layoutDpi(const QWidget* widget)
{
    const double dpi = widget->logicalDpiX();
    return dpi > 0 ? dpi : 96.0;
}

} // namespace cdnozzle
