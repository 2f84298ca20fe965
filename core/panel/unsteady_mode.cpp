// SPDX-License-Identifier: MIT
// The flow in time: the mode, its play (time runs, a step, back to rest),
// how it follows the calculation, and what it shows (its section, the
// status line, the story of the start, its plots).
#include "panel/window_logic.h"

#include "plots/unsteady_scene.h"
#include "text/number_text.h"
#include "unsteady/exact_flow.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace cdnozzle {

long timeStepsPerFrame(PlaySpeed speed)
{
    switch (speed) {
    case PlaySpeed::Slow: return 2;
    case PlaySpeed::Normal: return 10;
    case PlaySpeed::Fast: return 40;
    }
    return 10;
}

double timeStepsPerSecond(PlaySpeed speed)
{
    return 60.0 * static_cast<double>(timeStepsPerFrame(speed));
}

namespace {

// The back pressure the flow in time runs against: Pe/Po, kept inside
// the range the solver takes.
double backPressureOf(const FlowState& s)
{
    return std::isfinite(s.PePo) ? std::clamp(s.PePo, 1e-3, 1.0) : 1.0;
}

// A time or a position in a sentence: two decimals, 0 as "0".
std::string twoDecimals(double v)
{
    return std::fabs(v) < 0.005 ? "0" : formatFixed(v, 2);
}

std::string eventText(const UnsteadyEvent& e, const std::string& when, const std::string& failure)
{
    switch (e.kind) {
    case FlowEventKind::ThroatChokes: return "The throat chokes at " + when;
    case FlowEventKind::ShockPassesThroat: return "A shock passes the throat at " + when;
    case FlowEventKind::ShockLeavesExit: return "A shock leaves the exit at " + when;
    case FlowEventKind::Steady:
        return "Steady at " + when + " (residual below " + formatRatio(kSteadyResidual) + ")";
    case FlowEventKind::BrokeDown: return failure;
    }
    return {};
}

} // namespace

void WindowLogic::setMode(bool unsteady)
{
    if (unsteady == unsteady_) return;
    pausePlay();
    unsteady_ = unsteady;
    flow_.reset();
    // The plots show the other mode's scenes.
    ++sceneRevision_;
}

void WindowLogic::openUnsteady()
{
    const FlowState& s = model_.state();
    const Gas gas = gasOf(s.k);
    flow_.emplace(gas, nozzleContour(gas, s.M_max), UnsteadySettings{}, backPressureOf(s),
                  Start::Rest);
    openedAgainst_ = backPressureOf(s);
    backPressureChange_.reset();
    eventsTold_ = 0;
    unsteadyStepsOf_ = -1;
    timeAnchorSteps_ = 0;
    anchorTime_ = lastTick_;
}

void WindowLogic::followUnsteady()
{
    if (!unsteady_ || !calculated()) {
        if (flow_) {
            flow_.reset();
            ++sceneRevision_;
        }
        return;
    }
    const FlowState& s = model_.state();
    if (!flow_ || flow_->gas().k != s.k ||
        flow_->contour().xEnd != nozzleContour(flow_->gas(), s.M_max).xEnd) {
        openUnsteady();
    } else if (const double pb = backPressureOf(s); pb != flow_->backPressure()) {
        flow_->setBackPressure(pb);
        if (flow_->backPressure() == pb) backPressureChange_ = {{flow_->time(), pb}};
    }
    // What happened since the last event is told to a screen reader.
    const auto& events = flow_->events();
    if (eventsTold_ < events.size()) {
        std::string told;
        for (; eventsTold_ < events.size(); ++eventsTold_) {
            const UnsteadyEvent& e = events[eventsTold_];
            told += (told.empty() ? "" : "; ") + eventText(e, timeText(e.t), flow_->failure());
        }
        announce(told);
    }
    if (unsteadyScenesOf_ == sceneRevision_ && unsteadyStepsOf_ == flow_->steps()) return;
    const std::vector<CellValues> cells = flow_->cells();
    unsteadyScenes_[0] = model_.geometryScene();
    fillWithMach(unsteadyScenes_[0], cells, s);
    drawHistoryStrip(unsteadyScenes_[0], flow_->history(), s);
    Grafik_Mach(s, unsteadyScenes_[1], nullptr);
    overlayCells(unsteadyScenes_[1], cells, PlotKind::Mach, model_.thirdPlot());
    if (model_.thirdPlot() == PlotQuantity::Thrust) {
        unsteadyScenes_[2] = model_.thirdScene();
    } else {
        Grafik_Third(s, model_.thirdPlot(), unsteadyScenes_[2], nullptr);
        overlayCells(unsteadyScenes_[2], cells, PlotKind::Third, model_.thirdPlot());
    }
    ++sceneRevision_;
    unsteadyScenesOf_ = sceneRevision_;
    unsteadyStepsOf_ = flow_->steps();
}

