// SPDX-License-Identifier: MIT
// The 1976 U.S. Standard Atmosphere from sea level to 86 km: the seven
// layers of the molecular-scale temperature, linear in geopotential
// altitude, and the hydrostatic pressure through them.
#pragma once

#include <optional>

namespace cdnozzle {

// Its top, geometric altitude in metres.
inline constexpr double kAtmosphereTop = 86000;
// Sea-level pressure, Pa.
inline constexpr double kSeaLevelPressure = 101325;

struct AtmosphereState {
    double T;   // kinetic temperature, K
    double p;   // pressure, Pa
    double rho; // density, kg/m³
};

// At a geometric altitude of 0 to kAtmosphereTop metres (nothing outside).
// The kinetic temperature is the molecular-scale one but for the standard's
// ratio of molar masses from 80 to 86 km (0.999579 at 86 km).
std::optional<AtmosphereState> standardAtmosphere(double altitude);

// The geometric altitude at which the pressure is p, the inverse of
// standardAtmosphere(...).p; nothing for a pressure above sea level's or
// below the one at 86 km.
std::optional<double> altitudeOfPressure(double p);

// Pressure at 86 km, Pa.
double atmosphereTopPressure();

} // namespace cdnozzle
