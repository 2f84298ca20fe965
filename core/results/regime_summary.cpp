// SPDX-License-Identifier: MIT
#include "results/regime_summary.h"

#include "text/number_text.h"

#include <cmath>
#include <utility>

namespace cdnozzle {

bool atDesignCondition(const FlowState& s, const CalcResult& result)
{
    // A convergent nozzle (design Mach 1) has no design condition: its jet
    // is sonic at the choking ratio and under-expanded below it.
    return (result.regime == Regime::ObliqueExitShocks || result.regime == Regime::ExitExpansion) &&
           s.M_max > 1 && std::fabs(s.PePo - s.PePo_OS) <= kDesignNearness;
}

std::string regimeHeadline(const FlowState& s, const CalcResult& result)
{
    if (atDesignCondition(s, result)) return "Design condition: perfectly expanded";
    switch (result.regime) {
    case Regime::NotCalculated: return {};
    case Regime::NoFlow: return "No flow";
    case Regime::SubsonicThroughout: return "Subsonic flow throughout";
    case Regime::ChokedSubsonic: return "Choked throat, subsonic flow behind it";
    case Regime::NormalShockInside: return "Normal shock inside the nozzle";
    case Regime::NormalShockAtExit: return "Normal shock in the exit plane";
    case Regime::ObliqueExitShocks:
        if (result.waves.strong) return "Strong shock at the exit: a Mach disk in the jet";
        return "Over-expanded jet: oblique shocks at the exit";
    case Regime::ExitExpansion: return "Under-expanded jet: expansion waves at the exit";
    case Regime::NotClassified: return "Pe/Po above 1: not classified";
    }
    return {};
}

std::string regimeSummary(const FlowState& s, const CalcResult& result, bool backAboveReservoir)
{
    const auto shown = formatRatio;
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
        if (atDesignCondition(s, result))
            return "Design condition: perfectly expanded, the jet leaves at Mach " +
                   shown(s.M_max) +
                   " (oblique waves of β = " + formatAngle(result.waves.shockAngle) + ")";
        if (result.waves.strong)
            return "Strong shock at the exit: a Mach disk in the jet (β = " +
                   formatAngle(result.waves.shockAngle) + ")";
        return "Oblique shocks at the exit (β = " + formatAngle(result.waves.shockAngle) +
               "): over-expanded jet";
    case Regime::NormalShockAtExit: return "Normal shock in the exit plane";
    case Regime::ExitExpansion:
        if (atDesignCondition(s, result))
            return "Design condition: perfectly expanded, the jet leaves at Mach " + shown(s.Me);
        return "Expansion waves at the exit (jet Mach " + shown(s.Me) + "): under-expanded jet";
    case Regime::NotClassified: return "Pe/Po above 1: not classified";
    }
    return {};
}

std::string reportLabelMeaning(std::string_view label)
{
    const std::pair<std::string_view, std::string_view> meanings[] = {
        {"iMax=", "number of the last station: the flow is calculated at points (stations) "
                  "0 to iMax along the axis, the exit is the last"},
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
    for (const auto& [known, meaning] : meanings) {
        if (label == known) return std::string(meaning);
    }
    return {};
}

} // namespace cdnozzle
