// SPDX-License-Identifier: MIT
// Numbers with units: every suffix read, refusals in words, exact round
// trips between the systems.
#include "text/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace cdnozzle {

namespace {

struct Typed {
    const QuantityField* field; // nullptr: the throat box
    std::string text;
    UnitSystem system;
    double si; // NaN: refused
};

double read(const Typed& c, std::string* refusal = nullptr)
{
    const auto r =
        c.field ? readQuantity(*c.field, c.text, c.system) : readThroat(c.text, c.system);
    if (const auto* why = std::get_if<std::string>(&r)) {
        if (refusal) *refusal = *why;
        return std::nan("");
    }
    return std::get<double>(r);
}

constexpr double kNo = std::numeric_limits<double>::quiet_NaN();
constexpr auto SI = UnitSystem::SI;
constexpr auto US = UnitSystem::US;
const double kDisc = std::numbers::pi * 0.195 * 0.195 / 4;

} // namespace

TEST(Units, EverySuffixReadsAsItsValue)
{
    const QuantityField* p = &kChamberPressureField;
    const QuantityField* T = &kChamberTemperatureField;
    const QuantityField* M = &kMolarMassField;
    const QuantityField* h = &kAltitudeField;
    const std::vector<Typed> cases{
        {p, "7 MPa", SI, 7e6},
        {p, "7MPa", US, 7e6},
        {p, "70 bar", SI, 7e6},
        {p, "7000 kPa", SI, 7e6},
        {p, "101325 Pa", SI, 101325},
        {p, "1 atm", US, 101325},
        {p, "1015 psi", SI, 1015 * kPsi},
        {p, "1015 psia", SI, 1015 * kPsi},
        {p, "7", SI, 7e6},
        {p, "1015", US, 1015 * kPsi},
        {p, " 2.5e1 MPa ", SI, 25e6},
        {T, "3500 K", SI, 3500},
        {T, "6300 R", SI, 3500},
        {T, "6300 °R", SI, 3500},
        {T, "6300", US, 3500},
        {T, "3500", SI, 3500},
        {nullptr, "300 cm2", SI, 0.03},
        {nullptr, "300 cm²", US, 0.03},
        {nullptr, "46.5 in2", SI, 46.5 * kInch * kInch},
        {nullptr, "0.03 m2", SI, 0.03},
        {nullptr, "30000 mm2", SI, 0.03},
        {nullptr, "1 ft2", SI, kFoot * kFoot},
        {nullptr, "300", SI, 0.03},
        {nullptr, "46.5", US, 46.5 * kInch * kInch},
        // A length is the throat's diameter.
        {nullptr, "19.5 cm", SI, kDisc},
        {nullptr, "195 mm", US, kDisc},
        {nullptr, "0.195 m", SI, kDisc},
        {M, "22 g/mol", SI, 0.022},
        {M, "22", US, 0.022},
        {M, "22 kg/kmol", SI, 0.022},
        {M, "22 lb/lbmol", SI, 0.022},
        {h, "20 km", SI, 20000},
        {h, "20km", US, 20000},
        {h, "65000 ft", SI, 65000 * kFoot},
        {h, "65000", US, 65000 * kFoot},
        {h, "20", SI, 20000},
        {h, "500 m", SI, 500},
        {h, "0", SI, 0},
        {h, "86 km", SI, 86000},
        // The ends of each range.
        {p, "1 kPa", SI, 1000},
        {p, "1000 MPa", SI, 1e9},
        {T, "50 K", SI, 50},
        {T, "1e4", SI, 1e4},
        {nullptr, "0.01 mm2", SI, 1e-8},
        {nullptr, "0.1 mm", SI, std::numbers::pi * 1e-8 / 4},
        {nullptr, "10 m", SI, std::numbers::pi * 25},
        // Refused: unknown units, out of range, no number, a comma.
        {p, "7 Mpascal", SI, kNo},
        {p, "7 K", SI, kNo},
        {p, "0 MPa", SI, kNo},
        {p, "-1 MPa", SI, kNo},
        {p, "7,5 MPa", SI, kNo},
        {p, "", SI, kNo},
        {p, "MPa", SI, kNo},
        {p, "1e400", SI, kNo},
        {T, "3500 C", SI, kNo},
        {h, "86.1 km", SI, kNo},
        {h, "-1 km", SI, kNo},
        {M, "0.5 g/mol", SI, kNo},
        {nullptr, "19.5 cm3", SI, kNo},
        {nullptr, "0 cm", SI, kNo},
        // Too small for a chamber or a throat: a zero area, an infinite c*.
        {p, "999 Pa", SI, kNo},
        {p, "1e-320Pa", SI, kNo},
        {T, "49.9 K", SI, kNo},
        {T, "1e-300", US, kNo},
        {nullptr, "0.0099 mm2", SI, kNo},
        {nullptr, "0.099 mm", SI, kNo},
        {nullptr, "1e-200m", SI, kNo},
        {nullptr, "10.01 m", SI, kNo},
    };
    for (const Typed& c : cases) {
        std::string refusal;
        const double si = read(c, &refusal);
        if (std::isnan(c.si)) {
            EXPECT_TRUE(std::isnan(si)) << c.text;
            const std::string label = c.field ? std::string(c.field->label) : "A_t =";
            EXPECT_EQ(refusal.rfind(label, 0), 0u) << refusal;
            EXPECT_NE(refusal.find("(got \""), std::string::npos) << refusal;
        } else {
            EXPECT_NEAR(si, c.si, 1e-13 * c.si) << c.text << " " << refusal;
        }
    }
    std::string refusal;
    read({M, "0.5 g/mol", SI, kNo}, &refusal);
    EXPECT_EQ(refusal,
              "Molar mass = must be a molar mass from 1 g/mol to 1000 g/mol (got \"0.5 g/mol\")");
    read({nullptr, "1e-200m", US, kNo}, &refusal);
    EXPECT_EQ(refusal, "A_t = must be a diameter from 0.003937 in (0.1 mm) to 393.7 in (10 m) "
                       "(got \"1e-200m\")");
    read({nullptr, "1e-300", US, kNo}, &refusal);
    EXPECT_EQ(refusal, "A_t = must be an area from 0.0000155 in² (0.01 mm²) to 155000 in² "
                       "(100 m²) (got \"1e-300\")");
    read({p, "1e-320Pa", SI, kNo}, &refusal);
    EXPECT_EQ(refusal, "p0 = must be a pressure from 1 kPa (0.145 psi) to 1000 MPa (145038 psi) "
                       "(got \"1e-320Pa\")");
}

