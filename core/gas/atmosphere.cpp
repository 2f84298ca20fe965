// SPDX-License-Identifier: MIT
#include "gas/atmosphere.h"

#include <array>
#include <cmath>

namespace cdnozzle {

namespace {

constexpr double kEarthRadius = 6356766;    // m, for geopotential altitude
constexpr double kGasConstant = 8.31432;    // J/(mol K), the standard's own
constexpr double kAirMolarMass = 0.0289644; // kg/mol, sea-level air
constexpr double kGravity = 9.80665;        // m²/(s² m'), per geopotential metre
constexpr double kGMR = kGravity * kAirMolarMass / kGasConstant; // K/m'

struct Layer {
    double base;  // geopotential altitude of the base, m'
    double lapse; // K per m'
};
constexpr std::array<Layer, 7> kLayers{{
    {0, -0.0065},
    {11000, 0},
    {20000, 0.001},
    {32000, 0.0028},
    {47000, 0},
    {51000, -0.0028},
    {71000, -0.002},
}};

// Each layer's base temperature and pressure, from sea level up.
struct Base {
    double T, p;
};
std::array<Base, 7> bases()
{
    std::array<Base, 7> b{};
    b[0] = {288.15, kSeaLevelPressure};
    for (std::size_t i = 0; i + 1 < kLayers.size(); ++i) {
        const double dH = kLayers[i + 1].base - kLayers[i].base;
        const double T = b[i].T + kLayers[i].lapse * dH;
        const double p = kLayers[i].lapse == 0
                             ? b[i].p * std::exp(-kGMR * dH / b[i].T)
                             : b[i].p * std::pow(b[i].T / T, kGMR / kLayers[i].lapse);
        b[i + 1] = {T, p};
    }
    return b;
}

const std::array<Base, 7>& layerBases()
{
    static const std::array<Base, 7> b = bases();
    return b;
}

double geopotential(double Z)
{
    return kEarthRadius * Z / (kEarthRadius + Z);
}
double geometric(double H)
{
    return kEarthRadius * H / (kEarthRadius - H);
}

std::size_t layerOf(double H)
{
    std::size_t i = 0;
    while (i + 1 < kLayers.size() && H >= kLayers[i + 1].base) ++i;
    return i;
}

// The standard's molar-mass ratio M/M0 from 80 to 86 km, every 0.5 km.
constexpr std::array<double, 13> kMolarRatio{1.0,      0.999996, 0.999989, 0.999971, 0.999941,
                                             0.999909, 0.999870, 0.999829, 0.999786, 0.999741,
                                             0.999694, 0.999641, 0.999579};

double molarRatio(double Z)
{
    if (Z <= 80000) return 1;
    const double at = std::min((Z - 80000) / 500, 12.0);
    const std::size_t i = std::min(static_cast<std::size_t>(at), std::size_t{11});
    return kMolarRatio[i] + (kMolarRatio[i + 1] - kMolarRatio[i]) * (at - static_cast<double>(i));
}

} // namespace

std::optional<AtmosphereState> standardAtmosphere(double altitude)
{
    if (!(altitude >= 0 && altitude <= kAtmosphereTop)) return std::nullopt;
    const double H = geopotential(altitude);
    const std::size_t i = layerOf(H);
    const Base& b = layerBases()[i];
    const double lapse = kLayers[i].lapse;
    const double TM = b.T + lapse * (H - kLayers[i].base);
    const double p = lapse == 0 ? b.p * std::exp(-kGMR * (H - kLayers[i].base) / b.T)
                                : b.p * std::pow(b.T / TM, kGMR / lapse);
    return AtmosphereState{TM * molarRatio(altitude), p, p * kAirMolarMass / (kGasConstant * TM)};
}

double atmosphereTopPressure()
{
    return standardAtmosphere(kAtmosphereTop)->p;
}

std::optional<double> altitudeOfPressure(double p)
{
    if (!(p <= kSeaLevelPressure && p >= atmosphereTopPressure())) return std::nullopt;
    const auto& b = layerBases();
    std::size_t i = 0;
    while (i + 1 < b.size() && p <= b[i + 1].p) ++i;
    const double lapse = kLayers[i].lapse;
    // The layer's pressure law solved for the geopotential altitude.
    const double dH = lapse == 0 ? -b[i].T * std::log(p / b[i].p) / kGMR
                                 : b[i].T * (std::pow(p / b[i].p, -lapse / kGMR) - 1) / lapse;
    return std::min(geometric(kLayers[i].base + dH), kAtmosphereTop);
}

} // namespace cdnozzle
