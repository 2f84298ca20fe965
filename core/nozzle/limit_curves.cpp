// SPDX-License-Identifier: MIT
#include "nozzle/limit_curves.h"

#include "gas/area_mach.h"
#include "gas/isentropic.h"
#include "gas/normal_shock.h"

namespace cdnozzle {

LimitCurves limitCurves(const FlowState& s)
{
    LimitCurves c;
    c.choked.PePo = s.PePo_sub;
    c.exitShock.PePo = s.PePo_NS;
    c.design.PePo = s.PePo_OS;
    for (int i = 1; i <= s.N_tot; ++i) {
        const double sub = machOfAreaRatio(s, s.AA[i], false);
        // Ahead of the throat every choked flow is the same subsonic one.
        const double sup = i > s.N_conv ? machOfAreaRatio(s, s.AA[i], true) : sub;
        c.choked.M[i] = sub;
        c.design.M[i] = c.exitShock.M[i] = sup;
        c.choked.PiPo[i] = 1 / PoP(s, sub);
        c.design.PiPo[i] = c.exitShock.PiPo[i] = 1 / PoP(s, sup);
    }
    const int e = s.N_tot;
    c.choked.Mjet = c.choked.M[e];
    c.choked.PiPoJet = c.choked.PiPo[e];
    c.design.Mjet = c.design.M[e];
    c.design.PiPoJet = c.design.PiPo[e];
    c.exitShock.Mjet = NS(s, c.exitShock.M[e]);
    c.exitShock.PiPoJet = s.PePo_NS;
    return c;
}

} // namespace cdnozzle