// SI to US and back, for every unit of every quantity: a relative error
// below 1e-12 (a few units in the last place).
TEST(Units, RoundTripsBetweenTheSystemsAreExact)
{
    const Quantity quantities[] = {Quantity::Pressure, Quantity::Temperature, Quantity::Area,
                                   Quantity::Diameter, Quantity::Altitude,    Quantity::MolarMass,
                                   Quantity::MassFlow, Quantity::Velocity,    Quantity::Force,
                                   Quantity::Density,  Quantity::Duration};
    for (const Quantity q : quantities) {
        const Unit& us = defaultUnit(q, US);
        for (const Unit& unit : unitsOf(q)) {
            for (const double typed : {1e-7, 0.3, 7.0, 1015.0, 3.5e6}) {
                const double si = typed * unit.size;
                const double back = (si / us.size) * us.size;
                EXPECT_NEAR(back, si, 1e-12 * si) << unit.symbol;
                EXPECT_NEAR(si / unit.size, typed, 1e-12 * typed) << unit.symbol;
            }
        }
    }
}

TEST(Units, ShownInTheSystemsUnitThatFits)
{
    const struct {
        double si;
        Quantity q;
        UnitSystem system;
        const char* shown;
    } cases[] = {
        {7e6, Quantity::Pressure, SI, "7 MPa"},
        {40000, Quantity::Pressure, SI, "40 kPa"},
        {21.96, Quantity::Pressure, SI, "21.96 Pa"},
        {101325, Quantity::Pressure, US, "14.7 psi"},
        {3500, Quantity::Temperature, US, "6300 R"},
        {0.03, Quantity::Area, SI, "300 cm²"},
        {0.03, Quantity::Area, US, "46.5 in²"},
        {1.5, Quantity::Area, SI, "1.5 m²"},
        {334300, Quantity::Force, SI, "334.3 kN"},
        {4448.2216152605, Quantity::Force, US, "1000 lbf"},
        {17300, Quantity::Altitude, SI, "17.3 km"},
        {0.0001234, Quantity::MassFlow, SI, "0.0001234 kg/s"},
        // Sea-level air: 1.2250 kg/m³ is 0.07647 lb/ft³, its speed of sound
        // 340.29 m/s is 1116.45 ft/s; 1 kg/s is 2.2046 lb/s.
        {1.2250, Quantity::Density, US, "0.07647 lb/ft³"},
        {340.294, Quantity::Velocity, US, "1116 ft/s"},
        {1, Quantity::MassFlow, US, "2.205 lb/s"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatQuantity(c.si, c.q, c.system), c.shown);
}

} // namespace cdnozzle
