// The one flow state of the program: gas constants, station counts, inputs,
// regime limits, station arrays and the values of the jump at the shock.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace cdnozzle {

// Station arrays hold indices 0..500; stations 1..N_tot+1 (1..101) are used.
inline constexpr int kStationCapacity = 501;
using StationArray = std::array<double, kStationCapacity>;

struct FlowState {
    double k = 0;
    double k2_kp1 = 0;       // 2/(k+1)
    double km1_2 = 0;        // (k-1)/2
    double kp1_2km1 = 0;     // ((k+1)/(k-1))/2
    double kp1_2km1_inv = 0; // 1/kp1_2km1
    double PePo_sub = 0;     // subsonic limit
    double PePo_NS = 0;      // normal shock in the exit plane
    double PePo_OS = 0;      // design exit pressure ratio
    double Me_sub = 0;       // subsonic exit Mach number with a sonic throat
    int i_NS = 0;            // station of the jump drawn by the Mach and p/p0 plots
    int N_conv = 0;          // convergent stations; also the throat station
    int N_div = 0;           // divergent stations
    int N_tot = 0;           // exit station
    double M_max = 0;        // design exit Mach number ("Me_Sup =")
    double AA_max = 0;       // half-height of the geometry plot ("Amax/At =")
    double AAe = 0;          // exit-to-throat area ratio
    double PePo = 0;         // back-pressure ratio ("Pe/Po =")
    StationArray M{};
    StationArray AA{};
    StationArray x{};
    StationArray y{};
    StationArray PiPo{};
    double Me = 0;     // Mach number just downstream of the jump at i_NS
    double PePo_e = 0; // p/p0 just downstream of the jump at i_NS

    bool operator==(const FlowState&) const = default;
};

// The texts of the three input boxes, as the user typed them.
struct InputTexts {
    std::string me_sup = "2"; // "Me_Sup ="
    std::string amax = "3";   // "Amax/At ="
    std::string pe_po = "1";  // "Pe/Po ="
};

// Start-up: gas constants (in their fixed evaluation order), station counts,
// and the three box texts read by the leading-number rule. Computes no
// geometry and fills no array.
void Form_Load(FlowState& s, const InputTexts& texts);

} // namespace cdnozzle
