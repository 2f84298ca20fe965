// SPDX-License-Identifier: MIT
#include "plots/plot_kind.h"

#include "results/flow_figures.h"
#include "results/station_data.h"
#include "text/number_text.h"

namespace cdnozzle {

namespace {
constexpr std::string_view kQuantityKeys[] = {"p", "T", "rho", "thrust"};
}

std::string_view quantityKey(PlotQuantity quantity)
{
    const auto q = static_cast<std::size_t>(quantity);
    return q < std::size(kQuantityKeys) ? kQuantityKeys[q] : kQuantityKeys[0];
}

std::optional<PlotQuantity> quantityNamed(std::string_view key)
{
    for (std::size_t q = 0; q < std::size(kQuantityKeys); ++q)
        if (kQuantityKeys[q] == key) return static_cast<PlotQuantity>(q);
    return std::nullopt;
}

std::string_view quantityCaption(PlotQuantity quantity)
{
    switch (quantity) {
    case PlotQuantity::Pressure: return "p/p0";
    case PlotQuantity::Temperature: return "T/T0";
    case PlotQuantity::Density: return "ρ/ρ0";
    case PlotQuantity::Thrust: return "F, I_sp";
    }
    return "p/p0";
}

std::string hoverReadout(const FlowState& s, PlotKind plot, double x, PlotQuantity third)
{
    auto four = formatShown;
    const int i = nearestStation(s, x);
    std::string text = "x = " + four(x) + ", station " + std::to_string(i) + ": ";
    const StationQuantities q = stationQuantities(s, s.M[i], s.PiPo[i]);
    // The station's quantities, the plot's own first, then the others.
    const std::pair<std::string_view, double> all[] = {{"M", s.M[i]},
                                                       {"p/p0", s.PiPo[i]},
                                                       {"T/T0", q.T_T0},
                                                       {"ρ/ρ0", q.rho_rho0},
                                                       {"V/a*", q.V_astar}};
    std::string_view own;
    switch (plot) {
    case PlotKind::Geometry:
        if (i > s.N_tot)
            text += "behind the exit: ";
        else
            text += "y = " + four(s.y[i]) + ", A/At = " + four(s.AA[i]) + ", ";
        break;
    case PlotKind::Mach: own = "M"; break;
    case PlotKind::Third: own = quantityCaption(third); break;
    }
    std::string values;
    for (const auto& [name, value] : all) {
        const std::string shown = std::string(name) + " = " + four(value);
        if (name == own)
            values = shown + (values.empty() ? "" : ", ") + values;
        else
            values += (values.empty() ? "" : ", ") + shown;
    }
    return text + values;
}

} // namespace cdnozzle
