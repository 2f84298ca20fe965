// SPDX-License-Identifier: MIT
// The one flow state of the program: gas constants, station counts, inputs,
// regime limits, station arrays and the values of the jump at the shock.
#pragma once

#include "gas/gas.h"
#include "text/validation.h"

#include <array>
#include <string>
#include <string_view>

namespace cdnozzle {

// Station arrays hold indices 0..500; stations 1..N_tot+1 (1..101) are used.
inline constexpr int kStationCapacity = 501;
using StationArray = std::array<double, kStationCapacity>;

// The gas constants come first (k, k2_kp1, km1_2, kp1_2km1, kp1_2km1_inv):
// the state is the gas the relations read.
struct FlowState : Gas {
    double PePo_sub = 0; // subsonic limit
    double PePo_NS = 0;  // normal shock in the exit plane
    double PePo_OS = 0;  // design exit pressure ratio
    double Me_sub = 0;   // subsonic exit Mach number with a sonic throat
    int i_NS = 0;        // station of the jump drawn by the Mach and p/p0 plots
    int N_conv = 0;      // convergent stations; also the throat station
    int N_div = 0;       // divergent stations
    int N_tot = 0;       // exit station
    double M_max = 0;    // design exit Mach number ("Me_Sup =")
    double AA_max = 0;   // half-height of the geometry plot ("Amax/At =")
    double AAe = 0;      // exit-to-throat area ratio
    double PePo = 0;     // back-pressure ratio ("Pe/Po =")
    StationArray M{};
    StationArray AA{};
    StationArray x{};
    StationArray y{};
    StationArray PiPo{};
    double Me = 0;     // Mach number just downstream of the jump at i_NS
    double PePo_e = 0; // p/p0 just downstream of the jump at i_NS

    bool operator==(const FlowState&) const = default;
};

// Start-up: gas constants of k (in their fixed evaluation order), station
// counts, and the three box texts read by the leading-number rule. Computes
// no geometry and fills no array.
void Form_Load(FlowState& s, const InputTexts& texts, double k = kAirK);

} // namespace cdnozzle
