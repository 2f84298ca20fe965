// SPDX-License-Identifier: MIT
// The quasi-one-dimensional flow in time: the Euler equations in
// conservation form,
//   U = (rho A, rho u A, E A),  F = (rho u A, (rho u^2 + p) A, (E + p) u A),
//   S = (0, p dA/dx, 0),
// for a perfect gas of ratio k, on the contour's own A(x). Quantities are
// made dimensionless by the reservoir's rho0 and a0 (so p/(rho0 a0^2) =
// (p/p0)/k) and x by the contour's own unit; time is reported in units of
// L/a0, L the length of the contour.
//
// Finite volumes: N cells of equal width, faces at the contour's area, the
// source p_i (A_{i+1/2} - A_{i-1/2}) + dp_i (mean face area - mean cell
// area) (the integral of p dA/dx for p linear in the cell) so that gas at
// rest stays at rest exactly. Schemes:
//   MusclHllc     MUSCL-Hancock: primitive variables reconstructed with the
//                 van Leer limiter, evolved half a step (area term
//                 included), HLLC flux; first order in a cell whose
//                 reconstruction gives a non-positive density or pressure;
//                 the slopes flattened by degrees in a strong shock
//                 (compressed, the pressures of the neighbours from three
//                 to five times apart: none to all).
//   Upwind        the same HLLC flux on the cell values: first order.
//   MacCormack    MacCormack's predictor (forward differences) and corrector
//                 (rearward differences) on the non-conservation form in
//                 rho, V, T at N grid points, as the introductory CFD
//                 textbook writes it; no artificial viscosity.
//   MacCormackConservative  the same on the conservation form U1..U3, with
//                 the textbook's artificial viscosity, its pressure sensor
//                 S_i = |p_{i+1} - 2p_i + p_{i-1}| / (p_{i+1} + 2p_i + p_{i-1})
//                 and coefficient Cx, in both stages, written in
//                 conservation form so that it moves no mass through a
//                 standing shock:
//                 Cx (S_{i+1/2} (U_{i+1} - U_i) - S_{i-1/2} (U_i - U_{i-1})),
//                 S_{i+1/2} the mean of S_i and S_{i+1} (the sensor of the
//                 end points is their neighbour's).
// Time step: dt = C dx / max(|u| + a) over the cells, C the Courant number.
//
// Ends: the inlet is fed from the reservoir (p0, T0 held, the velocity taken
// from the first cell, the state from the isentropic relations); the outlet
// imposes the back pressure while the outflow is subsonic and extrapolates
// when it is supersonic. Walls (closed ends) and open ends (zero-gradient)
// serve the shock-tube and conservation checks.
//
// Events, looked for after every step:
//   the throat chokes         the Mach number of the first cell past the
//                             throat reaches 0.99 (the discrete throat
//                             creeps to its sonic value slowly; again only
//                             after it fell below 0.95);
//   a shock passes the throat the shock (below) moves from ahead of the
//                             throat to behind it;
//   a shock leaves the exit   a shock seen within 10 cells of the exit is
//                             gone;
//   steady                    the residual falls below kSteadyResidual.
// The shock: the face of the steepest velocity drop (the gas is compressed
// through a shock, moving or standing), counted when the drop over three
// faces is at least 0.05 a0 and at least 0.6 of the drop over nine; its
// position is where the velocity crosses the middle of the jump, linearly
// between the cells. Cells within 4 of either end are not searched.
// Residual: the root mean square over the cells of the change of U in one
// step (rho A, rho u A and E A over rho0 At, rho0 a0 At and rho0 a0^2 At,
// the three summed in squares), divided by the step in units of L/a0.
//
// A step that would leave a non-positive or non-finite density or pressure
// is undone; the MUSCL and upwind schemes retry it first order, then with
// the time step halved (up to 40 times); MacCormack's schemes mark the flow
// broken down with the reason in words and further steps
// do nothing.
#pragma once

#include "gas/gas.h"
#include "unsteady/contour.h"
#include "unsteady/exact_flow.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cdnozzle {

enum class Scheme { MusclHllc, Upwind, MacCormack, MacCormackConservative };

// The names the report command takes: "muscl-hllc", "upwind",
// "maccormack", "maccormack-conservative".
std::string_view schemeName(Scheme s);
std::optional<Scheme> schemeOfName(std::string_view name);
// The largest Courant number the scheme is stable at: 1 for all four.
double courantLimit(Scheme s);

enum class Start {
    Rest,      // gas at rest at the back pressure and T0; the reservoir opened at t = 0
    Diaphragm, // reservoir gas up to the throat, back-pressure gas (at T0) behind it
    Steady,    // the exact steady flow of another back pressure
    Textbook,  // the textbook's linear guesses (isentropic case, or the shock case
               // when the back pressure lies above the design pressure)
};
std::string_view startName(Start s);
std::optional<Start> startOfName(std::string_view name);

inline constexpr int kMinCells = 20;
inline constexpr int kMaxCells = 5000;
inline constexpr int kDefaultCells = 400;
inline constexpr double kDefaultCourant = 0.8;
inline constexpr double kDefaultArtificialViscosity = 0.2;
inline constexpr double kSteadyResidual = 1e-5;

struct UnsteadySettings {
    Scheme scheme = Scheme::MusclHllc;
    int cells = kDefaultCells; // cells, or grid points for MacCormack
    double courant = kDefaultCourant;
    double artificialViscosity = kDefaultArtificialViscosity; // Cx, conservation form
};

// Nothing when the settings can run; otherwise one line saying why.
std::optional<std::string> validateUnsteadySettings(const UnsteadySettings& s);

enum class EndKind { Reservoir, BackPressure, Wall, Open };

