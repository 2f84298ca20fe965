// SPDX-License-Identifier: MIT
#include "text/units.h"

#include "text/number_text.h"
#include "text/validation.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace cdnozzle {

namespace {

// Each quantity's units; the first two of a list are the SI and the US
// defaults for a number typed alone.
constexpr std::array kPressureUnits{
    Unit{"MPa", 1e6, ""}, Unit{"psi", kPsi, ""}, Unit{"kPa", 1e3, ""},
    Unit{"Pa", 1, ""},    Unit{"bar", 1e5, ""},  Unit{"atm", 101325, ""},
};
constexpr std::array kTemperatureUnits{Unit{"K", 1, ""}, Unit{"R", 5.0 / 9.0, ""}};
constexpr std::array kAreaUnits{
    Unit{"cm²", 1e-4, "cm2"}, Unit{"in²", kInch* kInch, "in2"}, Unit{"m²", 1, "m2"},
    Unit{"mm²", 1e-6, "mm2"}, Unit{"ft²", kFoot* kFoot, "ft2"},
};
constexpr std::array kDiameterUnits{
    Unit{"cm", 1e-2, ""}, Unit{"in", kInch, ""}, Unit{"m", 1, ""},
    Unit{"mm", 1e-3, ""}, Unit{"ft", kFoot, ""}, Unit{"km", 1e3, ""},
};
constexpr std::array kAltitudeUnits{
    Unit{"km", 1e3, ""},  Unit{"ft", kFoot, ""}, Unit{"m", 1, ""},
    Unit{"cm", 1e-2, ""}, Unit{"mm", 1e-3, ""},  Unit{"in", kInch, ""},
};
// A pound per pound-mole is a gram per mole.
constexpr std::array kMolarMassUnits{Unit{"g/mol", 1e-3, ""}, Unit{"lb/lbmol", 1e-3, ""},
                                     Unit{"kg/kmol", 1e-3, ""}};
constexpr std::array kMassFlowUnits{Unit{"kg/s", 1, ""}, Unit{"lb/s", kPound, ""}};
constexpr std::array kVelocityUnits{Unit{"m/s", 1, ""}, Unit{"ft/s", kFoot, ""}};
constexpr std::array kForceUnits{Unit{"N", 1, ""}, Unit{"lbf", kPoundForce, ""},
                                 Unit{"kN", 1e3, ""}, Unit{"MN", 1e6, ""}};
constexpr std::array kDensityUnits{Unit{"kg/m³", 1, "kg/m3"},
                                   Unit{"lb/ft³", kPound / (kFoot * kFoot * kFoot), "lb/ft3"}};
constexpr std::array kDurationUnits{Unit{"s", 1, ""}, Unit{"s", 1, ""}};

// The units a value is shown in, smallest first, by system.
struct Shown {
    Quantity quantity;
    std::array<std::string_view, 3> si, us;
};
constexpr std::array kShown{
    Shown{Quantity::Pressure, {"Pa", "kPa", "MPa"}, {"psi"}},
    Shown{Quantity::Temperature, {"K"}, {"R"}},
    Shown{Quantity::Area, {"mm²", "cm²", "m²"}, {"in²"}},
    Shown{Quantity::Diameter, {"mm", "cm", "m"}, {"in"}},
    Shown{Quantity::Altitude, {"km"}, {"ft"}},
    Shown{Quantity::MolarMass, {"g/mol"}, {"g/mol"}},
    Shown{Quantity::MassFlow, {"kg/s"}, {"lb/s"}},
    Shown{Quantity::Velocity, {"m/s"}, {"ft/s"}},
    Shown{Quantity::Force, {"N", "kN", "MN"}, {"lbf"}},
    Shown{Quantity::Density, {"kg/m³"}, {"lb/ft³"}},
    Shown{Quantity::Duration, {"s"}, {"s"}},
};

const Unit* unitNamed(Quantity quantity, std::string_view symbol)
{
    for (const Unit& unit : unitsOf(quantity)) {
        if (unit.symbol == symbol || (!unit.ascii.empty() && unit.ascii == symbol)) return &unit;
    }
    // "°R" for the rankine, "psia" for an absolute psi.
    if (quantity == Quantity::Temperature && symbol == "°R") return &unitsOf(quantity)[1];
    if (quantity == Quantity::Pressure && symbol == "psia") return &unitsOf(quantity)[1];
    return nullptr;
}

// "Pa, kPa, MPa, bar, atm or psi"
std::string unitList(Quantity quantity)
{
    const auto units = unitsOf(quantity);
    std::string list;
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (i > 0) list += i + 1 == units.size() ? " or " : ", ";
        list += units[i].ascii.empty() ? units[i].symbol : units[i].ascii;
    }
    return list;
}

