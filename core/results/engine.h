// SPDX-License-Identifier: MIT
// A real engine behind the dimensionless nozzle: the chamber's pressure and
// temperature, the throat's area and the gas's molar mass turn the ratios
// into mass flow, velocities, thrust and specific impulse, and the
// standard atmosphere turns an altitude into a back pressure.
#pragma once

#include "nozzle/calc_flow.h"
#include "nozzle/flow_state.h"
#include "text/units.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace cdnozzle {

// J/(mol K)
inline constexpr double kMolarGasConstant = 8.314462618;

// In SI base units.
struct Engine {
    double p0 = 0;        // chamber (reservoir) pressure, Pa
    double T0 = 0;        // chamber temperature, K
    double At = 0;        // throat area, m²
    double molarMass = 0; // kg/mol
    bool operator==(const Engine&) const = default;
};

// The gas constant of the engine's gas, J/(kg K).
double specificGasConstant(const Engine& engine);

// The mass flow of a choked throat:
// A_t p0 sqrt(k/(R T0)) (2/(k+1))^((k+1)/(2(k-1))).
double chokedMassFlow(const Engine& engine, double k);

struct EngineFigures {
    double mdot = 0;       // mass flow, kg/s
    double cstar = 0;      // characteristic velocity p0 A_t / mdot of the choked throat, m/s
    double Ve = 0;         // exit-plane velocity, m/s
    double Te = 0;         // exit-plane static temperature, K
    double pe = 0;         // exit-plane static pressure, Pa
    double pb = 0;         // outside (back) pressure, Pa
    double Ae = 0;         // exit area, m²
    double F = 0;          // thrust C_F p0 A_t, N
    double F_momentum = 0; // mdot Ve, N
    double F_pressure = 0; // (pe - pb) Ae, N
    double Isp = 0;        // F / (mdot g0), s; 0 when nothing flows
    // Which figures are those of an ideal nozzle for this regime, and why
    // the others are not.
    std::vector<std::string_view> ideal;
    std::string idealNote;
};

// For a calculated state. The exit plane is the one the thrust
// coefficient takes (the continuous solution's for a subsonic jet).
EngineFigures engineFigures(const Engine& engine, const FlowState& s, const CalcResult& result);

// The altitudes of the three limits for this chamber pressure: where the
// outside pressure is PePo_sub p0 (the throat just chokes on the way up),
// PePo_NS p0 (above it the normal shock has left the nozzle) and PePo_OS
// p0 (the design altitude). Nothing for a limit outside 0 to 86 km.
struct LimitAltitudes {
    std::optional<double> choking, shockLeaves, design;
};
LimitAltitudes limitAltitudes(const Engine& engine, const FlowState& s);

// A station's static pressure, temperature, density and velocity.
struct StationValues {
    double p, T, rho, V;
};
StationValues stationValues(const Engine& engine, const FlowState& s, int i);

// The figures as lines for the explanation and the report ("Mass flow ṁ =
// 123.4 kg/s"), in the unit system's units.
std::vector<std::string> engineLines(const Engine& engine, const EngineFigures& f,
                                     UnitSystem units);
// One line under the status: "F = 1.234 MN, I_sp = 268.1 s, ṁ = 470.1 kg/s,
// V_e = 2581 m/s".
std::string engineSummary(const EngineFigures& f, UnitSystem units);

// The station table as CSV (stationCsv) with four more columns, the
// station's static pressure, temperature, density and velocity, their
// units in the header ("p (kPa)" is not used: the system's base units,
// "p (Pa)", "T (K)", "rho (kg/m3)", "V (m/s)"; "p (psi)", "T (R)",
// "rho (lb/ft3)", "V (ft/s)").
std::string engineStationCsv(const Engine& engine, const FlowState& s, UnitSystem units);

// The engine's paragraph of the explanation: its figures, what is ideal,
// the altitude of the back pressure when it came from one, the design
// altitude and the altitude at which a normal shock leaves the nozzle.
std::string explainEngine(const Engine& engine, const FlowState& s, const CalcResult& result,
                          UnitSystem units, std::optional<double> altitude);

// "Altitude 20 km: outside pressure 5.529 kPa (1976 standard atmosphere)"
std::string altitudeLine(double altitude, UnitSystem units);

// The outside pressure at an altitude of the 1976 standard atmosphere, Pa
// (sea level's outside its range).
double outsidePressure(double altitude);

// Where the back pressure comes from an altitude: Pe/Po = p_atm / p0, at
// most 1 (a chamber pressure at or below the outside pressure lets nothing
// flow).
double backPressureRatioAt(const Engine& engine, double altitude);

// Whether the outside pressure at the altitude lies above the chamber
// pressure (Pe/Po is then held at 1); false without an altitude.
bool outsideAboveChamber(const Engine& engine, std::optional<double> altitude);

} // namespace cdnozzle

namespace cdnozzle {

// What "Ae/At =" and --area-ratio accept: a number from 1 to the area ratio
// of the largest design Mach number. The supersonic Mach number of that
// area ratio for the gas (1 for 1), or the refusal.
std::variant<double, std::string> designMachOfAreaRatio(std::string_view text, double k);

} // namespace cdnozzle
