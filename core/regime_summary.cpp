#include "regime_summary.h"

#include "gasdyn/exact_shock.h"
#include "number_text.h"

#include <cmath>

namespace cdnozzle {


std::string regimeSummary(const FlowState& s, const CalcResult& result)
{
    switch (result.regime) {
    case Regime::NotCalculated: return {};
    case Regime::NoFlow: return "No flow: the back pressure equals the reservoir pressure";
    case Regime::SubsonicThroughout:
        return "Subsonic flow throughout the nozzle (exit Mach " + formatRounded4(s.Me) + ")";
    case Regime::ChokedSubsonic:
        return "Choked throat, subsonic flow behind it (exit Mach " + formatRounded4(s.Me) + ")";
    case Regime::NormalShockInside: {
        std::string text = "Normal shock inside the nozzle at x = " + formatRounded4(s.x[s.i_NS]) +
                           " (station " + std::to_string(s.i_NS);
        if (const auto exact = exactShockPosition(s, s.PePo))
            text += "; exact x = " + formatRounded4(exact->x);
        return text + ")";
    }
    case Regime::ObliqueExitShocks:
        return "Oblique shocks at the exit (β = " + formatDegrees(result.obliqueShockAngle) + ")";
    case Regime::NormalShockAtExit: return "Normal shock in the exit plane";
    case Regime::ExitExpansion:
        if (s.PePo == s.PePo_OS)
            return "Design condition: the jet leaves at Mach " + formatRounded4(s.Me);
        return "Expansion waves at the exit (jet Mach " + formatRounded4(s.Me) + ")";
    case Regime::NotClassified: return "Pe/Po above 1: not classified";
    }
    return {};
}

} // namespace cdnozzle
