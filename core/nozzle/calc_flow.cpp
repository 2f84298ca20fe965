// SPDX-License-Identifier: MIT
#include "nozzle/calc_flow.h"

#include "gas/exit_waves.h"
#include "gas/isentropic.h"
#include "gas/normal_shock.h"
#include "nozzle/nozzle_geometry.h"
#include "nozzle/shock_search.h"
#include "text/number_text.h"

#include <algorithm>
#include <cmath>

namespace cdnozzle {

std::string_view regimeName(Regime regime)
{
    switch (regime) {
    case Regime::NotCalculated: return "not calculated";
    case Regime::NoFlow: return "no flow";
    case Regime::SubsonicThroughout: return "subsonic throughout";
    case Regime::ChokedSubsonic: return "choked subsonic";
    case Regime::NormalShockInside: return "normal shock inside";
    case Regime::ObliqueExitShocks: return "oblique exit shocks";
    case Regime::NormalShockAtExit: return "normal shock at exit";
    case Regime::ExitExpansion: return "exit expansion";
    case Regime::NotClassified: return "not classified";
    }
    return "not classified";
}

void Marks::add(const Mark& mark)
{
    if (count_ < kCapacity) items_[static_cast<std::size_t>(count_++)] = mark;
}

bool Marks::operator==(const Marks& other) const
{
    if (count_ != other.count_) return false;
    for (int i = 0; i < count_; ++i) {
        if (!((*this)[i] == other[i])) return false;
    }
    return true;
}

double exitShockBandWidth(double PePo_NS)
{
    return std::min(kExitShockBand, kExitShockBandShare * PePo_NS);
}

namespace {

// PePo - PePo_NS < the band's width: at or below the top of the exit-shock
// band, written as the band's own test so both agree to the last bit.
bool belowExitShockBandTop(const FlowState& s)
{
    return s.PePo - s.PePo_NS < exitShockBandWidth(s.PePo_NS);
}

// Which divergent-part branch ran.
enum class DivergentStage { None, Subsonic, Choked, Shock };

// Two segments from the exit lips towards the opposite wall at the angle
// whose sine and cosine are given; both lips, lower one first.
void addExitPair(Marks& marks, MarkColor color, double xe, double ye, double L, double c, double sn)
{
    marks.add({color, xe, -ye, xe + L * c, -ye + L * sn});
    marks.add({color, xe, ye, xe + L * c, ye - L * sn});
}

// M_iter(AA(i), 1, "SesAltı"): the subsonic Mach number of a flow whose
// throat is sonic.
double chokedSubsonicMachAt(const FlowState& s, int i, const NotConvergedHandler& notConverged,
                            StationCache* cache)
{
    return stationInversion(s, i, kSesAlti, StationCache::ChokedSubsonicMach, notConverged, cache);
}

// The jump drawn at the exit station: what leaves the nozzle, which the
// run-out station carries on.
void setExitJump(FlowState& s, double Me, double PePo_e)
{
    const int e = s.N_tot;
    s.i_NS = e;
    s.Me = Me;
    s.PePo_e = PePo_e;
    s.M[e + 1] = Me;
    s.PiPo[e + 1] = PePo_e;
}

// The exit station's own values, for the regimes that leave through an
// exit wave at the design Mach number.
void setDesignExit(FlowState& s)
{
    s.M[s.N_tot] = s.M_max;
    s.PiPo[s.N_tot] = s.PePo_OS;
}

void closeSubsonicSolution(FlowState& s)
{
    setExitJump(s, s.M[s.N_tot], s.PiPo[s.N_tot]);
}

// Sets the shock angle and the flow's deflection.
void obliqueExitShocks(FlowState& s, CalcResult& out, double xe, double ye, double L)
{
    const double k = s.k;
    const double M1 = s.M_max;
    const double q = s.PePo / s.PePo_OS;
    const double Mn1sq = 1 + ((k + 1) / (2 * k)) * (q - 1);
    const double Mn1 = std::sqrt(Mn1sq);
    const double sb = Mn1 / M1;
    // Just below PePo_NS rounding can put sb a hair above 1; the shock is then
    // normal (beta = 90 degrees), not undefined.
    const double cb = std::sqrt(std::max(0.0, 1 - sb * sb));
    const double beta = std::atan(sb / cb);
    const double Mn2 = NSofSquare(s, Mn1sq);
    const double theta = obliqueDeflection(s, M1, beta);
    const double M2 = Mn2 / std::sin(beta - theta);

    setDesignExit(s);
    setExitJump(s, M2, s.PePo);
    // An inequality test against the band's width, not a greater-than test.
    if (std::fabs(s.PePo - s.PePo_NS) != kExitShockBand)
        addExitPair(out.marks, MarkColor::Red, xe, ye, L, cb, sb);
    // Beyond the angle of the largest deflection the single shock that
    // matches the pressures is a strong one.
    const MaxDeflection most = maxDeflection(s, M1);
    ExitWaves& w = out.waves;
    w.shockAngle = beta;
    w.deflection = theta;
    w.maxDeflection = most.theta;
    w.maxDeflectionAngle = most.beta;
    w.strong = beta > most.beta;
    w.strongFrom = s.PePo_OS * P2P1fM1(s, M1 * std::sin(most.beta));
}

// The shock of the continuous solution for the back pressure; within a
// rounding of either end of its range, the shock at that end.
ExactShock continuousShock(const FlowState& s)
{
    if (const auto shock = exactShockPosition(s, s.PePo)) return *shock;
    return shockStandingAt(s, s.PePo > s.PePo_NS + (s.PePo_sub - s.PePo_NS) / 2 ? 1.0 : s.AAe);
}

void exitExpansion(FlowState& s, CalcResult& out, double xe, double ye, double L)
{
    Marks& marks = out.marks;
    setDesignExit(s);
    setExitJump(s, isentropicMachOfPressure(s, s.PePo), s.PePo);
    out.waves.nuExit = prandtlMeyer(s, s.M_max);
    out.waves.nuJet = prandtlMeyer(s, s.Me);

    // A Mach angle exists only for a supersonic flow; below Mach 1 the
    // cosine is undefined and that pair of waves is not drawn.
    const double s1 = 1 / s.M_max;
    const double c1 = std::sqrt(1 - s1 * s1);
    if (std::isfinite(c1)) addExitPair(marks, MarkColor::Blue, xe, ye, L, c1, s1);
    const double s2 = 1 / s.Me;
    const double c2 = std::sqrt(1 - s2 * s2);
    if (std::isfinite(c2)) addExitPair(marks, MarkColor::Blue, xe, ye, L, c2, s2);
}

} // namespace

void Calc_Flow(FlowState& s, const InputTexts& texts, CalcResult& out,
               const NotConvergedHandler& notConverged, StationCache* cache)
{
    Calc_Flow(s, readInputs(texts), out, notConverged, cache);
}

void Calc_Flow(FlowState& s, const InputNumbers& inputs, CalcResult& out,
               const NotConvergedHandler& notConverged, StationCache* cache)
{
    Report& report = out.report;
    Marks& marks = out.marks;
    marks.clear();
    out.waves = {};
    out.exactShock.reset();

    Lule_Geo(s, inputs, report);
    if (cache) cache->bind(s);
    s.PePo = inputs.PePo;
    const int conv = s.N_conv;
    const int tot = s.N_tot;

    if (s.PePo == 1) {
        for (int i = 1; i <= tot + 1; ++i) {
            s.M[i] = 0;
            s.PiPo[i] = 1;
        }
        setExitJump(s, s.M[tot], 1);
        out.regime = Regime::NoFlow;
        return;
    }

    // Convergent part.
    const bool subsonic = s.PePo > s.PePo_sub && s.PePo < 1;
    double R = 0; // A*/A_t of a flow that stays subsonic throughout
    if (subsonic) {
        const double Me_s = isentropicMachOfPressure(s, s.PePo);
        // Above the subsonic limit the sonic area lies below the throat's;
        // a rounding within a hair of the limit (or of a back pressure of 1,
        // where the exit Mach number loses its digits) must not put it
        // above, where the throat would turn supersonic.
        R = std::min(1.0, s.AAe / AAfM(s, Me_s));
        for (int i = 1; i <= conv; ++i) {
            s.M[i] = M_iter(s, s.AA[i] / R, 1, kSesAlti, notConverged);
            s.PiPo[i] = 1 / PoP(s, s.M[i]);
        }
    } else {
        for (int i = 1; i <= conv; ++i) {
            s.M[i] = chokedSubsonicMachAt(s, i, notConverged, cache);
            s.PiPo[i] = 1 / PoP(s, s.M[i]);
        }
    }

    // Divergent part.
    DivergentStage stage = DivergentStage::None;
    double shockM2 = 0; // Mach number behind the shock stage's jump
    if (subsonic) {
        stage = DivergentStage::Subsonic;
        for (int i = conv + 1; i <= tot; ++i) {
            s.M[i] = M_iter(s, s.AA[i] / R, 1, kSesAlti, notConverged);
            s.PiPo[i] = 1 / PoP(s, s.M[i]);
        }
        closeSubsonicSolution(s);
    } else if (s.PePo == s.PePo_sub) {
        stage = DivergentStage::Choked;
        for (int i = conv + 1; i <= tot; ++i) {
            s.M[i] = chokedSubsonicMachAt(s, i, notConverged, cache);
            s.PiPo[i] = 1 / PoP(s, s.M[i]);
        }
        closeSubsonicSolution(s);
    } else if (s.PePo < s.PePo_sub) {
        stage = DivergentStage::Shock;
        // Up to the top of the exit-shock band the divergent part is
        // supersonic throughout; the search, whose iteration errors can
        // otherwise stop a station or two early, runs only for a shock
        // inside.
        if (belowExitShockBandTop(s))
            s.i_NS = tot;
        else
            NS_icin_iterasyon(s, s.PePo, s.i_NS, notConverged, cache);
        for (int i = conv + 1; i <= s.i_NS; ++i) {
            s.M[i] = supersonicMachAt(s, i, notConverged, cache);
            s.PiPo[i] = 1 / PoP(s, s.M[i]);
        }
        const double M1 = s.M[s.i_NS];
        const double M2 = NS(s, M1);
        const double A2 = s.AA[s.i_NS] / AAfM(s, M2); // A2*/A_t
        report.append("A2*=", A2);
        const double r0 = stagnationPressureRatio(s, M1); // p02/p01
        const double P2 = PoP(s, M2);
        report.append("Po2/Po*=", r0);
        s.Me = M2;
        s.PePo_e = r0 / P2;
        shockM2 = M2;
        if (s.PePo > s.PePo_NS) {
            marks.add({MarkColor::Red, s.x[s.i_NS], -s.y[s.i_NS], s.x[s.i_NS], s.y[s.i_NS]});
        }
        for (int i = s.i_NS + 1; i <= tot; ++i) {
            s.M[i] = M_iter(s, s.AA[i] / A2, 1, kSesAlti, notConverged);
            s.PiPo[i] = r0 / PoP(s, s.M[i]);
        }
        s.M[tot + 1] = s.M[tot];
        s.PiPo[tot + 1] = s.PiPo[tot];
    }

    // Exit stage. Only a flow that is supersonic behind the throat (the shock
    // stage ran) can leave through an exit wave: for a design Mach number
    // within about 2 % of 1 the normal-shock limit and its band reach above
    // the subsonic limit, where the flow stays subsonic throughout.
    const double xe = s.x[tot];
    const double ye = s.y[tot];
    const double L = s.AA[tot];
    const bool supersonicExit = stage == DivergentStage::Shock;
    if (supersonicExit && s.PePo > s.PePo_OS && s.PePo < s.PePo_NS) {
        obliqueExitShocks(s, out, xe, ye, L);
        out.regime = Regime::ObliqueExitShocks;
    } else if (supersonicExit && s.PePo >= s.PePo_NS && belowExitShockBandTop(s)) {
        // The jet leaves behind the normal shock drawn in the exit plane. The
        // flow that exists has it just inside (next to the throat for a
        // design Mach number near 1), with the jet at the back pressure.
        setExitJump(s, shockM2, s.PePo);
        out.regime = Regime::NormalShockAtExit;
        out.exactShock = continuousShock(s);
    } else if (supersonicExit && s.PePo < s.PePo_NS) {
        exitExpansion(s, out, xe, ye, L);
        out.regime = Regime::ExitExpansion;
    } else {
        switch (stage) {
        case DivergentStage::Subsonic: out.regime = Regime::SubsonicThroughout; break;
        case DivergentStage::Choked: out.regime = Regime::ChokedSubsonic; break;
        case DivergentStage::Shock:
            out.regime = Regime::NormalShockInside;
            out.exactShock = continuousShock(s);
            break;
        case DivergentStage::None: out.regime = Regime::NotClassified; break;
        }
    }
}

} // namespace cdnozzle
