// SPDX-License-Identifier: MIT
// Numbers with units: how an engine's figures are typed ("7 MPa", "1015 psi",
// "19.5 cm") and shown, in SI or US customary units.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace cdnozzle {

enum class UnitSystem { SI, US };

// "si" and "us", as the settings, the address and --units write them.
std::string_view unitSystemName(UnitSystem system);
std::optional<UnitSystem> unitSystemNamed(std::string_view name);

enum class Quantity {
    Pressure,
    Temperature,
    Area,
    Diameter,
    Altitude,
    MolarMass,
    MassFlow,
    Velocity,
    Force,
    Density,
    Duration, // a specific impulse, in seconds
};

struct Unit {
    std::string_view symbol; // as shown: "MPa", "cm²"
    double size;             // in SI base units: a psi is 6894.757... Pa
    std::string_view ascii;  // as a data file's header writes it ("cm2"), "" when the same
};

// Exact by definition: the inch, the foot, the pound and the standard
// gravity give every US unit.
inline constexpr double kInch = 0.0254;                          // m
inline constexpr double kFoot = 0.3048;                          // m
inline constexpr double kPound = 0.45359237;                     // kg
inline constexpr double kStandardGravity = 9.80665;              // m/s²
inline constexpr double kPoundForce = kPound * kStandardGravity; // N
inline constexpr double kPsi = kPoundForce / (kInch * kInch);    // Pa

// A number in a unit as SI, and back: a unit that is an exact decimal
// fraction of the SI unit (cm², mm, g/mol) divides by its whole
// inverse, so that "300 cm2" is 0.03 m² to the last bit.
double toSI(double number, const Unit& unit);
double fromSI(double si, const Unit& unit);

// A number typed with no unit after it ("7", "7e6"; not "300 cm2").
bool isBareNumber(std::string_view text);

// Every unit a quantity is typed or shown in.
std::span<const Unit> unitsOf(Quantity quantity);

// The unit a number typed without one takes.
const Unit& defaultUnit(Quantity quantity, UnitSystem system);

// The unit a data file writes a quantity in: the SI base unit (Pa, K, m²,
// m, kg/s, N), or the US default (psi, R, in², ft, lb/s, lbf); g/mol for a
// molar mass.
const Unit& dataUnit(Quantity quantity, UnitSystem system);

// The unit a value is shown in: the largest of the system's units for that
// quantity in which it is at least 1 (kPa for 40000 Pa, MPa for 7e6 Pa).
const Unit& shownUnit(Quantity quantity, UnitSystem system, double si);

// A value in SI base units as shown: 4 significant figures (whole numbers
// from 1000 on), a space, the unit ("7 MPa", "3500 K", "13.88 cm²").
std::string formatQuantity(double si, Quantity quantity, UnitSystem system);
// The same, in the given unit.
std::string formatIn(double si, const Unit& unit);
// A value rounded to 4 significant figures, whole from 1000 on.
std::string formatSignificant(double value);

// What a field of the engine accepts: its label as the boxes name it, the
// quantity and the range in SI base units.
struct QuantityField {
    std::string_view label; // "p0 ="
    Quantity quantity;
    double min;       // the value must lie above this ...
    double max;       // ... and at most this
    bool minIncluded; // or at or above min
};

// A text read as a value of the field: a number ("." as the point, no
// thousands separator), then optionally a unit among unitsOf(quantity),
// with or without a space ("7MPa", "7 MPa"); a number alone takes
// defaultUnit(quantity, system). The value in SI base units, or the
// one-line refusal that names the field, its range and its units, quoting
// the text.
std::variant<double, std::string> readQuantity(const QuantityField& field, std::string_view text,
                                               UnitSystem system);

// The throat, as an area ("300 cm2", a number alone) or, when the unit is a
// length, as a diameter ("19.5 cm"): the area in m², or the refusal.
std::variant<double, std::string> readThroat(std::string_view text, UnitSystem system);

// The fields of the engine.
extern const QuantityField kChamberPressureField;
extern const QuantityField kChamberTemperatureField;
extern const QuantityField kThroatAreaField;
extern const QuantityField kThroatDiameterField;
extern const QuantityField kMolarMassField;
extern const QuantityField kAltitudeField;

} // namespace cdnozzle
