// SPDX-License-Identifier: MIT
#include "report_output.h"

#include "results/flow_figures.h"
#include "text/number_text.h"

#include <numbers>

namespace cdnozzle {

void writePlainReport(std::ostream& out, const NozzleModel& model, const EngineReport* engine)
{
    const FlowState& s = model.state();
    for (const std::string& line : model.result().report.lines()) out << line << '\n';
    out << "regime: " << regimeName(model.result().regime) << '\n';
    if (engine) {
        for (const std::string& line : engineReportLines(model, *engine)) out << line << '\n';
    }
    out << stationTable(s, '\t');
}

std::vector<std::string> engineReportLines(const NozzleModel& model, const EngineReport& e)
{
    std::vector<std::string> lines;
    if (e.altitude) lines.push_back(altitudeLine(*e.altitude, e.units));
    const EngineFigures f = engineFigures(e.engine, model.state(), model.result());
    for (std::string& line : engineLines(e.engine, f, e.units)) lines.push_back(std::move(line));
    return lines;
}

nlohmann::json engineJson(const NozzleModel& model, const EngineReport& e)
{
    const FlowState& s = model.state();
    const EngineFigures f = engineFigures(e.engine, s, model.result());
    const LimitAltitudes at = limitAltitudes(e.engine, s);
    // Each value in the unit system's data unit, with the unit beside it.
    auto value = [&](double si, Quantity quantity) {
        const Unit& unit = dataUnit(quantity, e.units);
        return nlohmann::json{{"value", fromSI(si, unit)}, {"unit", unit.symbol}};
    };
    auto height = [&](std::optional<double> altitude) {
        return altitude ? value(*altitude, Quantity::Altitude) : nlohmann::json(nullptr);
    };
    const double R = specificGasConstant(e.engine);
    return {
        {"units", unitSystemName(e.units)},
        {"altitude", height(e.altitude)},
        {"p0", value(e.engine.p0, Quantity::Pressure)},
        {"T0", value(e.engine.T0, Quantity::Temperature)},
        {"A_t", value(e.engine.At, Quantity::Area)},
        {"A_e", value(f.Ae, Quantity::Area)},
        {"molar_mass", value(e.engine.molarMass, Quantity::MolarMass)},
        {"R", {{"value", R}, {"unit", "J/(kg K)"}}},
        {"mdot", value(f.mdot, Quantity::MassFlow)},
        {"c_star", value(f.cstar, Quantity::Velocity)},
        {"V_e", value(f.Ve, Quantity::Velocity)},
        {"T_e", value(f.Te, Quantity::Temperature)},
        {"p_e", value(f.pe, Quantity::Pressure)},
        // Where the outside air stands above the chamber nothing flows and
        // Pe/Po is held at 1; the back pressure is still the air's.
        {"p_b",
         value(outsideAboveChamber(e.engine, e.altitude) ? outsidePressure(*e.altitude) : f.pb,
               Quantity::Pressure)},
        {"F", value(f.F, Quantity::Force)},
        {"F_momentum", value(f.F_momentum, Quantity::Force)},
        {"F_pressure", value(f.F_pressure, Quantity::Force)},
        {"I_sp", f.mdot > 0 ? value(f.Isp, Quantity::Duration) : nlohmann::json(nullptr)},
        {"design_altitude", height(at.design)},
        {"shock_leaves_altitude", height(at.shockLeaves)},
        {"choking_altitude", height(at.choking)},
        {"ideal", f.ideal},
        {"ideal_note", f.idealNote},
    };
}

nlohmann::json reportJson(const NozzleModel& model, const std::vector<std::string>& messages)
{
    const FlowState& s = model.state();
    nlohmann::json stations = nlohmann::json::array();
    for (int i = 1; i <= s.N_tot + 1; ++i) {
        nlohmann::json row = {{"i", i}};
        const auto values = stationRow(s, i);
        for (std::size_t c = 1; c < values.size(); ++c)
            row[std::string(kStationColumns[c].name)] = values[c];
        stations.push_back(std::move(row));
    }
    const NozzleFigures figures = nozzleFigures(s, model.result());
    nlohmann::json marks = nlohmann::json::array();
    for (const Mark& m : model.result().marks) {
        marks.push_back({{"color", m.color == MarkColor::Red ? "red" : "blue"},
                         {"x1", m.x1},
                         {"y1", m.y1},
                         {"x2", m.x2},
                         {"y2", m.y2}});
    }
    const CalcResult& result = model.result();
    nlohmann::json exactShock = nullptr;
    if (const auto& e = result.exactShock) {
        exactShock = {{"x", e->x},   {"AA", e->areaRatio},    {"M1", e->M1},
                      {"M2", e->M2}, {"p02_p01", e->p02_p01}, {"Me", e->Me}};
    }
    const ExitWaves& w = result.waves;
    const auto degrees = [](double radians) { return radians * 180 / std::numbers::pi; };
    nlohmann::json exitWaves = nullptr;
    if (result.regime == Regime::ObliqueExitShocks) {
        exitWaves = {{"kind", "oblique shocks"},
                     {"beta_deg", degrees(w.shockAngle)},
                     {"theta_deg", degrees(w.deflection)},
                     {"M_jet", s.Me},
                     {"theta_max_deg", degrees(w.maxDeflection)},
                     {"strong", w.strong},
                     {"strong_above_PePo", w.strongFrom}};
    } else if (result.regime == Regime::ExitExpansion) {
        exitWaves = {{"kind", "expansion"},
                     {"nu_exit_deg", degrees(w.nuExit)},
                     {"nu_jet_deg", degrees(w.nuJet)},
                     {"turn_deg", degrees(w.nuJet - w.nuExit)},
                     {"M_jet", s.Me}};
    }
    return {
        {"report", model.result().report.lines()},
        {"regime", std::string(regimeName(model.result().regime))},
        {"i_NS", s.i_NS},
        {"Me", s.Me},
        {"PePo_e", s.PePo_e},
        {"PePo", s.PePo},
        {"M_max", s.M_max},
        {"AA_max", s.AA_max},
        {"AAe", s.AAe},
        {"Me_sub", s.Me_sub},
        {"PePo_sub", s.PePo_sub},
        {"PePo_NS", s.PePo_NS},
        {"PePo_OS", s.PePo_OS},
        {"k", s.k},
        {"mdot_ratio", figures.mdot_ratio},
        {"C_F", figures.C_F},
        {"C_F_momentum", figures.C_F_momentum},
        {"C_F_pressure", figures.C_F_pressure},
        {"pe_pb", figures.pe_pb},
        {"exact_shock", exactShock},
        {"exit_waves", exitWaves},
        {"stations", stations},
        {"marks", marks},
        {"messages", messages},
    };
}

} // namespace cdnozzle
