// SPDX-License-Identifier: MIT
#include "model/thrust_curve.h"

#include "gas/atmosphere.h"
#include "nozzle/calc_flow.h"
#include "nozzle/station_cache.h"
#include "results/flow_figures.h"
#include "text/number_text.h"

#include <cmath>
#include <functional>

namespace cdnozzle {

namespace {

// The design calculated at each altitude's back pressure, in order, on one
// flow state (the figures straight from the flow, no plot drawn); false when
// the design texts are refused.
bool climb(
    const InputTexts& design, double k, const Engine& engine, const std::vector<double>& altitudes,
    const std::function<void(double, const InputTexts&, const FlowState&, const CalcResult&)>& row)
{
    FlowState state;
    Form_Load(state, design, k);
    CalcResult result;
    StationCache cache;
    for (const double altitude : altitudes) {
        InputTexts texts = design;
        texts.pe_po = formatRoundTrip(backPressureRatioAt(engine, altitude));
        InputNumbers numbers;
        if (validateInputs(texts, &numbers)) return false;
        Calc_Flow(state, numbers, result, {}, &cache);
        row(altitude, texts, state, result);
    }
    return true;
}

} // namespace

std::string thrustCurveCsv(const InputTexts& design, double k, const Engine& engine,
                           UnitSystem units, const std::vector<double>& altitudes)
{
    const Unit& height = defaultUnit(Quantity::Altitude, units);
    const Unit& pressure = dataUnit(Quantity::Pressure, units);
    const Unit& force = dataUnit(Quantity::Force, units);
    std::string csv = "altitude (" + std::string(height.symbol) + "),outside pressure (" +
                      std::string(pressure.symbol) + "),Pe/Po,regime,C_F,thrust (" +
                      std::string(force.symbol) + "),I_sp (s)\n";
    const bool done = climb(design, k, engine, altitudes,
                            [&](double altitude, const InputTexts& texts, const FlowState& state,
                                const CalcResult& result) {
                                const auto air = standardAtmosphere(altitude);
                                const double pb = air ? air->p : kSeaLevelPressure;
                                const EngineFigures f = engineFigures(engine, state, result);
                                const NozzleFigures n = nozzleFigures(state, result);
                                csv += formatRoundTrip(fromSI(altitude, height)) + "," +
                                       formatRoundTrip(fromSI(pb, pressure)) + "," + texts.pe_po +
                                       "," + std::string(regimeName(result.regime)) + "," +
                                       formatRoundTrip(n.C_F) + "," +
                                       formatRoundTrip(fromSI(f.F, force)) + "," +
                                       formatRoundTrip(f.Isp) + "\n";
                            });
    return done ? csv : std::string();
}

std::vector<ThrustPoint> thrustCurve(const InputTexts& design, double k, const Engine& engine,
                                     const std::vector<double>& altitudes)
{
    std::vector<ThrustPoint> points;
    const bool done = climb(
        design, k, engine, altitudes,
        [&](double altitude, const InputTexts&, const FlowState& state, const CalcResult& result) {
            const EngineFigures f = engineFigures(engine, state, result);
            points.push_back({altitude, f.F, f.Isp});
        });
    return done ? points : std::vector<ThrustPoint>{};
}

std::vector<double> climbAltitudes(double step)
{
    std::vector<double> altitudes;
    const int count = static_cast<int>(std::floor(kAtmosphereTop / step * (1 + 1e-12)));
    for (int i = 0; i <= count; ++i) altitudes.push_back(std::min(i * step, kAtmosphereTop));
    if (altitudes.back() < kAtmosphereTop) altitudes.push_back(kAtmosphereTop);
    return altitudes;
}

} // namespace cdnozzle
