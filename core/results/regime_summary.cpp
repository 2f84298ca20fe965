#include "results/regime_summary.h"

#include "text/number_text.h"

#include <cmath>
#include <utility>

namespace cdnozzle {

std::string regimeSummary(const FlowState& s, const CalcResult& result, bool backAboveReservoir)
{
    const auto shown = formatShown;
    switch (result.regime) {
    case Regime::NotCalculated: return {};
    case Regime::NoFlow:
        return backAboveReservoir ? "No flow: the back pressure is above the reservoir pressure"
                                  : "No flow: the back pressure equals the reservoir pressure";
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
        if (std::fabs(s.PePo - s.PePo_OS) <= kDesignNearness)
            return "Design condition: the jet leaves at Mach " + shown(s.M_max) +
                   " (oblique waves of β = " + formatDegrees(result.waves.shockAngle) + ")";
        return "Oblique shocks at the exit (β = " + formatDegrees(result.waves.shockAngle) + ")";
    case Regime::NormalShockAtExit: return "Normal shock in the exit plane";
    case Regime::ExitExpansion:
        if (std::fabs(s.PePo - s.PePo_OS) <= kDesignNearness)
            return "Design condition: the jet leaves at Mach " + shown(s.Me);
        return "Expansion waves at the exit (jet Mach " + shown(s.Me) + ")";
    case Regime::NotClassified: return "Pe/Po above 1: not classified";
    }
    return {};
}

std::string reportLineMeaning(std::string_view line)
{
    const std::pair<std::string_view, std::string_view> meanings[] = {
        {"iMax=", "number of stations along the nozzle: the exit is the last"},
        {"M_max=", "design exit Mach number: the exit's position on the axis"},
        {"Me_sub limit=",
         "exit Mach number of the subsonic flow whose throat has just reached Mach 1"},
        {"Pe/Po sesaltı limit=", "subsonic limit: below this back pressure the throat is choked"},
        {"Pe/Po sesüstü limit(NShock)=",
         "normal-shock limit: at this back pressure a normal shock stands in the exit plane"},
        {"Pe/Po sesüstü limit(OShock)=",
         "design pressure ratio: the jet leaves perfectly expanded; below it, it expands outside"},
        {"A2*=", "sonic area of the flow behind the shock, over the throat area"},
        {"Po2/Po*=",
         "stagnation pressure behind the shock over the reservoir's: what the shock loses"},
    };
    for (const auto& [label, meaning] : meanings) {
        if (line.starts_with(label)) return std::string(meaning);
    }
    return {};
}

} // namespace cdnozzle
