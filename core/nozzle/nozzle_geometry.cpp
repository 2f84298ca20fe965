// SPDX-License-Identifier: MIT
#include "nozzle/nozzle_geometry.h"

#include "gas/isentropic.h"
#include "nozzle/exact_shock.h"
#include "text/number_text.h"

#include <cmath>

namespace cdnozzle {

void yakinsak_geo(FlowState& s)
{
    for (int i = 1; i <= s.N_conv; ++i) {
        s.x[i] = static_cast<double>(i) / static_cast<double>(s.N_conv);
        s.y[i] = AAfM(s, s.x[i]) / 2;
    }
}

void iraksak_geo(const FlowState& s, StationArray& xI, StationArray& yI)
{
    for (int i = 1; i <= s.N_div; ++i) {
        const double q = static_cast<double>(i) / static_cast<double>(s.N_div);
        const double d = s.M_max - 1;
        xI[i] = d * q + 1;
        yI[i] = AAfM(s, xI[i]) / 2;
    }
}

namespace {

// 1/(1 + (k-1)/2 M^2)^(k/(k-1)), in the order the limits are defined with;
// it agrees with 1/PoP only to the last bits.
double limitPressureRatio(const FlowState& s, double mach)
{
    double t = std::pow(mach, 2);
    t = s.km1_2 * t;
    t = t + 1;
    const double e = s.k / (s.k - 1);
    return 1 / std::pow(t, e);
}

} // namespace

void Lule_Geo(FlowState& s, const InputTexts& texts, Report& report)
{
    Lule_Geo(s, readInputs(texts), report);
}

void Lule_Geo(FlowState& s, const InputNumbers& inputs, Report& report)
{
    s.M_max = inputs.M_max;
    s.AA_max = inputs.AA_max;
    s.i_NS = 1;

    yakinsak_geo(s);
    StationArray x_div{};
    StationArray y_div{};
    iraksak_geo(s, x_div, y_div);
    for (int i = 1; i <= s.N_div; ++i) {
        s.x[s.N_conv + i] = x_div[i];
        s.y[s.N_conv + i] = y_div[i];
    }
    for (int i = 1; i <= s.N_tot; ++i) s.AA[i] = s.y[i] * 2;
    s.x[s.N_tot + 1] = s.x[s.N_tot] + 0.1;

    s.AAe = s.y[s.N_tot] * 2;
    // The subsonic root of the exit area ratio, to full precision: the
    // station inversion's stopping rule would land it low, and next to a
    // design Mach number of 1 put the subsonic limit below the normal-shock
    // limit.
    s.Me_sub = subsonicTwinMach(s, s.x[s.N_tot]);
    s.PePo_sub = limitPressureRatio(s, s.Me_sub);
    s.PePo_OS = limitPressureRatio(s, s.M_max);
    const double c = (2 * s.k) / (s.k + 1);
    const double shockPressureRatio = (std::pow(s.M_max, 2) - 1) * c + 1;
    s.PePo_NS = s.PePo_OS * shockPressureRatio;

    report.clear();
    report.append("iMax=", s.N_tot);
    report.append("M_max=", s.x[s.N_tot]);
    report.append("Me_sub limit=", s.Me_sub);
    report.append("Pe/Po sesaltı limit=", s.PePo_sub);
    report.append("Pe/Po sesüstü limit(NShock)=", s.PePo_NS);
    report.append("Pe/Po sesüstü limit(OShock)=", s.PePo_OS);
}

} // namespace cdnozzle
