#include "report_output.h"

#include "results/flow_figures.h"
#include "text/number_text.h"

#include <numbers>

namespace cdnozzle {

void writePlainReport(std::ostream& out, const NozzleModel& model)
{
    const FlowState& s = model.state();
    for (const std::string& line : model.result().report.lines()) out << line << '\n';
    out << "regime: " << regimeName(model.result().regime) << '\n';
    out << stationTable(s, '\t');
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
