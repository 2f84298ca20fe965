#include "gasdyn/gas.h"

namespace cdnozzle {

Gas gasOf(double k)
{
    Gas g;
    g.k = k;
    // The order matters: kp1_2km1 comes out as 3.0000000000000004 for air.
    g.k2_kp1 = 2 / (g.k + 1);
    g.kp1_2km1 = ((g.k + 1) / (g.k - 1)) / 2;
    g.kp1_2km1_inv = 1 / g.kp1_2km1;
    g.km1_2 = (g.k - 1) / 2;
    return g;
}

} // namespace cdnozzle