struct CellValues {
    double x = 0;    // centre (grid point for MacCormack)
    double area = 1; // A/At
    double rho = 1;  // rho/rho0
    double u = 0;    // u/a0
    double p = 1;    // p/p0
    double T = 1;    // T/T0
    double M = 0;    // u/a
    double mdot = 0; // rho u A over rho* a* At
};

enum class FlowEventKind { ThroatChokes, ShockPassesThroat, ShockLeavesExit, Steady, BrokeDown };
std::string_view eventName(FlowEventKind e);

struct UnsteadyEvent {
    FlowEventKind kind;
    long step = 0;
    double t = 0; // L/a0
    double x = 0; // where: the throat, the shock, the exit
};

struct HistoryPoint {
    long step = 0;
    double t = 0;
    double residual = 0;
    double mdotThroat = 0;
    double mdotExit = 0;
    bool shock = false;
    double shockX = 0;
};

class UnsteadyFlow {
  public:
    // The nozzle fed from the reservoir against the back pressure pb =
    // p/p0 (0 < pb <= 1); fromPb is the back pressure of the steady start.
    // Settings are validated by the caller.
    UnsteadyFlow(const Gas& gas, Contour contour, const UnsteadySettings& settings, double pb,
                 Start start, double fromPb = 1);
    // Any starting state (density, velocity and pressure in the units of
    // GasState: rho/rho0, u/a0, p/(rho0 a0^2)) at the cells, and any ends.
    UnsteadyFlow(const Gas& gas, Contour contour, const UnsteadySettings& settings, EndKind inlet,
                 EndKind outlet, const std::vector<GasState>& initial, double pb = 1);

    // The back pressure of the running flow (0 < pb <= 1).
    void setBackPressure(double pb);
    double backPressure() const { return pb_; }

    // One time step; false when the flow has broken down.
    bool step();
    // Steps until the count, the time (L/a0), or steady; each bounded by
    // maxSteps. True when the goal was reached.
    bool run(long steps);
    bool runUntilTime(double t, long maxSteps);
    bool runUntilSteady(long maxSteps);

    const Gas& gas() const { return gas_; }
    const Contour& contour() const { return contour_; }
    const UnsteadySettings& settings() const { return settings_; }
    int cellCount() const { return n_; }
    double dx() const { return dx_; }
    double time() const { return t_ / contour_.length(); }
    long steps() const { return steps_; }
    double residual() const { return residual_; }
    bool steady() const { return steady_; }
    bool brokeDown() const { return !failure_.empty(); }
    const std::string& failure() const { return failure_; }
    std::optional<double> shockPosition() const;

    std::vector<CellValues> cells() const;
    CellValues cell(int i) const;
    const std::vector<UnsteadyEvent>& events() const { return events_; }
    // One point a step, thinned to every second (then fourth, ...) point
    // past 100000 points.
    const std::vector<HistoryPoint>& history() const { return history_; }

    // Totals over the cells of rho A dx and E A dx (the conserved mass and
    // energy; finite-volume schemes).
    double totalMass() const;
    double totalEnergy() const;

  private:
    struct Prim {
        double rho, u, p;
    };
    void setUp();
    void noteStartingState();
    void fillFromStart(Start start, double fromPb);
    void storeCell(int i, const GasState& s);
    bool stepFiniteVolume(bool secondOrder);
    bool stepMacCormack();
    // The ghost cells and the cells next to the ends.
    struct Ends {
        // ahead: the cell four before the last, ahead of a shock captured
        // in the last cells.
        Prim in, first, second, ahead, beforeLast, last, out;
    };
    void boundaryGhosts(Ends& e);
    void macCormackEnds();
    void macCormackEndValues();
    void keepConserved();
    void afterStep(double dt, double residualSum);
    double macCormackResidualSum();
    void record();
    bool valid() const;
    Prim prim(int i) const;
    std::optional<double> shockIn(const std::vector<double>& u) const;

    Gas gas_;
    Contour contour_;
    UnsteadySettings settings_;
    EndKind inlet_ = EndKind::Reservoir, outlet_ = EndKind::BackPressure;
    double pb_ = 1;
    int n_ = 0;
    double dx_ = 0;
    std::vector<double> x_, ac_, af_;  // centres, their areas, face areas
    std::vector<double> bend_;         // mean of the face areas less the cell's mean area
    std::vector<double> u1_, u2_, u3_; // conserved (finite volumes, conservative MacCormack)
    std::vector<double> r_, v_, T_;    // MacCormack's rho, V, T
    std::vector<double> lnA_;          // MacCormack's ln A at the points
    double t_ = 0;
    long steps_ = 0;
    double residual_ = 0;
    bool steady_ = false;
    bool choked_ = false;
    int throatCell_ = 0;
    std::optional<double> shock_;
    std::string failure_;
    std::vector<UnsteadyEvent> events_;
    std::vector<HistoryPoint> history_;
    long historyStride_ = 1;
    // Scratch of one step, kept to spare allocations.
    // The cells (1..n, ghosts 0 and n+1): density, velocity, pressure,
    // 1 / density, |u| + a; the states at each cell's left and right face.
    std::vector<double> cr_, cu_, cp_, cir_, cc_, lr_, lu_, lp_, rr_, ru_, rp_;
    std::vector<double> iac_; // 1 / the cells' areas
    std::vector<double> f1_, f2_, f3_, pbar_, pslope_, s1_, s2_, s3_, mass_, momentum_, energy_,
        vel_;
    std::optional<Prim> inletFace_, outletFace_;
    double dtLimit_ = 1e300;
    double lastDt_ = 0;    // the largest step, to land on a time
    double courantDt_ = 0; // the step the Courant number allows, of the last step
};

} // namespace cdnozzle