std::string_view quantityWord(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Pressure: return "a pressure";
    case Quantity::Temperature: return "a temperature";
    case Quantity::Area: return "an area";
    case Quantity::Diameter: return "a diameter";
    case Quantity::Altitude: return "an altitude";
    case Quantity::MolarMass: return "a molar mass";
    default: return "a value";
    }
}

// The number at the start of a text, as far as its syntax goes: sign,
// digits with at most one ".", an exponent only when digits follow it.
std::size_t numberLength(std::string_view text)
{
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        return i - start;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        digits();
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && text[j] >= '0' && text[j] <= '9') {
            i = j;
            digits();
        }
    }
    return i;
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

struct Split {
    std::optional<double> number;
    std::string_view unit;
};

Split splitQuantity(std::string_view text)
{
    text = trimmed(text);
    const std::size_t n = numberLength(text);
    return {readStrictNumber(text.substr(0, n)), trimmed(text.substr(n))};
}

// A range's end as a sentence writes it, in plain decimals ("0.0000155
// in²", not "1.55E-05 in²").
std::string endIn(double si, const Unit& unit)
{
    const double value = fromSI(si, unit);
    std::string number = formatSignificant(value);
    if (number.find('E') != std::string::npos && value > 0 && value < 1) {
        number = formatFixed(roundSignificant(value, 4),
                             3 - static_cast<int>(std::floor(std::log10(value))));
        while (number.back() == '0') number.pop_back();
    }
    return number + " " + std::string(unit.symbol);
}

std::string rangeRefusal(const QuantityField& field, std::string_view text, UnitSystem system)
{
    const UnitSystem otherSystem = system == UnitSystem::SI ? UnitSystem::US : UnitSystem::SI;
    // Each end in the unit it is shown in, the other system's figure beside
    // where it has a unit of its own.
    const auto end = [&](double si) {
        const std::string shown = endIn(si, shownUnit(field.quantity, system, si));
        const std::string other = endIn(si, shownUnit(field.quantity, otherSystem, si));
        return other == shown ? shown : shown + " (" + other + ")";
    };
    const std::string low = field.min == 0 ? "0" : end(field.min);
    const std::string from =
        field.minIncluded ? "from " + low + " to " : "above " + low + " and at most ";
    return std::string(field.label) + " must be " + std::string(quantityWord(field.quantity)) +
           " " + from + end(field.max) + " " + quotedInput(text);
}

} // namespace

namespace {

// The whole inverse of a unit smaller than the SI one (1e4 for cm²), or 0.
double wholeInverse(const Unit& unit)
{
    if (unit.size >= 1) return 0;
    const double inverse = std::round(1 / unit.size);
    return std::fabs(inverse * unit.size - 1) < 1e-12 ? inverse : 0;
}

} // namespace

double toSI(double number, const Unit& unit)
{
    const double inverse = wholeInverse(unit);
    return inverse > 0 ? number / inverse : number * unit.size;
}

double fromSI(double si, const Unit& unit)
{
    const double inverse = wholeInverse(unit);
    return inverse > 0 ? si * inverse : si / unit.size;
}

bool isBareNumber(std::string_view text)
{
    const Split split = splitQuantity(text);
    return split.number && split.unit.empty();
}

std::string_view unitSystemName(UnitSystem system)
{
    return system == UnitSystem::US ? "us" : "si";
}

std::optional<UnitSystem> unitSystemNamed(std::string_view name)
{
    if (name == "si") return UnitSystem::SI;
    if (name == "us") return UnitSystem::US;
    return std::nullopt;
}

