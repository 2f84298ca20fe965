#include "results/regime_summary.h"

#include "text/number_text.h"

namespace cdnozzle {

std::string regimeSummary(const FlowState& s, const CalcResult& result)
{
    const auto shown = formatShown;
    switch (result.regime) {
    case Regime::NotCalculated: return {};
    case Regime::NoFlow: return "No flow: the back pressure equals the reservoir pressure";
    case Regime::SubsonicThroughout:
        return "Subsonic flow throughout the nozzle (exit Mach " + shown(s.Me) + ")";
    case Regime::ChokedSubsonic:
        return "Choked throat, subsonic flow behind it (exit Mach " + shown(s.Me) + ")";
    case Regime::NormalShockInside: {
        std::string text = "Normal shock inside the nozzle at x = " + shown(s.x[s.i_NS]) +
                           " (station " + std::to_string(s.i_NS);
        if (result.exactShock) text += "; exact x = " + shown(result.exactShock->x);
        return text + ")";
    }
    case Regime::ObliqueExitShocks:
        return "Oblique shocks at the exit (β = " + formatDegrees(result.waves.shockAngle) + ")";
    case Regime::NormalShockAtExit: return "Normal shock in the exit plane";
    case Regime::ExitExpansion:
        if (s.PePo == s.PePo_OS) return "Design condition: the jet leaves at Mach " + shown(s.Me);
        return "Expansion waves at the exit (jet Mach " + shown(s.Me) + ")";
    case Regime::NotClassified: return "Pe/Po above 1: not classified";
    }
    return {};
}

} // namespace cdnozzle
