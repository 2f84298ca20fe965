#include "panel/window_logic.h"

#include "panel/back_pressure_bars.h"
#include "results/explanation.h"
#include "results/flow_figures.h"
#include "results/regime_summary.h"
#include "text/number_text.h"
#include "text/validation.h"

#include <algorithm>
#include <cmath>

namespace cdnozzle {

namespace {

// A gas chosen by its name or by a typed k: its name and k, or why not.
struct GasChoice {
    std::string name;
    double k = kAirK;
    std::optional<std::string> refusal;
};

GasChoice listedGas(const std::string& name)
{
    if (auto refusal = validateGasName(name)) return {{}, 0, std::move(refusal)};
    return {name, findGas(name)->k, std::nullopt};
}

GasChoice typedGas(const std::string& typed)
{
    const double k = readLeadingNumberAllowingComma(typed);
    if (auto refusal = validateGasK(k, typed)) return {{}, 0, std::move(refusal)};
    return {gasNameFor(k), k, std::nullopt};
}

} // namespace

double stepsPerSecond(PlaySpeed speed)
{
    switch (speed) {
    case PlaySpeed::Slow: return 10;
    case PlaySpeed::Normal: return 40;
    case PlaySpeed::Fast: return 150;
    }
    return 40;
}

WindowLogic::WindowLogic(const InputTexts& texts)
    : model_(texts), texts_(texts), coarse_(kCoarseMin), fine_(kFineMin), statusText_(kStartText),
      startTexts_(texts)
{
}

void WindowLogic::reset()
{
    pausePlay();
    model_ = NozzleModel(startTexts_);
    texts_ = startTexts_;
    accepted_ = {};
    gasName_ = acceptedGasName_ = std::string(kGases.front().name);
    acceptedGasK_ = kAirK;
    coarse_ = kCoarseMin;
    fine_ = kFineMin;
    banner_.clear();
    ++sceneRevision_;
    setStatus(StatusKind::Empty, kStartText);
}

void WindowLogic::announce(std::string text)
{
    announcement_ = std::move(text);
    ++announcementSerial_;
}

std::vector<std::string> WindowLogic::reportLines() const
{
    if (!calculated()) return {};
    return model_.result().report.lines();
}

std::string WindowLogic::explanation() const
{
    return explainFlow(model_.state(), model_.result());
}

const std::string& WindowLogic::statusText() const
{
    return hoverText_.empty() ? statusText_ : hoverText_;
}

void WindowLogic::setStatus(StatusKind kind, std::string text)
{
    statusKind_ = kind;
    statusText_ = std::move(text);
    hoverText_.clear();
    if (kind != StatusKind::PlayPause) banner_.clear();
    // A screen reader hears refusals and the play's pauses, not every step.
    if (kind == StatusKind::Refusal || kind == StatusKind::PlayPause) announce(statusText_);
}

bool WindowLogic::calculate()
{
    if (const auto refusal = model_.calculate(texts_, notConverged_)) {
        setStatus(StatusKind::Refusal, *refusal);
        return false;
    }
    ++calculations_;
    ++sceneRevision_;
    accepted_ = texts_;
    acceptedGasName_ = gasName_;
    acceptedGasK_ = model_.state().k;
    std::string status = regimeSummary(model_.state(), model_.result());
    // Air goes without saying; any other gas is named.
    if (model_.state().k != kAirK)
        status += " · " + gasName_ + " (k = " + formatRounded4(model_.state().k) + ")";
    setStatus(StatusKind::Regime, status);
    if (calculated_) calculated_();
    return true;
}

// A calculation outside the bars' chains may use a Pe/Po typed into the box:
// the bars move to the positions that stand for it, without running their
// handlers, so the next step of either bar starts from there.
void WindowLogic::calculateAndTeachTheBars()
{
    if (!calculate()) return;
    const double pepo = model_.state().PePo;
    coarse_ = std::clamp(coarsePositionFor(pepo), kCoarseMin, kCoarseMax);
    fine_ = std::clamp(finePositionFor(pepo), kFineMin, kFineMax);
}

void WindowLogic::editMeSup(const std::string& text)
{
    pausePlay();
    texts_.me_sup = text;
    calculateAndTeachTheBars();
}

void WindowLogic::editAmax(const std::string& text)
{
    pausePlay();
    texts_.amax = text;
    calculateAndTeachTheBars();
}

void WindowLogic::editPePo(const std::string& text)
{
    pausePlay();
    texts_.pe_po = text;
    setStatus(StatusKind::PendingPePo, kPendingPePoText);
}

void WindowLogic::pressCalculate()
{
    pausePlay();
    calculateAndTeachTheBars();
}

void WindowLogic::clickGeometry()
{
    pausePlay();
    calculateAndTeachTheBars();
}

void WindowLogic::setGas(const std::string& name, double k)
{
    pausePlay();
    if (const auto refusal = validateGasK(k, formatGeneral(k))) {
        setStatus(StatusKind::Refusal, *refusal);
        return;
    }
    gasName_ = name;
    model_.setGas(k);
    calculateAndTeachTheBars();
}

void WindowLogic::setListedGas(const std::string& name)
{
    const GasChoice gas = listedGas(name);
    if (gas.refusal) {
        pausePlay();
        setStatus(StatusKind::Refusal, *gas.refusal);
        return;
    }
    setGas(gas.name, gas.k);
}

void WindowLogic::setOtherGas(const std::string& typed)
{
    const GasChoice gas = typedGas(typed);
    if (gas.refusal) {
        pausePlay();
        setStatus(StatusKind::Refusal, *gas.refusal);
        return;
    }
    setGas(gas.name, gas.k);
}

void WindowLogic::openScenario(const InputTexts& texts, const std::string& gas,
                               const std::string& k, PlotQuantity third)
{
    pausePlay();
    std::optional<std::string> refusal = validateInputs(texts);
    const GasChoice choice = !k.empty()     ? typedGas(k)
                             : !gas.empty() ? listedGas(gas)
                                            : listedGas(std::string(kGases.front().name));
    if (!refusal) refusal = choice.refusal;
    if (refusal) {
        setStatus(StatusKind::Refusal, *refusal);
        return;
    }
    texts_ = texts;
    gasName_ = choice.name;
    model_.setGas(choice.k);
    model_.setThirdPlot(third);
    calculateAndTeachTheBars();
}

void WindowLogic::moveCoarse(int position)
{
    pausePlay();
    setCoarse(std::clamp(position, kCoarseMin, kCoarseMax));
}

void WindowLogic::moveFine(int position)
{
    pausePlay();
    setFine(std::clamp(position, kFineMin, kFineMax));
}

// A bar's change handling runs only when its position really changes, and
// at once, nested inside whatever set it.
void WindowLogic::setCoarse(int position)
{
    if (position == coarse_) return;
    coarse_ = position;
    coarseChanged();
}

void WindowLogic::setFine(int position)
{
    if (position == fine_) return;
    fine_ = position;
    fineChanged();
}

// What the calculation read from the box: the bar's value rounded to 15
// significant digits, which the other bar is matched to.
double WindowLogic::pepoInBox() const
{
    return readLeadingNumber(texts_.pe_po);
}

void WindowLogic::coarseChanged()
{
    texts_.pe_po = formatGeneral(coarsePePo(coarse_));
    calculate();
    setFine(std::clamp(finePositionFor(pepoInBox()), kFineMin, kFineMax));
}

void WindowLogic::fineChanged()
{
    texts_.pe_po = formatGeneral(finePePo(fine_));
    calculate();
    const int coarse = coarsePositionFor(pepoInBox());
    if (coarse > kCoarseMax) {
        // Fine positions 997..1000 lie below the coarse bar's end: the coarse
        // bar is parked there without snapping the back pressure.
        coarse_ = kCoarseMax;
    } else {
        setCoarse(std::max(coarse, kCoarseMin));
    }
}

// --- play ---

void WindowLogic::playOrPause(double now)
{
    if (playing_) {
        pausePlay();
        return;
    }
    startPlay(playDown_, now);
}

void WindowLogic::playReverse(double now)
{
    startPlay(!playDown_, now);
}

void WindowLogic::pausePlay()
{
    playing_ = false;
}

void WindowLogic::setPlaySpeed(PlaySpeed speed, double now)
{
    if (playing_ && now >= resumeAt_) {
        // Keep the position reached, go on at the new pace from now.
        tick(now);
        anchorTime_ = now;
        anchorPosition_ = fine_;
    }
    speed_ = speed;
}

void WindowLogic::startPlay(bool down, double now)
{
    playDown_ = down;
    // The play walks the fine bar's positions from the one that stands for
    // the back pressure now.
    // At the end of the sweep the play starts again from the other end.
    const int end = down ? kFineMax : kFineMin;
    if (fine_ == end) {
        const int calculations = calculations_;
        playTo(down ? kFineMin : kFineMax);
        if (calculations_ == calculations) return; // a refused box: nothing to play
    }
    playing_ = true;
    anchorTime_ = now;
    anchorPosition_ = fine_;
    resumeAt_ = now;
}

bool WindowLogic::tick(double now)
{
    if (!playing_ || now < resumeAt_) return false;
    const double rate = stepsPerSecond(speed_);
    const int due = static_cast<int>(std::floor((now - anchorTime_) * rate + 1e-9));
    const int end = playDown_ ? kFineMax : kFineMin;
    const int target =
        playDown_ ? std::min(end, anchorPosition_ + due) : std::max(end, anchorPosition_ - due);
    if (target == fine_) return false;
    std::string limit, banner;
    int stop = target;
    if (pauseAtLimits_ && calculated()) {
        const int crossing = limitCrossed(fine_, target, limit, banner);
        if (crossing != 0) stop = crossing;
    }
    playTo(stop);
    if (!limit.empty()) {
        // Stand still on the first step past the limit, then go on from there.
        resumeAt_ = now + kLimitPauseSeconds;
        anchorTime_ = resumeAt_;
        anchorPosition_ = stop;
        setStatus(StatusKind::PlayPause,
                  "Paused just past " + limit + " (Pe/Po = " + formatGeneral(finePePo(stop)) + ")");
        banner_ = banner;
    }
    if (fine_ == end) playing_ = false;
    return true;
}

// The first fine position between from (exclusive) and to (inclusive) that
// lies past one of the three limit ratios of the nozzle, or 0; name says
// which limit, banner what the plots show there.
int WindowLogic::limitCrossed(int from, int to, std::string& name, std::string& banner) const
{
    const FlowState& s = model_.state();
    const struct {
        double value;
        const char* name;
        const char* banner;
    } limits[] = {{s.PePo_sub, "the subsonic limit", "Throat just choked"},
                  {s.PePo_NS, "the normal-shock limit (a normal shock in the exit plane)",
                   "Normal shock at the exit"},
                  {s.PePo_OS, "the design condition", "Design: perfectly expanded"}};
    const int direction = to > from ? 1 : -1;
    for (int w = from + direction; w != to + direction; w += direction) {
        const double before = finePePo(w - direction);
        const double after = finePePo(w);
        for (const auto& limit : limits) {
            const bool past = direction > 0 ? (after < limit.value && limit.value <= before)
                                            : (before <= limit.value && limit.value < after);
            if (past) {
                name = limit.name;
                banner = limit.banner;
                return w;
            }
        }
    }
    return 0;
}

// One step of the play: the back pressure of a fine position, calculated,
// both bars moved to stand for it without running their handlers.
void WindowLogic::playTo(int finePosition)
{
    texts_.pe_po = formatGeneral(finePePo(finePosition));
    fine_ = finePosition;
    if (calculate()) {
        coarse_ = std::clamp(coarsePositionFor(model_.state().PePo), kCoarseMin, kCoarseMax);
    } else {
        // A design box the user left refused: nothing to play.
        playing_ = false;
    }
}

void WindowLogic::setThirdPlot(PlotQuantity quantity)
{
    if (quantity == model_.thirdPlot()) return;
    model_.setThirdPlot(quantity);
    ++sceneRevision_;
}

void WindowLogic::hover(PlotKind plot, double x)
{
    if (!calculated()) return;
    // The station's values, then the whole nozzle's figures.
    const NozzleFigures f = nozzleFigures(model_.state(), model_.result());
    hoverText_ = hoverReadout(model_.state(), plot, x, model_.thirdPlot()) +
                 "; ṁ/ṁ* = " + formatShown(f.mdot_ratio) + ", C_F = " + formatShown(f.C_F);
}

void WindowLogic::leavePlot()
{
    hoverText_.clear();
}

} // namespace cdnozzle