std::span<const Unit> unitsOf(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Pressure: return kPressureUnits;
    case Quantity::Temperature: return kTemperatureUnits;
    case Quantity::Area: return kAreaUnits;
    case Quantity::Diameter: return kDiameterUnits;
    case Quantity::Altitude: return kAltitudeUnits;
    case Quantity::MolarMass: return kMolarMassUnits;
    case Quantity::MassFlow: return kMassFlowUnits;
    case Quantity::Velocity: return kVelocityUnits;
    case Quantity::Force: return kForceUnits;
    case Quantity::Density: return kDensityUnits;
    case Quantity::Duration: return kDurationUnits;
    }
    return kDurationUnits;
}

const Unit& defaultUnit(Quantity quantity, UnitSystem system)
{
    return unitsOf(quantity)[system == UnitSystem::US ? 1 : 0];
}

const Unit& dataUnit(Quantity quantity, UnitSystem system)
{
    if (system == UnitSystem::SI) {
        for (const Unit& unit : unitsOf(quantity)) {
            if (unit.size == 1) return unit;
        }
    }
    return defaultUnit(quantity, system);
}

const Unit& shownUnit(Quantity quantity, UnitSystem system, double si)
{
    for (const Shown& shown : kShown) {
        if (shown.quantity != quantity) continue;
        const auto& names = system == UnitSystem::US ? shown.us : shown.si;
        const Unit* chosen = unitNamed(quantity, names[0]);
        for (std::string_view name : names) {
            if (name.empty()) break;
            const Unit* unit = unitNamed(quantity, name);
            if (std::fabs(si) >= unit->size) chosen = unit;
        }
        return *chosen;
    }
    return defaultUnit(quantity, system);
}

std::string formatSignificant(double value)
{
    if (!std::isfinite(value)) return value > 0 ? "∞" : value < 0 ? "-∞" : "—";
    if (std::fabs(value) >= 999.95) return formatGeneral(std::round(value));
    return formatGeneral(roundSignificant(value, 4));
}

std::string formatIn(double si, const Unit& unit)
{
    return formatSignificant(fromSI(si, unit)) + " " + std::string(unit.symbol);
}

std::string formatQuantity(double si, Quantity quantity, UnitSystem system)
{
    return formatIn(si, shownUnit(quantity, system, si));
}

std::variant<double, std::string> readQuantity(const QuantityField& field, std::string_view text,
                                               UnitSystem system)
{
    const Split split = splitQuantity(text);
    if (!split.number) {
        return std::string(field.label) + " must be " + std::string(quantityWord(field.quantity)) +
               ", a number (\".\" as the point) and " + "a unit: " + unitList(field.quantity) +
               " " + quotedInput(text);
    }
    const Unit* unit = split.unit.empty() ? &defaultUnit(field.quantity, system)
                                          : unitNamed(field.quantity, split.unit);
    if (!unit) {
        return std::string(field.label) + " takes " + unitList(field.quantity) + " " +
               quotedInput(text);
    }
    const double si = toSI(*split.number, *unit);
    const bool above = field.minIncluded ? si >= field.min : si > field.min;
    if (!(above && si <= field.max) || !std::isfinite(si)) return rangeRefusal(field, text, system);
    return si;
}

std::variant<double, std::string> readThroat(std::string_view text, UnitSystem system)
{
    const Split split = splitQuantity(text);
    if (split.number && !split.unit.empty() && unitNamed(Quantity::Diameter, split.unit)) {
        const auto diameter = readQuantity(kThroatDiameterField, text, system);
        if (const double* d = std::get_if<double>(&diameter)) return std::numbers::pi * *d * *d / 4;
        return diameter;
    }
    return readQuantity(kThroatAreaField, text, system);
}

// Wide enough for a laboratory nozzle and for the largest rocket engine:
// a throat from a tenth of a millimetre across, a chamber from a hundredth
// of an atmosphere and from cryogenic temperatures. Every figure of an
// engine inside these ranges is finite and above zero.
const QuantityField kChamberPressureField{"p0 =", Quantity::Pressure, 1e3, 1e9, true};
const QuantityField kChamberTemperatureField{"T0 =", Quantity::Temperature, 50, 1e4, true};
const QuantityField kThroatAreaField{"A_t =", Quantity::Area, 1e-8, 100, true};
const QuantityField kThroatDiameterField{"A_t =", Quantity::Diameter, 1e-4, 10, true};
const QuantityField kMolarMassField{"Molar mass =", Quantity::MolarMass, 1e-3, 1, true};
const QuantityField kAltitudeField{"Altitude =", Quantity::Altitude, 0, 86000, true};

} // namespace cdnozzle
