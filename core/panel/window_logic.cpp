#include "panel/window_logic.h"

#include "number_text.h"
#include "plots/back_pressure_bars.h"
#include "regime_summary.h"
#include "validation.h"

#include <algorithm>

namespace cdnozzle {

WindowLogic::WindowLogic(const InputTexts& texts)
    : model_(texts), texts_(texts), coarse_(kCoarseMin), fine_(kFineMin)
{
}

std::vector<std::string> WindowLogic::reportLines() const
{
    if (!calculated()) return {};
    return model_.result().report.lines();
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
}

bool WindowLogic::calculate()
{
    if (const auto refusal = model_.calculate(texts_, notConverged_)) {
        setStatus(StatusKind::Refusal, *refusal);
        return false;
    }
    ++calculations_;
    accepted_ = texts_;
    setStatus(StatusKind::Regime, regimeSummary(model_.state(), model_.result()));
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
    texts_.me_sup = text;
    calculateAndTeachTheBars();
}

void WindowLogic::editAmax(const std::string& text)
{
    texts_.amax = text;
    calculateAndTeachTheBars();
}

void WindowLogic::editPePo(const std::string& text)
{
    texts_.pe_po = text;
    setStatus(StatusKind::PendingPePo, kPendingPePoText);
}

void WindowLogic::pressCalculate()
{
    calculateAndTeachTheBars();
}

void WindowLogic::clickGeometry()
{
    calculateAndTeachTheBars();
}

void WindowLogic::openScenario(const InputTexts& texts)
{
    if (const auto refusal = validateInputs(texts)) {
        setStatus(StatusKind::Refusal, *refusal);
        return;
    }
    texts_ = texts;
    calculateAndTeachTheBars();
}

void WindowLogic::moveCoarse(int position)
{
    setCoarse(std::clamp(position, kCoarseMin, kCoarseMax));
}

void WindowLogic::moveFine(int position)
{
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

void WindowLogic::hover(PlotKind plot, double x)
{
    if (!calculated()) return;
    hoverText_ = hoverReadout(model_.state(), plot, x);
}

void WindowLogic::leavePlot()
{
    hoverText_.clear();
}

} // namespace cdnozzle