void WindowLogic::playTime(double now)
{
    if (playing_) {
        pausePlay();
        return;
    }
    // Nothing calculated yet: the start-up flow first, as the steady play.
    if (!calculated()) calculateAndTeachTheBars();
    followUnsteady();
    if (!flow_ || flow_->brokeDown()) return;
    playing_ = true;
    anchorTime_ = now;
    resumeAt_ = now;
    timeAnchorSteps_ = flow_->steps();
}

bool WindowLogic::tickTime(double now)
{
    if (!playing_ || !flow_) return false;
    lastTick_ = now;
    const long due =
        static_cast<long>(std::floor((now - anchorTime_) * timeStepsPerSecond(speed_) + 1e-9)) -
        (flow_->steps() - timeAnchorSteps_);
    if (due <= 0) return false;
    const long steps = std::min(due, timeStepsPerFrame(speed_));
    if (!flow_->run(steps)) playing_ = false;
    if (steps < due) {
        // Too far behind: the flow goes on from here at its pace.
        anchorTime_ = now;
        timeAnchorSteps_ = flow_->steps();
    }
    return true;
}

void WindowLogic::stepTime()
{
    if (!unsteady_) return;
    pausePlay();
    if (!calculated()) calculateAndTeachTheBars();
    followUnsteady();
    if (flow_) flow_->run(kTimeStepsPerFrame);
}

void WindowLogic::restartTime(double now)
{
    if (!unsteady_) return;
    flow_.reset();
    followUnsteady();
    anchorTime_ = now;
    timeAnchorSteps_ = 0;
}

std::string WindowLogic::timeText(double t) const
{
    std::string text = "t = " + twoDecimals(t) + " L/a0";
    if (engine_ && flow_) {
        // The nozzle drawn to its throat's size: the throat's half height
        // (half its area ratio, 0.5) stands for the throat's radius.
        const double throatRadius = std::sqrt(engine_->At / std::acos(-1.0));
        const double length = flow_->contour().length() * 2 * throatRadius;
        const double a0 = std::sqrt(flow_->gas().k * specificGasConstant(*engine_) * engine_->T0);
        const double ms = 1000 * t * length / a0;
        if (std::isfinite(ms) && a0 > 0)
            text += " = " + formatRatio(roundSignificant(ms, 3)) + " ms";
    }
    return text;
}

std::string WindowLogic::unsteadyCellText(double x) const
{
    const UnsteadyFlow& f = *flow_;
    const int n = f.cellCount();
    const double at = (x - f.contour().xBegin) / f.dx();
    const int i = std::isfinite(at) ? std::clamp(static_cast<int>(std::floor(at)), 0, n - 1) : 0;
    const CellValues c = f.cell(i);
    return "x = " + formatRatio(roundSignificant(c.x, 4)) + ", cell " + std::to_string(i + 1) +
           " of " + std::to_string(n) + " at " + timeText(f.time()) + ": M = " + formatRatio(c.M) +
           ", p/p0 = " + formatRatio(c.p) + ", T/T0 = " + formatRatio(c.T) +
           ", ρ/ρ0 = " + formatRatio(c.rho) + ", ṁ/ṁ* = " + formatRatio(c.mdot);
}

