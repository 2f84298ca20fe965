// SPDX-License-Identifier: MIT
#include "panel/back_pressure_bars.h"

#include "text/number_text.h"

#include <cmath>

namespace cdnozzle {

double coarsePePo(int position)
{
    return static_cast<double>(100 - position) / 100 + 0.01;
}

double finePePo(int position)
{
    return static_cast<double>(1000 - position) / 1000 + 0.001;
}

std::string coarseText(int position)
{
    return formatGeneral(coarsePePo(position));
}

std::string fineText(int position)
{
    return formatGeneral(finePePo(position));
}

namespace {

// Nearest integer, a half going to the even neighbour (the default rounding
// mode), kept inside the range a bar position can hold.
int roundPosition(double v)
{
    const double r = std::nearbyint(v);
    if (!(r > -32768)) return -32768;
    if (!(r < 32767)) return 32767;
    return static_cast<int>(r);
}

} // namespace

int coarsePositionFor(double pepo)
{
    return roundPosition(100 - 100 * (pepo - 0.01));
}

int finePositionFor(double pepo)
{
    return roundPosition(1000 - 1000 * (pepo - 0.001));
}

} // namespace cdnozzle
