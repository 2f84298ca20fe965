// The Calculate procedure: from the three box texts to a complete flow
// solution in the flow state, the report, the regime and the geometry marks.
#pragma once

#include "flow_state.h"
#include "gasdyn/area_mach.h"
#include "gasdyn/station_cache.h"
#include "report.h"

#include <array>
#include <string_view>

namespace cdnozzle {

// Width of the "normal shock at exit" band of back-pressure ratios:
// PePo_NS <= Pe/Po < PePo_NS + kExitShockBand.
inline constexpr double kExitShockBand = 0.0001;

enum class Regime {
    NotCalculated,      // nothing has been calculated yet
    NoFlow,             // Pe/Po = 1
    SubsonicThroughout, // PePo_sub < Pe/Po < 1
    ChokedSubsonic,     // Pe/Po = PePo_sub
    NormalShockInside,  // PePo_NS + 0.0001 <= Pe/Po < PePo_sub
    ObliqueExitShocks,  // PePo_OS < Pe/Po < PePo_NS
    NormalShockAtExit,  // PePo_NS <= Pe/Po < PePo_NS + 0.0001
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

// What a calculation leaves besides the flow state.
struct CalcResult {
    Report report;
    Marks marks;
    Regime regime = Regime::NotCalculated;
    double obliqueShockAngle = 0;      // radians; set in ObliqueExitShocks only
    double obliqueShockDeflection = 0; // radians, the flow's turn; the same
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