UnsteadyView WindowLogic::unsteadyView() const
{
    UnsteadyView v;
    v.unsteady = unsteady_;
    if (!flow_) return v;
    const UnsteadyFlow& f = *flow_;
    v.unsteadyTime = timeText(f.time());
    v.unsteadySteps = static_cast<int>(std::min<long>(f.steps(), INT_MAX));
    v.unsteadyResidual = formatRatio(roundSignificant(f.residual(), 2));
    // Three decimals: the round-off of a flow at rest reads 0, and reads
    // alike on every machine.
    const double mdot = f.cell(f.cellCount() - 1).mdot;
    v.unsteadyMassFlow = std::fabs(mdot) < 0.0005 ? "0" : formatFixed(mdot, 3);
    for (const UnsteadyEvent& e : f.events())
        v.unsteadyEvents.push_back(eventText(e, timeText(e.t), f.failure()));
    v.unsteadyLine = v.unsteadyTime + " · " + std::to_string(v.unsteadySteps) +
                     " steps · residual " + v.unsteadyResidual +
                     " · ṁ_exit/ṁ* = " + v.unsteadyMassFlow;
    if (!v.unsteadyEvents.empty()) v.unsteadyLine += " · " + v.unsteadyEvents.back();
    return v;
}

std::string WindowLogic::unsteadyStory() const
{
    if (!flow_) return {};
    const UnsteadyFlow& f = *flow_;
    const auto first = [&](FlowEventKind kind) -> const UnsteadyEvent* {
        for (const UnsteadyEvent& e : f.events())
            if (e.kind == kind) return &e;
        return nullptr;
    };
    // The first of each event, in the order they happened.
    struct Told {
        double t;
        std::string what;
    };
    std::vector<Told> told;
    const std::pair<FlowEventKind, const char*> kinds[] = {
        {FlowEventKind::ThroatChokes, "the throat chokes"},
        {FlowEventKind::ShockPassesThroat, "the starting shock passes the throat"},
        {FlowEventKind::ShockLeavesExit, "a shock leaves the exit"}};
    for (const auto& [kind, what] : kinds)
        if (const UnsteadyEvent* e = first(kind)) told.push_back({e->t, what});
    std::stable_sort(told.begin(), told.end(),
                     [](const Told& a, const Told& b) { return a.t < b.t; });
    std::string story = "The flow in time: the nozzle opened from rest at t = 0, against Pe/Po = " +
                        formatRatio(openedAgainst_) +
                        " (t in units of L/a0, the nozzle's length over the reservoir's speed "
                        "of sound). ";
    if (f.brokeDown()) return story + f.failure() + ".";
    for (std::size_t i = 0; i < told.size(); ++i) {
        std::string what = told[i].what;
        if (i == 0) what[0] = static_cast<char>(what[0] - 'a' + 'A');
        story += (i ? "; " : "") + what + " at t = " + twoDecimals(told[i].t);
    }
    if (!told.empty()) story += ". ";
    if (!first(FlowEventKind::ThroatChokes)) story += "The throat has not choked. ";
    if (backPressureChange_)
        story +=
            "At t = " + twoDecimals(backPressureChange_->first) +
            " the back pressure changed to Pe/Po = " + formatRatio(backPressureChange_->second) +
            ". ";
    const std::optional<double> shock = f.shockPosition();
    if (f.steady()) {
        // The last time it settled.
        double settled = f.time();
        for (const UnsteadyEvent& e : f.events())
            if (e.kind == FlowEventKind::Steady) settled = e.t;
        story += shock ? "The shock stands at x = " + twoDecimals(*shock) +
                             " after t = " + twoDecimals(settled) + "."
                       : "The flow is steady after t = " + twoDecimals(settled) + ".";
        // A back pressure raised over a supersonic outflow: nothing in the
        // nozzle feels it, and the flow stays as it was.
        if (!shock && backPressureChange_ && f.cellCount() > 0 && f.cell(f.cellCount() - 1).M > 1) {
            const SteadyFlow exact = steadyFlow(f.gas(), f.contour(), f.backPressure());
            if (exact.regime == SteadyRegime::ShockInside)
                story += " The flow leaves the nozzle faster than sound, so no change of the "
                         "back pressure reaches into it: the supersonic flow stays, although the "
                         "steady flow calculated for Pe/Po = " +
                         formatRatio(f.backPressure()) +
                         " (faint) has a shock inside at x = " + twoDecimals(exact.shockX) +
                         ". In a real nozzle the slow gas along the walls lets the shock in.";
        }
    } else {
        story += "Now " + timeText(f.time()) +
                 (shock ? ", the shock at x = " + twoDecimals(*shock) : std::string()) +
                 ", still changing (residual " + formatRatio(roundSignificant(f.residual(), 2)) +
                 ").";
    }
    return story;
}

} // namespace cdnozzle
