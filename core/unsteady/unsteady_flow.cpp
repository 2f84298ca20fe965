// SPDX-License-Identifier: MIT
#include "unsteady/unsteady_flow.h"

#include "unsteady/portable_math.h"

#include "gas/area_mach.h"
#include "gas/isentropic.h"
#include "text/number_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

// The finite-volume step's loops also built for processors with wider
// vector units, chosen when the program starts.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
#define FAST_LOOPS __attribute__((target_clones("avx2", "default")))
#else
#define FAST_LOOPS
#endif

namespace cdnozzle {

namespace {

constexpr std::array kSchemeNames{
    std::pair{Scheme::MusclHllc, std::string_view("muscl-hllc")},
    std::pair{Scheme::Upwind, std::string_view("upwind")},
    std::pair{Scheme::MacCormack, std::string_view("maccormack")},
    std::pair{Scheme::MacCormackConservative, std::string_view("maccormack-conservative")}};
constexpr std::array kStartNames{std::pair{Start::Rest, std::string_view("rest")},
                                 std::pair{Start::Diaphragm, std::string_view("diaphragm")},
                                 std::pair{Start::Steady, std::string_view("steady")},
                                 std::pair{Start::Textbook, std::string_view("textbook")}};

// A name from a table of (value, name) pairs, and back; the first row's
// name for a value the table lacks.
template <class E, std::size_t N>
std::string_view nameIn(const std::array<std::pair<E, std::string_view>, N>& names, E value)
{
    for (const auto& [v, name] : names)
        if (v == value) return name;
    return names[0].second;
}

template <class E, std::size_t N>
std::optional<E> namedIn(const std::array<std::pair<E, std::string_view>, N>& names,
                         std::string_view name)
{
    for (const auto& [v, n] : names)
        if (n == name) return v;
    return std::nullopt;
}

bool isMacCormack(Scheme s)
{
    return s == Scheme::MacCormack || s == Scheme::MacCormackConservative;
}

double vanLeer(double a, double b)
{
    const double ab = a * b;
    return ab > 0 ? 2 * ab / (a + b) : 0;
}

struct Flux {
    double m, mom, e;
};

// HLLC flux of the Euler equations per unit area (Toro, ch. 10), with the
// wave speeds of Davis; ik1 is 1 / (k - 1). Every case is worked out and the
// one that holds is chosen, without a branch, so that the loop over the
// faces runs on several at once; four divisions a face.
inline Flux hllc(double k, double ik1, double rl, double ul, double pl, double rr, double ur,
                 double pr)
{
    const double irl = 1 / rl, irr = 1 / rr;
    const double al = std::sqrt(k * pl * irl), ar = std::sqrt(k * pr * irr);
    const double el = pl * ik1 + 0.5 * rl * ul * ul;
    const double er = pr * ik1 + 0.5 * rr * ur * ur;
    const double sl = std::min(ul - al, ur - ar);
    const double sr = std::max(ul + al, ur + ar);
    const double ml = rl * (sl - ul), mr = rr * (sr - ur);
    const double ss = (pr - pl + ml * ul - mr * ur) / (ml - mr);
    // The star state on the contact's side of the face: its energy
    // E* = c (E/rho + (s* - u)(s* + p / (rho (s - u)))) with
    // c = rho (s - u) / (s - s*), the last term as (s* - u) p / (s - s*).
    const bool left = ss >= 0;
    const double r = left ? rl : rr, u = left ? ul : ur, p = left ? pl : pr;
    const double e = left ? el : er, ir = left ? irl : irr, s = left ? sl : sr;
    const double is = 1 / (s - ss);
    const double c = (left ? ml : mr) * is;
    const double em = c * (e * ir + (ss - u) * ss) + (ss - u) * p * is;
    const double Fm = r * u, Fmom = r * u * u + p, Fe = (e + p) * u;
    const double sm = Fm + s * (c - r), smom = Fmom + s * (c * ss - r * u), se = Fe + s * (em - e);
    const bool allLeft = sl >= 0, allRight = sr <= 0;
    return {allLeft    ? rl * ul
            : allRight ? rr * ur
                       : sm,
            allLeft    ? rl * ul * ul + pl
            : allRight ? rr * ur * ur + pr
                       : smom,
            allLeft    ? (el + pl) * ul
            : allRight ? (er + pr) * ur
                       : se};
}

// Above any figure a flow can reach; a sum above it holds an infinity or a NaN.
constexpr double kHuge = 1e300;

bool good(double v)
{
    return std::isfinite(v) && v > 0;
}

template <class P> Flux physicalFlux(double k, const P& w)
{
    const double e = w.p / (k - 1) + 0.5 * w.rho * w.u * w.u;
    return {w.rho * w.u, w.rho * w.u * w.u + w.p, (e + w.p) * w.u};
}

} // namespace

std::string_view schemeName(Scheme s)
{
    return nameIn(kSchemeNames, s);
}

std::optional<Scheme> schemeOfName(std::string_view name)
{
    return namedIn(kSchemeNames, name);
}

double courantLimit(Scheme)
{
    return 1;
}

std::string_view startName(Start s)
{
    return nameIn(kStartNames, s);
}

std::optional<Start> startOfName(std::string_view name)
{
    return namedIn(kStartNames, name);
}

std::string_view eventName(FlowEventKind e)
{
    switch (e) {
    case FlowEventKind::ThroatChokes: return "the throat chokes";
    case FlowEventKind::ShockPassesThroat: return "a shock passes the throat";
    case FlowEventKind::ShockLeavesExit: return "a shock leaves the exit";
    case FlowEventKind::Steady: return "steady";
    case FlowEventKind::BrokeDown: return "broke down";
    }
    return "steady";
}

std::optional<std::string> validateUnsteadySettings(const UnsteadySettings& s)
{
    if (s.cells < kMinCells || s.cells > kMaxCells)
        return "The number of cells must be a whole number from " + std::to_string(kMinCells) +
               " to " + std::to_string(kMaxCells) + " (got " + std::to_string(s.cells) + ")";
    const double limit = courantLimit(s.scheme);
    if (!(s.courant > 0) || !(s.courant <= limit))
        return "The Courant number must be above 0 and at most " + formatGeneral(limit) +
               ", where " + std::string(schemeName(s.scheme)) + " is stable (got " +
               (std::isfinite(s.courant) ? formatGeneral(s.courant) : std::string("no number")) +
               ")";
    if (!(s.artificialViscosity >= 0) || !(s.artificialViscosity <= 1))
        return "The artificial viscosity Cx must be from 0 to 1 (got " +
               (std::isfinite(s.artificialViscosity) ? formatGeneral(s.artificialViscosity)
                                                     : std::string("no number")) +
               ")";
    return std::nullopt;
}

UnsteadyFlow::UnsteadyFlow(const Gas& gas, Contour contour, const UnsteadySettings& settings,
                           double pb, Start start, double fromPb)
    : gas_(gas), contour_(std::move(contour)), settings_(settings), pb_(pb)
{
    setUp();
    fillFromStart(start, fromPb);
    noteStartingState();
    record();
}

UnsteadyFlow::UnsteadyFlow(const Gas& gas, Contour contour, const UnsteadySettings& settings,
                           EndKind inlet, EndKind outlet, const std::vector<GasState>& initial,
                           double pb)
    : gas_(gas), contour_(std::move(contour)), settings_(settings), inlet_(inlet), outlet_(outlet),
      pb_(pb)
{
    setUp();
    for (int i = 0; i < n_; ++i)
        storeCell(
            i,
            initial.empty()
                ? GasState{1, 0, 1 / gas_.k}
                : initial[std::min<std::size_t>(static_cast<std::size_t>(i), initial.size() - 1)]);
    noteStartingState();
    record();
}

// A cell's state in the variables the scheme keeps.
void UnsteadyFlow::storeCell(int i, const GasState& s)
{
    const double k = gas_.k;
    const double A = ac_[i];
    const double T = k * s.p / s.rho;
    if (settings_.scheme == Scheme::MacCormack) {
        r_[i] = s.rho;
        v_[i] = s.u;
        T_[i] = T;
    } else if (settings_.scheme == Scheme::MacCormackConservative) {
        u1_[i] = s.rho * A;
        u2_[i] = s.rho * A * s.u;
        u3_[i] = s.rho * A * (T / (k - 1) + k / 2 * s.u * s.u);
    } else {
        u1_[i] = s.rho * A;
        u2_[i] = s.rho * s.u * A;
        u3_[i] = (s.p / (k - 1) + 0.5 * s.rho * s.u * s.u) * A;
    }
}

// A start that is already choked, or already holds a shock, is no event.
void UnsteadyFlow::noteStartingState()
{
    choked_ = cell(throatCell_).M >= 0.99;
    shock_ = shockPosition();
}

void UnsteadyFlow::setUp()
{
    n_ = settings_.cells;
    const auto N = static_cast<std::size_t>(n_);
    x_.assign(N, 0);
    ac_.assign(N, 1);
    af_.assign(N + 1, 1);
    const double L = contour_.length();
    const double x0 = contour_.xBegin;
    if (isMacCormack(settings_.scheme)) {
        dx_ = L / (n_ - 1);
        for (int i = 0; i < n_; ++i) {
            x_[i] = i == n_ - 1 ? contour_.xEnd : x0 + i * dx_;
            ac_[i] = contour_.area(x_[i]);
        }
        r_.assign(N, 1);
        v_.assign(N, 0);
        T_.assign(N, 1);
        lnA_.resize(N);
        for (std::size_t i = 0; i < N; ++i) lnA_[i] = portableLog(ac_[i]);
    } else {
        dx_ = L / n_;
        for (int f = 0; f <= n_; ++f)
            af_[f] = contour_.area(f == n_ ? contour_.xEnd : x0 + f * dx_);
        for (int i = 0; i < n_; ++i) {
            x_[i] = x0 + (i + 0.5) * dx_;
            ac_[i] = contour_.area(x_[i]);
        }
        // The source p dA/dx integrated over the cell with p linear in x:
        // p_mean (A_right - A_left) + dp (A_face_mean - A_cell_mean). The
        // second term is small but leaves, without it, a gain of stagnation
        // pressure where the area curves strongly (near the inlet), which a
        // slow subsonic exit turns into a mass flow a tenth of a percent too
        // high. The cell's mean area by Simpson's rule on eight parts.
        bend_.assign(N, 0);
        for (int i = 0; i < n_; ++i) {
            const double a = x0 + i * dx_, h = dx_ / 8;
            double sum = af_[i] + af_[i + 1];
            for (int j = 1; j < 8; ++j) sum += (j % 2 ? 4 : 2) * contour_.area(a + j * h);
            bend_[i] = 0.5 * (af_[i] + af_[i + 1]) - sum / 24;
        }
    }
    u1_.assign(N, 0);
    u2_.assign(N, 0);
    u3_.assign(N, 0);
    iac_.resize(N);
    for (std::size_t i = 0; i < N; ++i) iac_[i] = 1 / ac_[i];
    for (auto* v : {&cr_, &cu_, &cp_, &cir_, &cc_, &lr_, &lu_, &lp_, &rr_, &ru_, &rp_})
        v->assign(N + 2, 1);
    for (auto* v : {&f1_, &f2_, &f3_}) v->assign(N + 1, 0);
    for (auto* v : {&pbar_, &pslope_, &s1_, &s2_, &s3_, &mass_, &momentum_, &energy_, &vel_})
        v->assign(N, 0);
    throatCell_ = 0;
    while (throatCell_ < n_ - 1 && x_[throatCell_] < contour_.throatX) ++throatCell_;
}

void UnsteadyFlow::fillFromStart(Start start, double fromPb)
{
    const double k = gas_.k;
    const Contour& c = contour_;
    const SteadyFlow steady = steadyFlow(gas_, c, fromPb);
    const bool shockCase = pb_ > steadyFlow(gas_, c, pb_).designPressure;
    std::vector<GasState> states(static_cast<std::size_t>(n_));
    for (int i = 0; i < n_; ++i) {
        const double x = x_[i];
        GasState& s = states[i];
        double T = 1;
        switch (start) {
        case Start::Rest: s = {pb_, 0, pb_ / k}; break;
        case Start::Diaphragm:
            s = x < c.throatX ? GasState{1, 0, 1 / k} : GasState{pb_, 0, pb_ / k};
            break;
        case Start::Steady: {
            const SteadyPoint p = steadyPointAt(gas_, c, steady, x);
            const double p0 = p.p * PoP(gas_, p.M); // the local stagnation pressure
            T = 1 / (1 + gas_.km1_2 * p.M * p.M);
            s.rho = p.p / T;
            s.p = p.p / k;
            s.u = p.M * std::sqrt(T);
            (void)p0;
            break;
        }
        case Start::Textbook: {
            // The textbook's guesses, in x scaled to its nozzle of length 3:
            // lines for the non-conservation form without a shock; pieces
            // carrying a mass flow of 0.59 for the conservation form, and
            // for either form with a shock, where the last piece bends at
            // the shock's place. (The conservation form without smoothing,
            // started from the lines, keeps a jump at the sonic throat that
            // grows until it breaks down.)
            const double xt = 3 * (x - c.xBegin) / c.length();
            double rho = 1;
            if (!shockCase && settings_.scheme != Scheme::MacCormackConservative) {
                rho = 1 - 0.3146 * xt;
                T = 1 - 0.2314 * xt;
                s.u = (0.1 + 1.09 * xt) * std::sqrt(T);
            } else {
                if (xt <= 0.5) {
                    rho = 1;
                    T = 1;
                } else if (xt <= 1.5) {
                    rho = 1 - 0.366 * (xt - 0.5);
                    T = 1 - 0.167 * (xt - 0.5);
                } else if (!shockCase) {
                    rho = 0.634 - 0.3879 * (xt - 1.5);
                    T = 0.833 - 0.3507 * (xt - 1.5);
                } else if (xt <= 2.1) {
                    rho = 0.634 - 0.702 * (xt - 1.5);
                    T = 0.833 - 0.4908 * (xt - 1.5);
                } else {
                    rho = 0.5892 + 0.10228 * (xt - 2.1);
                    T = 0.93968 + 0.0622 * (xt - 2.1);
                }
                s.u = 0.59 / (rho * ac_[i]);
            }
            s.rho = rho;
            s.p = rho * T / k;
            break;
        }
        }
    }
    for (int i = 0; i < n_; ++i) storeCell(i, states[i]);
    if (isMacCormack(settings_.scheme)) macCormackEnds();
}

void UnsteadyFlow::setBackPressure(double pb)
{
    if (!(pb > 0) || !(pb <= 1) || pb == pb_) return;
    pb_ = pb;
    steady_ = false;
}

UnsteadyFlow::Prim UnsteadyFlow::prim(int i) const
{
    const double k = gas_.k;
    if (settings_.scheme == Scheme::MacCormack) return {r_[i], v_[i], r_[i] * T_[i] / k};
    if (settings_.scheme == Scheme::MacCormackConservative) {
        const double rho = u1_[i] / ac_[i];
        const double V = u2_[i] / u1_[i];
        const double T = (k - 1) * (u3_[i] / u1_[i] - k / 2 * V * V);
        return {rho, V, rho * T / k};
    }
    const double rho = u1_[i] / ac_[i];
    const double u = u2_[i] / u1_[i];
    return {rho, u, (k - 1) * (u3_[i] / ac_[i] - 0.5 * rho * u * u)};
}

CellValues UnsteadyFlow::cell(int i) const
{
    const double k = gas_.k;
    const Prim w = prim(i);
    CellValues c;
    c.x = x_[i];
    c.area = ac_[i] / contour_.throatArea;
    c.rho = w.rho;
    c.u = w.u;
    c.p = k * w.p;
    c.T = k * w.p / w.rho;
    c.M = w.u / std::sqrt(c.T);
    // rho* a* = (2/(k+1))^(1/(k-1)) * sqrt(2/(k+1)) in reservoir units.
    const double starFlux = portablePow(gas_.k2_kp1, 1 / (k - 1)) * std::sqrt(gas_.k2_kp1);
    c.mdot = w.rho * w.u * c.area / starFlux;
    return c;
}

std::vector<CellValues> UnsteadyFlow::cells() const
{
    std::vector<CellValues> out(static_cast<std::size_t>(n_));
    for (int i = 0; i < n_; ++i) out[i] = cell(i);
    return out;
}

double UnsteadyFlow::totalMass() const
{
    double m = 0;
    for (int i = 0; i < n_; ++i) m += prim(i).rho * ac_[i];
    if (!isMacCormack(settings_.scheme)) {
        m = 0;
        for (int i = 0; i < n_; ++i) m += u1_[i];
    }
    return m * dx_;
}

double UnsteadyFlow::totalEnergy() const
{
    double e = 0;
    for (int i = 0; i < n_; ++i) {
        if (isMacCormack(settings_.scheme)) {
            const Prim w = prim(i);
            e += (w.p / (gas_.k - 1) + 0.5 * w.rho * w.u * w.u) * ac_[i];
        } else {
            e += u3_[i];
        }
    }
    return e * dx_;
}

bool UnsteadyFlow::valid() const
{
    for (int i = 0; i < n_; ++i) {
        const Prim w = prim(i);
        if (!good(w.rho) || !good(w.p) || !std::isfinite(w.u)) return false;
    }
    return true;
}

// The ghost cells before the first cell and after the last (e.in, e.out),
// and the states at the inlet
// and outlet faces where the flux is taken from the boundary's own state
// (the reservoir; the back pressure of a subsonic outflow) instead of a
// Riemann problem, whose upwind dissipation would spoil the slow inflow.
void UnsteadyFlow::boundaryGhosts(Ends& e)
{
    const double k = gas_.k;
    const std::size_t n = static_cast<std::size_t>(n_);
    auto mirror = [](const Prim& face, const Prim& cell) {
        const Prim m{2 * face.rho - cell.rho, 2 * face.u - cell.u, 2 * face.p - cell.p};
        return good(m.rho) && good(m.p) ? m : face;
    };
    const Prim& first = e.first;
    inletFace_.reset();
    outletFace_.reset();
    switch (inlet_) {
    case EndKind::Reservoir: {
        // p0 and T0 held; the velocity extrapolated from the first cells, at
        // most sonic.
        const double umax = std::sqrt(gas_.k2_kp1);
        // rho u A hardly changes where the flow is slow: extrapolated as u A.
        const double uA =
            n > 1 ? 1.5 * first.u * ac_[0] - 0.5 * e.second.u * ac_[1] : first.u * ac_[0];
        const double u = std::clamp(uA / af_[0], -umax, umax);
        const double T = 1 - gas_.km1_2 * u * u;
        const double rho = portablePow(T, 1 / (k - 1));
        const Prim face{rho, u, rho * T / k};
        // While the gas next to the inlet is far from the reservoir's state
        // (the valve just opened) the Riemann problem decides the flux.
        if (std::abs(first.p - face.p) < 0.1 * face.p) inletFace_ = face;
        e.in = mirror(face, first);
        break;
    }
    case EndKind::Wall: e.in = {first.rho, -first.u, first.p}; break;
    default: e.in = first; break;
    }
    const Prim& last = e.last;
    Prim& out = e.out;
    switch (outlet_) {
    case EndKind::BackPressure: {
        const auto sound = [k](const Prim& w) { return std::sqrt(k * w.p / w.rho); };
        const bool lastSubsonic = last.u < sound(last);
        const bool beforeSubsonic = n < 2 || e.beforeLast.u < sound(e.beforeLast);
        // A back pressure below what a normal shock in the supersonic flow
        // reaching the exit gives (that of the cell four before the last,
        // ahead of a shock captured in the last cells) holds no shock at the
        // exit: the outflow is supersonic, and a shock in the last cells is
        // swept out by a ghost with the supersonic flow ahead of it.
        const double Mahead2 = e.ahead.u * e.ahead.u / (k * e.ahead.p / e.ahead.rho);
        const bool sweptOut = Mahead2 > 1 && e.ahead.u > 0 &&
                              pb_ / k < e.ahead.p * (1 + 2 * k / (k + 1) * (Mahead2 - 1));
        // A supersonic flow still expanding through the last two cells: the
        // ghost continues their line. Never a line across a shock, which
        // would raise the pressure behind it and drive it back in, again
        // and again.
        const bool expanding = !lastSubsonic && !beforeSubsonic && last.p <= e.beforeLast.p;
        out = sweptOut && !expanding ? e.ahead : mirror(last, e.beforeLast);
        // Otherwise the back pressure is imposed where the last cell is
        // subsonic or the pressure rises into it (a shock it holds there).
        if (!sweptOut && (lastSubsonic || last.p > e.beforeLast.p)) {
            Prim face{1.5 * last.rho - 0.5 * e.beforeLast.rho, 1.5 * last.u - 0.5 * e.beforeLast.u,
                      pb_ / k};
            if (!good(face.rho)) face.rho = last.rho;
            // Far from the back pressure (a shock arriving, the bars moved)
            // the Riemann problem with the back pressure decides the flux.
            if (std::abs(last.p - face.p) < 0.1 * face.p) {
                outletFace_ = face;
                out = mirror(face, last);
            } else {
                out = {last.rho, last.u, face.p};
            }
        }
        break;
    }
    case EndKind::Wall: out = {last.rho, -last.u, last.p}; break;
    default: out = last; break;
    }
}

namespace {

// The loops of a finite-volume step, each over arrays that do not overlap
// and free of branches, so that the compiler runs it on several cells at
// once; every cell's figures are those of a cell-by-cell loop to the bit.
// Cells are 1..n in R, U, P (density, velocity, pressure) with ghosts at 0
// and n+1; the conserved q1..q3 and the areas are 0..n-1.

// Density, velocity, pressure and 1 / density of the cells.
FAST_LOOPS void primitives(int n, double k, const double* __restrict q1,
                           const double* __restrict q2, const double* __restrict q3,
                           const double* __restrict ac, const double* __restrict iac,
                           double* __restrict R, double* __restrict U, double* __restrict P,
                           double* __restrict IR)
{
    for (int i = 0; i < n; ++i) {
        const double rho = q1[i] * iac[i];
        const double iu1 = 1 / q1[i];
        const double u = q2[i] * iu1;
        R[i + 1] = rho;
        U[i + 1] = u;
        P[i + 1] = (k - 1) * (q3[i] * iac[i] - 0.5 * rho * u * u);
        IR[i + 1] = ac[i] * iu1;
    }
}

// The largest |u| + a of cells and ghosts.
FAST_LOOPS double fastestWave(int n, double k, const double* __restrict U,
                              const double* __restrict P, const double* __restrict IR,
                              double* __restrict C)
{
    for (int g = 0; g <= n + 1; ++g) C[g] = std::abs(U[g]) + std::sqrt(k * P[g] * IR[g]);
    double top[4] = {0, 0, 0, 0};
    int g = 0;
    for (; g + 3 <= n + 1; g += 4)
        for (int j = 0; j < 4; ++j) top[j] = std::max(top[j], C[g + j]);
    for (; g <= n + 1; ++g) top[0] = std::max(top[0], C[g]);
    return std::max(std::max(top[0], top[1]), std::max(top[2], top[3]));
}

// MUSCL-Hancock: each cell's states at its left (l) and right (r) faces
// after half a step, van Leer's slopes; pbar and pslope the cell's mean
// pressure and its slope for the area's source.
FAST_LOOPS void reconstruct(int n, double k, double half, const double* __restrict R,
                            const double* __restrict U, const double* __restrict P,
                            const double* __restrict IR, const double* __restrict af,
                            const double* __restrict iac, double* __restrict lr,
                            double* __restrict lu, double* __restrict lp, double* __restrict rr,
                            double* __restrict ru, double* __restrict rp, double* __restrict pbar,
                            double* __restrict pslope)
{
    for (int c = 1; c <= n; ++c) {
        const int i = c - 1;
        // The slopes flattened in a strong shock (compressed, the pressures
        // of the neighbours three to five times apart and more): its
        // second-order cells never settle on one place but rock between
        // two, and the waves they send downstream keep the flow from
        // becoming steady. Flattened by degrees, so that no cell switches
        // between orders from one step to the next, and not next to an end.
        const double jump = std::abs(P[c + 1] - P[c - 1]) / std::min(P[c - 1], P[c + 1]);
        const bool flatten = (U[c + 1] < U[c - 1]) & (c > 1) & (c < n);
        const double keep = flatten ? std::min(std::max(2 - jump, 0.0), 1.0) : 1.0;
        const double dr = keep * vanLeer(R[c] - R[c - 1], R[c + 1] - R[c]);
        const double du = keep * vanLeer(U[c] - U[c - 1], U[c + 1] - U[c]);
        const double dp = keep * vanLeer(P[c] - P[c - 1], P[c + 1] - P[c]);
        const double g1 = U[c] * (af[i + 1] - af[i]) * iac[i]; // u dlnA/dx * dx
        const double rt = -half * (U[c] * dr + R[c] * du + R[c] * g1);
        const double ut = -half * (U[c] * du + dp * IR[c]);
        const double pt = -half * (k * P[c] * du + U[c] * dp + k * P[c] * g1);
        const double Lr = R[c] - 0.5 * dr + rt, Lu = U[c] - 0.5 * du + ut,
                     Lp = P[c] - 0.5 * dp + pt;
        const double Rr = R[c] + 0.5 * dr + rt, Ru = U[c] + 0.5 * du + ut,
                     Rp = P[c] + 0.5 * dp + pt;
        // A state that would not be physical falls back on the cell's own.
        const bool fine = (Lr > 0) & (Lp > 0) & (Rr > 0) & (Rp > 0) & (Lr + Lp + Rr + Rp < kHuge);
        lr[c] = fine ? Lr : R[c];
        lu[c] = fine ? Lu : U[c];
        lp[c] = fine ? Lp : P[c];
        rr[c] = fine ? Rr : R[c];
        ru[c] = fine ? Ru : U[c];
        rp[c] = fine ? Rp : P[c];
        pbar[i] = fine ? 0.5 * (Lp + Rp) : P[c];
        pslope[i] = dp;
    }
}

// The HLLC fluxes per unit area of faces 0..n, between the right state of
// the cell before (rr, ru, rp at f) and the left state of the cell after
// (lr, lu, lp at f + 1).
FAST_LOOPS void fluxes(int n, double k, double ik1, const double* __restrict rr,
                       const double* __restrict ru, const double* __restrict rp,
                       const double* __restrict lr, const double* __restrict lu,
                       const double* __restrict lp, double* __restrict f1, double* __restrict f2,
                       double* __restrict f3)
{
    for (int f = 0; f <= n; ++f) {
        const Flux F = hllc(k, ik1, rr[f], ru[f], rp[f], lr[f + 1], lu[f + 1], lp[f + 1]);
        f1[f] = F.m;
        f2[f] = F.mom;
        f3[f] = F.e;
    }
}

// The new conserved state n1..n3 from the old q1..q3, the fluxes (times
// the face areas here) and the area's source.
FAST_LOOPS void update(int n, double r, const double* __restrict q1, const double* __restrict q2,
                       const double* __restrict q3, double* __restrict f1, double* __restrict f2,
                       double* __restrict f3, const double* __restrict af,
                       const double* __restrict pbar, const double* __restrict pslope,
                       const double* __restrict bend, double* __restrict n1, double* __restrict n2,
                       double* __restrict n3)
{
    for (int f = 0; f <= n; ++f) {
        f1[f] *= af[f];
        f2[f] *= af[f];
        f3[f] *= af[f];
    }
    for (int i = 0; i < n; ++i) {
        n1[i] = q1[i] - r * (f1[i + 1] - f1[i]);
        n2[i] = q2[i] - r * (f2[i + 1] - f2[i]) +
                r * (pbar[i] * (af[i + 1] - af[i]) + pslope[i] * bend[i]);
        n3[i] = q3[i] - r * (f3[i + 1] - f3[i]);
    }
}

// Whether the new state n1..n3 has a positive, finite density and pressure
// everywhere (rho A > 0 and 2 (rho A)(E A) > (rho u A)^2); its velocities;
// the sum of the squared changes from q1..q3.
FAST_LOOPS bool checkNew(int n, const double* __restrict n1, const double* __restrict n2,
                         const double* __restrict n3, const double* __restrict q1,
                         const double* __restrict q2, const double* __restrict q3,
                         double* __restrict vel, double& change)
{
    double sum[4] = {0, 0, 0, 0};
    int bad = 0;
    int i = 0;
    for (; i + 4 <= n; i += 4)
        for (int j = 0; j < 4; ++j) {
            const double m = n1[i + j], mu = n2[i + j], e = n3[i + j];
            const double u = mu / m;
            bad |= !((m > 0) & (2 * m * e - mu * mu > 0) & (m + e < kHuge) & (std::abs(u) < kHuge));
            vel[i + j] = u;
            const double d1 = m - q1[i + j], d2 = mu - q2[i + j], d3 = e - q3[i + j];
            sum[j] += d1 * d1 + d2 * d2 + d3 * d3;
        }
    for (; i < n; ++i) {
        const double m = n1[i], mu = n2[i], e = n3[i];
        const double u = mu / m;
        bad |= !((m > 0) & (2 * m * e - mu * mu > 0) & (m + e < kHuge) & (std::abs(u) < kHuge));
        vel[i] = u;
        const double d1 = m - q1[i], d2 = mu - q2[i], d3 = e - q3[i];
        sum[0] += d1 * d1 + d2 * d2 + d3 * d3;
    }
    change = (sum[0] + sum[1]) + (sum[2] + sum[3]);
    return bad == 0;
}

} // namespace

bool UnsteadyFlow::stepFiniteVolume(bool secondOrder)
{
    const double k = gas_.k, ik1 = 1 / (k - 1);
    const int n = n_;
    double* R = cr_.data();
    double* U = cu_.data();
    double* P = cp_.data();
    double* IR = cir_.data();
    primitives(n, k, u1_.data(), u2_.data(), u3_.data(), ac_.data(), iac_.data(), R, U, P, IR);
    Ends ends{{},
              {R[1], U[1], P[1]},
              {R[2], U[2], P[2]},
              {R[std::max(1, n - 4)], U[std::max(1, n - 4)], P[std::max(1, n - 4)]},
              {R[n - 1], U[n - 1], P[n - 1]},
              {R[n], U[n], P[n]},
              {}};
    boundaryGhosts(ends);
    for (auto [g, w] : {std::pair{0, ends.in}, std::pair{n + 1, ends.out}}) {
        R[g] = w.rho;
        U[g] = w.u;
        P[g] = w.p;
        IR[g] = 1 / w.rho;
    }
    const double smax = fastestWave(n, k, U, P, IR, cc_.data());
    courantDt_ = settings_.courant * dx_ / smax;
    const double dt = std::min(courantDt_, dtLimit_);
    lastDt_ = dt;
    for (int e : {0, n + 1}) {
        lr_[e] = rr_[e] = R[e];
        lu_[e] = ru_[e] = U[e];
        lp_[e] = rp_[e] = P[e];
    }
    if (secondOrder) {
        reconstruct(n, k, 0.5 * dt / dx_, R, U, P, IR, af_.data(), iac_.data(), lr_.data(),
                    lu_.data(), lp_.data(), rr_.data(), ru_.data(), rp_.data(), pbar_.data(),
                    pslope_.data());
    } else {
        for (int c = 1; c <= n; ++c) {
            lr_[c] = rr_[c] = R[c];
            lu_[c] = ru_[c] = U[c];
            lp_[c] = rp_[c] = P[c];
            pbar_[c - 1] = P[c];
            pslope_[c - 1] = 0;
        }
    }
    fluxes(n, k, ik1, rr_.data(), ru_.data(), rp_.data(), lr_.data(), lu_.data(), lp_.data(),
           f1_.data(), f2_.data(), f3_.data());
    for (int f : {0, n}) {
        const std::optional<Prim>& edge = f == 0 ? inletFace_ : outletFace_;
        if (edge) {
            const Flux F = physicalFlux(k, *edge);
            f1_[f] = F.m;
            f2_[f] = F.mom;
            f3_[f] = F.e;
        }
        // Nothing but pressure crosses a wall.
        if ((f == 0 && inlet_ == EndKind::Wall) || (f == n && outlet_ == EndKind::Wall))
            f1_[f] = f3_[f] = 0;
    }
    update(n, dt / dx_, u1_.data(), u2_.data(), u3_.data(), f1_.data(), f2_.data(), f3_.data(),
           af_.data(), pbar_.data(), pslope_.data(), bend_.data(), s1_.data(), s2_.data(),
           s3_.data());
    double change = 0;
    if (!checkNew(n, s1_.data(), s2_.data(), s3_.data(), u1_.data(), u2_.data(), u3_.data(),
                  vel_.data(), change))
        return false;
    std::swap(u1_, s1_);
    std::swap(u2_, s2_);
    std::swap(u3_, s3_);
    afterStep(dt, change / (contour_.throatArea * contour_.throatArea));
    return true;
}

void UnsteadyFlow::macCormackEndValues()
{
    const int N = n_ - 1;
    const double k = gas_.k;
    auto lin = [](double a, double b) { return 2 * a - b; };
    if (settings_.scheme == Scheme::MacCormack) {
        if (inlet_ == EndKind::Reservoir) {
            r_[0] = 1;
            T_[0] = 1;
            v_[0] = lin(v_[1], v_[2]);
        } else {
            r_[0] = r_[1];
            T_[0] = T_[1];
            v_[0] = inlet_ == EndKind::Wall ? 0 : v_[1];
        }
        if (outlet_ == EndKind::BackPressure) {
            v_[N] = lin(v_[N - 1], v_[N - 2]);
            T_[N] = lin(T_[N - 1], T_[N - 2]);
            if (v_[N - 1] < std::sqrt(std::max(T_[N - 1], 0.0)))
                r_[N] = pb_ / T_[N];
            else
                r_[N] = lin(r_[N - 1], r_[N - 2]);
        } else {
            r_[N] = r_[N - 1];
            T_[N] = T_[N - 1];
            v_[N] = outlet_ == EndKind::Wall ? 0 : v_[N - 1];
        }
        return;
    }
    if (inlet_ == EndKind::Reservoir) {
        u1_[0] = ac_[0];
        u2_[0] = lin(u2_[1], u2_[2]);
        const double V = u2_[0] / u1_[0];
        u3_[0] = u1_[0] * (1 / (k - 1) + k / 2 * V * V);
    } else {
        u1_[0] = u1_[1] * ac_[0] / ac_[1];
        u2_[0] = inlet_ == EndKind::Wall ? 0 : u2_[1] * ac_[0] / ac_[1];
        u3_[0] = u3_[1] * ac_[0] / ac_[1];
    }
    if (outlet_ == EndKind::BackPressure) {
        const Prim w = prim(N - 1);
        u1_[N] = lin(u1_[N - 1], u1_[N - 2]);
        u2_[N] = lin(u2_[N - 1], u2_[N - 2]);
        if (w.u < std::sqrt(k * w.p / w.rho)) {
            const double V = u2_[N] / u1_[N];
            u3_[N] = pb_ * ac_[N] / (k - 1) + k / 2 * u2_[N] * V;
        } else {
            u3_[N] = lin(u3_[N - 1], u3_[N - 2]);
        }
    } else {
        u1_[N] = u1_[N - 1] * ac_[N] / ac_[N - 1];
        u2_[N] = outlet_ == EndKind::Wall ? 0 : u2_[N - 1] * ac_[N] / ac_[N - 1];
        u3_[N] = u3_[N - 1] * ac_[N] / ac_[N - 1];
    }
}

void UnsteadyFlow::macCormackEnds()
{
    macCormackEndValues();
    // An extrapolation that leaves no gas (a steep start) takes the
    // neighbour's values instead.
    for (const auto& [end, from] : {std::pair{0, 1}, std::pair{n_ - 1, n_ - 2}}) {
        const Prim w = prim(end);
        if (good(w.rho) && good(w.p) && std::isfinite(w.u)) continue;
        if (settings_.scheme == Scheme::MacCormack) {
            r_[end] = r_[from];
            v_[end] = v_[from];
            T_[end] = T_[from];
        } else {
            const double scale = ac_[end] / ac_[from];
            u1_[end] = u1_[from] * scale;
            u2_[end] = u2_[from] * scale;
            u3_[end] = u3_[from] * scale;
        }
    }
}

bool UnsteadyFlow::stepMacCormack()
{
    const double k = gas_.k;
    const int n = n_;
    const double dx = dx_;
    double smax = 0;
    for (int i = 0; i < n; ++i) {
        const Prim w = prim(i);
        smax = std::max(smax, std::abs(w.u) + std::sqrt(k * w.p / w.rho));
    }
    courantDt_ = settings_.courant * dx / smax;
    const double dt = std::min(courantDt_, dtLimit_);
    // Keep the old state to undo a step that breaks down.
    const auto old1 = settings_.scheme == Scheme::MacCormack ? r_ : u1_;
    const auto old2 = settings_.scheme == Scheme::MacCormack ? v_ : u2_;
    const auto old3 = settings_.scheme == Scheme::MacCormack ? T_ : u3_;
    if (settings_.scheme == Scheme::MacCormack) {
        std::vector<double>& dr = s1_;
        std::vector<double>& dv = s2_;
        std::vector<double>& dT = s3_;
        std::vector<double> rb = r_, vb = v_, Tb = T_;
        for (int i = 1; i < n - 1; ++i) {
            const double dlnA = (lnA_[i + 1] - lnA_[i]) / dx;
            const double rx = (r_[i + 1] - r_[i]) / dx, vx = (v_[i + 1] - v_[i]) / dx,
                         Tx = (T_[i + 1] - T_[i]) / dx;
            dr[i] = -r_[i] * vx - r_[i] * v_[i] * dlnA - v_[i] * rx;
            dv[i] = -v_[i] * vx - 1 / k * (Tx + T_[i] / r_[i] * rx);
            dT[i] = -v_[i] * Tx - (k - 1) * T_[i] * (vx + v_[i] * dlnA);
            rb[i] = r_[i] + dr[i] * dt;
            vb[i] = v_[i] + dv[i] * dt;
            Tb[i] = T_[i] + dT[i] * dt;
        }
        for (int i = 1; i < n - 1; ++i) {
            const double dlnA = (lnA_[i] - lnA_[i - 1]) / dx;
            const double rx = (rb[i] - rb[i - 1]) / dx, vx = (vb[i] - vb[i - 1]) / dx,
                         Tx = (Tb[i] - Tb[i - 1]) / dx;
            const double drb = -rb[i] * vx - rb[i] * vb[i] * dlnA - vb[i] * rx;
            const double dvb = -vb[i] * vx - 1 / k * (Tx + Tb[i] / rb[i] * rx);
            const double dTb = -vb[i] * Tx - (k - 1) * Tb[i] * (vx + vb[i] * dlnA);
            r_[i] += 0.5 * (dr[i] + drb) * dt;
            v_[i] += 0.5 * (dv[i] + dvb) * dt;
            T_[i] += 0.5 * (dT[i] + dTb) * dt;
        }
    } else {
        const double Cx = settings_.artificialViscosity;
        auto fluxes = [&](const std::vector<double>& U1, const std::vector<double>& U2,
                          const std::vector<double>& U3, std::vector<double>& F1,
                          std::vector<double>& F2, std::vector<double>& F3,
                          std::vector<double>& p) {
            for (int i = 0; i < n; ++i) {
                const double q = U2[i] * U2[i] / U1[i];
                F1[i] = U2[i];
                F2[i] = q + (k - 1) / k * (U3[i] - k / 2 * q);
                F3[i] = k * U2[i] * U3[i] / U1[i] - k * (k - 1) / 2 * q * U2[i] / U1[i];
                const double V = U2[i] / U1[i];
                const double T = (k - 1) * (U3[i] / U1[i] - k / 2 * V * V);
                p[i] = U1[i] / ac_[i] * T;
            }
        };
        std::vector<double> F1(n), F2(n), F3(n), p(n), d1(n), d2(n), d3(n);
        fluxes(u1_, u2_, u3_, F1, F2, F3, p);
        std::vector<double> b1 = u1_, b2 = u2_, b3 = u3_;
        auto sensor = [&](const std::vector<double>& pp, int i) {
            i = std::clamp(i, 1, n - 2);
            return std::abs(pp[i + 1] - 2 * pp[i] + pp[i - 1]) /
                   (pp[i + 1] + 2 * pp[i] + pp[i - 1]);
        };
        // The smoothing written as the difference of two fluxes between
        // neighbours, each weighted by the mean of their two pressure
        // sensors. The sensor of the point times the second difference
        // (Cx S_i (U_{i+1} - 2 U_i + U_{i-1})) does not sum to zero over
        // the points where the sensor changes, across the shock, so each
        // step adds mass there; in the steady state the flow behind the
        // shock carried 9 % more mass than ahead of it.
        auto visc = [&](const std::vector<double>& U, const std::vector<double>& pp, int i) {
            const double right = 0.5 * (sensor(pp, i) + sensor(pp, i + 1));
            const double left = 0.5 * (sensor(pp, i - 1) + sensor(pp, i));
            return Cx * (right * (U[i + 1] - U[i]) - left * (U[i] - U[i - 1]));
        };
        for (int i = 1; i < n - 1; ++i) {
            const double J2 = 1 / k * p[i] * (ac_[i + 1] - ac_[i]) / dx;
            d1[i] = -(F1[i + 1] - F1[i]) / dx;
            d2[i] = -(F2[i + 1] - F2[i]) / dx + J2;
            d3[i] = -(F3[i + 1] - F3[i]) / dx;
            b1[i] = u1_[i] + d1[i] * dt + visc(u1_, p, i);
            b2[i] = u2_[i] + d2[i] * dt + visc(u2_, p, i);
            b3[i] = u3_[i] + d3[i] * dt + visc(u3_, p, i);
        }
        std::vector<double> G1(n), G2(n), G3(n), pb(n);
        fluxes(b1, b2, b3, G1, G2, G3, pb);
        std::vector<double> n1 = u1_, n2 = u2_, n3 = u3_;
        for (int i = 1; i < n - 1; ++i) {
            const double J2 = 1 / k * pb[i] * (ac_[i] - ac_[i - 1]) / dx;
            const double e1 = -(G1[i] - G1[i - 1]) / dx;
            const double e2 = -(G2[i] - G2[i - 1]) / dx + J2;
            const double e3 = -(G3[i] - G3[i - 1]) / dx;
            n1[i] = u1_[i] + 0.5 * (d1[i] + e1) * dt + visc(b1, pb, i);
            n2[i] = u2_[i] + 0.5 * (d2[i] + e2) * dt + visc(b2, pb, i);
            n3[i] = u3_[i] + 0.5 * (d3[i] + e3) * dt + visc(b3, pb, i);
        }
        u1_ = std::move(n1);
        u2_ = std::move(n2);
        u3_ = std::move(n3);
    }
    macCormackEnds();
    if (!valid()) {
        auto& a = settings_.scheme == Scheme::MacCormack ? r_ : u1_;
        auto& b = settings_.scheme == Scheme::MacCormack ? v_ : u2_;
        auto& c = settings_.scheme == Scheme::MacCormack ? T_ : u3_;
        a = old1;
        b = old2;
        c = old3;
        return false;
    }
    afterStep(dt, macCormackResidualSum());
    return true;
}

double UnsteadyFlow::macCormackResidualSum()
{
    const double k = gas_.k;
    double sum = 0;
    for (int i = 0; i < n_; ++i) {
        const Prim w = prim(i);
        const double A = ac_[i] / contour_.throatArea;
        const double d1 = w.rho * A - mass_[i];
        const double d2 = w.rho * w.u * A - momentum_[i];
        const double d3 = (w.p / (k - 1) + 0.5 * w.rho * w.u * w.u) * A - energy_[i];
        sum += d1 * d1 + d2 * d2 + d3 * d3;
        vel_[i] = w.u;
    }
    return sum;
}

bool UnsteadyFlow::step()
{
    if (brokeDown()) return false;
    if (isMacCormack(settings_.scheme)) keepConserved();
    bool ok = false;
    if (isMacCormack(settings_.scheme)) {
        ok = stepMacCormack();
    } else {
        ok = stepFiniteVolume(settings_.scheme == Scheme::MusclHllc);
        // A second-order step that failed is taken again first order, then
        // with half the time step (an area that changes a lot within a cell
        // makes its source stiffer than the Courant number allows for).
        if (!ok && settings_.scheme == Scheme::MusclHllc) ok = stepFiniteVolume(false);
        const double limit = dtLimit_;
        for (int h = 0; h < 40 && !ok; ++h) {
            dtLimit_ = 0.5 * lastDt_;
            ok = stepFiniteVolume(false);
        }
        dtLimit_ = limit;
    }
    if (!ok) {
        failure_ = std::string(schemeName(settings_.scheme)) + " broke down at step " +
                   std::to_string(steps_ + 1) +
                   ": the next step would give a negative density or pressure; the flow is "
                   "kept as it was before that step";
        events_.push_back({FlowEventKind::BrokeDown, steps_, time(), 0});
    }
    return ok;
}

void UnsteadyFlow::keepConserved()
{
    const double k = gas_.k;
    for (int i = 0; i < n_; ++i) {
        const Prim w = prim(i);
        const double A = ac_[i] / contour_.throatArea;
        mass_[i] = w.rho * A;
        momentum_[i] = w.rho * w.u * A;
        energy_[i] = (w.p / (k - 1) + 0.5 * w.rho * w.u * w.u) * A;
    }
}

void UnsteadyFlow::afterStep(double dt, double residualSum)
{
    t_ += dt;
    ++steps_;
    // The change per unit time of a step much shorter than the Courant
    // number allows (the last one, landing on a time) is round-off over a
    // small step: the residual stays that of the last full step.
    if (dt >= 0.25 * courantDt_ || steps_ == 1)
        residual_ = std::sqrt(residualSum / n_) / (dt / contour_.length());
    const double tNow = time();
    // The throat.
    const double Mt = cell(throatCell_).M;
    if (!choked_ && Mt >= 0.99) {
        choked_ = true;
        events_.push_back({FlowEventKind::ThroatChokes, steps_, tNow, x_[throatCell_]});
    } else if (choked_ && Mt < 0.95) {
        choked_ = false;
    }
    // The shock.
    const std::optional<double> before = shock_;
    shock_ = shockIn(vel_);
    if (before && shock_ && *before < contour_.throatX && *shock_ >= contour_.throatX &&
        *shock_ - *before < 5 * dx_)
        events_.push_back({FlowEventKind::ShockPassesThroat, steps_, tNow, *shock_});
    if (before && *before >= contour_.xEnd - 10 * dx_ && (!shock_ || *shock_ < *before - 5 * dx_))
        events_.push_back({FlowEventKind::ShockLeavesExit, steps_, tNow, contour_.xEnd});
    if (!steady_ && residual_ < kSteadyResidual) {
        steady_ = true;
        events_.push_back({FlowEventKind::Steady, steps_, tNow, 0});
    } else if (steady_ && residual_ >= 10 * kSteadyResidual) {
        steady_ = false;
    }
    if (steps_ % historyStride_ == 0) record();
}

void UnsteadyFlow::record()
{
    if (history_.size() >= 100000) {
        std::size_t j = 0;
        for (std::size_t i = 0; i < history_.size(); i += 2) history_[j++] = history_[i];
        history_.resize(j);
        historyStride_ *= 2;
    }
    HistoryPoint h;
    h.step = steps_;
    h.t = time();
    h.residual = residual_;
    h.mdotThroat = cell(throatCell_).mdot;
    h.mdotExit = cell(n_ - 1).mdot;
    h.shock = shock_.has_value();
    h.shockX = shock_.value_or(0);
    history_.push_back(h);
}

std::optional<double> UnsteadyFlow::shockPosition() const
{
    std::vector<double> u(static_cast<std::size_t>(n_));
    for (int i = 0; i < n_; ++i) u[i] = prim(i).u;
    return shockIn(u);
}

std::optional<double> UnsteadyFlow::shockIn(const std::vector<double>& u) const
{
    // The face between cells i and i+1 of the steepest velocity drop.
    int best = -1;
    double bestDrop = 0;
    for (int i = 4; i + 5 < n_; ++i) {
        const double near = u[i - 1] - u[i + 2];
        if (near < 0.05 || near <= bestDrop) continue;
        if (near < 0.6 * (u[i - 4] - u[i + 5])) continue;
        bestDrop = near;
        best = i;
    }
    if (best < 0) return std::nullopt;
    int f = best;
    for (int i = best - 1; i <= best + 1; ++i)
        if (u[i] - u[i + 1] > u[f] - u[f + 1]) f = i;
    const int lo = std::max(0, f - 2), hi = std::min(n_ - 1, f + 3);
    const double mid = 0.5 * (u[lo] + u[hi]);
    for (int i = lo; i < hi; ++i) {
        const double a = u[i], b = u[i + 1];
        if (a >= mid && b < mid) return x_[i] + (a - mid) / (a - b) * (x_[i + 1] - x_[i]);
    }
    return 0.5 * (x_[f] + x_[f + 1]);
}

bool UnsteadyFlow::run(long steps)
{
    for (long s = 0; s < steps; ++s)
        if (!step()) return false;
    return true;
}

bool UnsteadyFlow::runUntilTime(double t, long maxSteps)
{
    // The last step lands on t.
    bool ok = true;
    for (long s = 0; s < maxSteps && time() < t && ok; ++s) {
        dtLimit_ = std::max((t - time()) * contour_.length(), 1e-300);
        ok = step();
    }
    dtLimit_ = std::numeric_limits<double>::infinity();
    return ok && time() >= t * (1 - 1e-14);
}

bool UnsteadyFlow::runUntilSteady(long maxSteps)
{
    for (long s = 0; s < maxSteps && !steady_; ++s)
        if (!step()) return false;
    return steady_;
}

} // namespace cdnozzle
