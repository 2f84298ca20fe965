// SPDX-License-Identifier: MIT
#include "gas/gas.h"

#include "text/number_text.h"

namespace cdnozzle {

Gas gasOf(double k)
{
    Gas g;
    g.k = k;
    // The order matters: kp1_2km1 comes out as 3.0000000000000004 for air.
    g.k2_kp1 = 2 / (g.k + 1);
    g.kp1_2km1 = ((g.k + 1) / (g.k - 1)) / 2;
    g.kp1_2km1_inv = 1 / g.kp1_2km1;
    g.km1_2 = (g.k - 1) / 2;
    return g;
}

const NamedGas* findGas(std::string_view name)
{
    for (const NamedGas& g : kGases) {
        if (g.name == name) return &g;
    }
    return nullptr;
}

std::string gasNameFor(double k)
{
    for (const NamedGas& g : kGases) {
        if (g.k == k) return std::string(g.name);
    }
    return "gas with k = " + formatRounded4(k);
}

std::optional<std::string> validateGasName(const std::string& name)
{
    if (findGas(name)) return std::nullopt;
    std::string names;
    for (const NamedGas& g : kGases) names += (names.empty() ? "" : ", ") + std::string(g.name);
    return "The gas must be one of " + names + " " + quotedInput(name);
}

} // namespace cdnozzle
