// SPDX-License-Identifier: MIT
#include "panel/thrust_curve.h"

#include "gas/atmosphere.h"
#include "panel/nozzle_model.h"
#include "results/flow_figures.h"
#include "text/number_text.h"

#include <cmath>
#include <functional>

namespace cdnozzle {

namespace {

// The design calculated at each altitude's back pressure, in order; false
// when the design texts are refused.
bool climb(const InputTexts& design, double k, const Engine& engine,
           const std::vector<double>& altitudes,
           const std::function<void(double, const InputTexts&, const NozzleModel&)>& row)
{
    NozzleModel model(design, k);
    for (const double altitude : altitudes) {
        InputTexts texts = design;
        texts.pe_po = formatRoundTrip(backPressureRatioAt(engine, altitude));
        if (model.calculate(texts)) return false;
        row(altitude, texts, model);
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
    const bool done =
        climb(design, k, engine, altitudes,
              [&](double altitude, const InputTexts& texts, const NozzleModel& model) {
                  const auto air = standardAtmosphere(altitude);
                  const double pb = air ? air->p : kSeaLevelPressure;
                  const EngineFigures f = engineFigures(engine, model.state(), model.result());
                  const NozzleFigures n = nozzleFigures(model.state(), model.result());
                  csv += formatRoundTrip(fromSI(altitude, height)) + "," +
                         formatRoundTrip(fromSI(pb, pressure)) + "," + texts.pe_po + "," +
                         std::string(regimeName(model.result().regime)) + "," +
                         formatRoundTrip(n.C_F) + "," + formatRoundTrip(fromSI(f.F, force)) + "," +
                         formatRoundTrip(f.Isp) + "\n";
              });
    return done ? csv : std::string();
}

std::vector<ThrustPoint> thrustCurve(const InputTexts& design, double k, const Engine& engine,
                                     const std::vector<double>& altitudes)
{
    std::vector<ThrustPoint> points;
    const bool done = climb(design, k, engine, altitudes,
                            [&](double altitude, const InputTexts&, const NozzleModel& model) {
                                const EngineFigures f =
                                    engineFigures(engine, model.state(), model.result());
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
