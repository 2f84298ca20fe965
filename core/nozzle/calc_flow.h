// SPDX-License-Identifier: MIT
// The Calculate procedure: from the three box texts to a complete flow
// solution in the flow state, the report, the regime and the geometry marks.
#pragma once

#include "gas/area_mach.h"
#include "nozzle/exact_shock.h"
#include "nozzle/flow_state.h"
#include "nozzle/report.h"
#include "nozzle/station_cache.h"

#include <array>
#include <string_view>

namespace cdnozzle {

// Width of the "normal shock at exit" band of back-pressure ratios:
// PePo_NS <= Pe/Po < PePo_NS + min(kExitShockBand, kExitShockBandShare *
// PePo_NS). Where the limit itself is small (high design Mach numbers,
// small k) the band never reaches past 1 % of it, so a shock that stands
// well inside the nozzle is never called one at the exit.
inline constexpr double kExitShockBand = 0.0001;
inline constexpr double kExitShockBandShare = 0.01;
// The band's width for a normal-shock limit.
double exitShockBandWidth(double PePo_NS);

enum class Regime {
    NotCalculated,      // nothing has been calculated yet
    NoFlow,             // Pe/Po = 1
    SubsonicThroughout, // PePo_sub < Pe/Po < 1
    ChokedSubsonic,     // Pe/Po = PePo_sub
    NormalShockInside,  // PePo_NS + band <= Pe/Po < PePo_sub
    ObliqueExitShocks,  // PePo_OS < Pe/Po < PePo_NS
    NormalShockAtExit,  // PePo_NS <= Pe/Po < PePo_NS + band
    ExitExpansion,      // 0 < Pe/Po <= PePo_OS
    NotClassified,      // Pe/Po above 1 (validation refuses it)
};

// "no flow", "subsonic throughout", ...
std::string_view regimeName(Regime regime);

enum class MarkColor { Red, Blue };

// A shock (red) or expansion wave (blue) drawn over the nozzle contour, in
// the geometry plot's coordinates.
struct Mark {
    MarkColor color;
    double x1, y1, x2, y2;
    bool operator==(const Mark&) const = default;
};

// The marks of one calculation, in drawing order (at most four are drawn).
class Marks {
  public:
    static constexpr int kCapacity = 6;
    void clear() { count_ = 0; }
    void add(const Mark& mark);
    int size() const { return count_; }
    const Mark* begin() const { return items_.data(); }
    const Mark* end() const { return items_.data() + count_; }
    const Mark& operator[](int i) const { return items_[static_cast<std::size_t>(i)]; }
    bool operator==(const Marks& other) const;

  private:
    std::array<Mark, kCapacity> items_{};
    int count_ = 0;
};

// The waves at the exit lips (radians).
struct ExitWaves {
    // Oblique exit shocks: the shock's angle to the flow and the flow's turn
    // towards the axis; the largest turn an attached shock can give the
    // design flow and the shock angle that gives it. The shock is strong
    // when it lies beyond that angle (a subsonic jet behind it), which
    // happens for back pressures above strongFrom.
    double shockAngle = 0;
    double deflection = 0;
    double maxDeflection = 0;
    double maxDeflectionAngle = 0;
    bool strong = false;
    double strongFrom = 0;
    // Exit expansion: the Prandtl-Meyer angles of the design flow and of the
    // jet; the jet turns away from the axis by their difference.
    double nuExit = 0;
    double nuJet = 0;
    bool operator==(const ExitWaves&) const = default;
};

// What a calculation leaves besides the flow state.
struct CalcResult {
    Report report;
    Marks marks;
    Regime regime = Regime::NotCalculated;
    // Set in ObliqueExitShocks and ExitExpansion only.
    ExitWaves waves;
    // NormalShockInside and NormalShockAtExit only: the shock of the
    // continuous solution, which the grid places at the station before it
    // (inside) or draws in the exit plane (at exit, where it stands just
    // inside the exit, or anywhere in the divergent part for a design Mach
    // number within about 1.5 % of 1).
    std::optional<ExactShock> exactShock;
    bool operator==(const CalcResult&) const = default;
};

// Runs Lule_Geo, reads Pe/Po from its text, classifies the regime and fills
// M and PiPo at stations 1..N_tot+1, i_NS, Me and PePo_e; places a normal
// shock by the station search when Pe/Po is below PePo_sub (and appends the
// "A2*=" and "Po2/Po*=" lines); adds the exit-stage marks. The texts must
// have passed validateInputs; non-convergence of the inversion goes to
// notConverged and the calculation carries on with the last iterate.
// Expansion-wave marks whose Mach angle is undefined (a design Mach number
// below 1) are left out; nothing else is.
// With a cache, the inversions that depend only on the grid are taken from
// earlier calculations of the same nozzle; the results are the same bits.
void Calc_Flow(FlowState& s, const InputTexts& texts, CalcResult& out,
               const NotConvergedHandler& notConverged, StationCache* cache = nullptr);
// The same with the three numbers already read (by the validation).
void Calc_Flow(FlowState& s, const InputNumbers& inputs, CalcResult& out,
               const NotConvergedHandler& notConverged, StationCache* cache = nullptr);

} // namespace cdnozzle
