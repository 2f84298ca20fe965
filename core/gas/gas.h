// SPDX-License-Identifier: MIT
// The gas: its ratio of specific heats and the constants derived from it,
// which is all the gas-dynamics relations read.
#pragma once

#include "text/validation.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace cdnozzle {

struct Gas {
    double k = 0;
    double k2_kp1 = 0;       // 2/(k+1)
    double km1_2 = 0;        // (k-1)/2
    double kp1_2km1 = 0;     // ((k+1)/(k-1))/2
    double kp1_2km1_inv = 0; // 1/kp1_2km1

    bool operator==(const Gas&) const = default;
};

// The constants of k in their fixed evaluation order (for k = 1.4:
// kp1_2km1 = 3.0000000000000004, km1_2 = 0.19999999999999996).
Gas gasOf(double k);

struct NamedGas {
    std::string_view name;
    double k;
    double molarMass; // g/mol
};

// The gases offered by name, air first. The hot combustion gas stands for
// the exhaust of a kerosene-oxygen or a solid-propellant rocket, whose
// molar mass is typically 20 to 25 g/mol: 22.
inline constexpr std::array<NamedGas, 6> kGases{{
    {"air", 1.4, 28.965},
    {"helium", 5.0 / 3.0, 4.0026},
    {"argon", 5.0 / 3.0, 39.948},
    {"carbon dioxide", 1.29, 44.01},
    {"steam", 1.33, 18.015},
    {"hot combustion gas", 1.2, 22},
}};

// The listed gas of that exact name, or nullptr.
const NamedGas* findGas(std::string_view name);

// The name a gas of ratio k goes by, wherever a gas is chosen by its k: the
// first listed gas with exactly that k ("helium" for 5/3), otherwise
// "gas with k = " and k rounded to 4 decimals ("gas with k = 1.2346"),
// however many digits k was typed with.
std::string gasNameFor(double k);

// A gas chosen by its name (the Gas list, a web address): one of kGases,
// spelled exactly. Returns nothing, or the one-line refusal that lists them.
std::optional<std::string> validateGasName(const std::string& name);

} // namespace cdnozzle
