// SPDX-License-Identifier: MIT
// The one way into the window's logic: every user action as an Event, and
// the settings kept between runs taken back.
#include "panel/window_logic.h"

#include "panel/back_pressure_bars.h"
#include "text/number_text.h"

#include <algorithm>
#include <cmath>

namespace cdnozzle {

void WindowLogic::handle(const Event& e)
{
    const auto whole = [](double v, int lo, int hi) {
        return std::isfinite(v) ? static_cast<int>(std::clamp(v, double(lo), double(hi))) : lo;
    };
    switch (e.kind) {
    case EventKind::EditMeSup: editMeSup(e.text); break;
    case EventKind::EditAmax: editAmax(e.text); break;
    case EventKind::EditPePo: editPePo(e.text); break;
    case EventKind::Calculate: pressCalculate(); break;
    case EventKind::ClickGeometry: clickGeometry(); break;
    case EventKind::MoveCoarse: moveCoarse(whole(e.number, -1, kCoarseMax + 1)); break;
    case EventKind::MoveFine: moveFine(whole(e.number, -1, kFineMax + 1)); break;
    case EventKind::ListedGas: setListedGas(e.text); break;
    case EventKind::OtherGas: setOtherGas(e.text); break;
    case EventKind::ThirdPlot:
        setThirdPlot(static_cast<PlotQuantity>(whole(e.number, 0, 3)));
        break;
    case EventKind::Play: unsteady_ ? playTime(e.time) : playOrPause(e.time); break;
    case EventKind::Reverse:
        if (!unsteady_) playReverse(e.time);
        break;
    case EventKind::Slower:
        setPlaySpeed(static_cast<PlaySpeed>(std::max(0, static_cast<int>(speed_) - 1)), e.time);
        break;
    case EventKind::Faster:
        setPlaySpeed(static_cast<PlaySpeed>(std::min(2, static_cast<int>(speed_) + 1)), e.time);
        break;
    case EventKind::PauseAtLimits: setPauseAtLimits(e.number != 0); break;
    case EventKind::Tick: unsteady_ ? tickTime(e.time) : tick(e.time); break;
    case EventKind::Explain: explanationShown_ = e.number != 0; break;
    case EventKind::ZoomIn: setZoom(zoom_ + kZoomStep); break;
    case EventKind::ZoomOut: setZoom(zoom_ - kZoomStep); break;
    case EventKind::ZoomReset: setZoom(kZoomMin); break;
    case EventKind::Hover: {
        const auto plot = static_cast<PlotKind>(whole(e.plot, 0, 2));
        if (!calculated()) break;
        const Projection to(scene(plot), e.width, 1);
        if (to.valid() && std::isfinite(e.number)) hover(plot, to.sceneX(e.number));
        break;
    }
    case EventKind::Leave: leavePlot(); break;
    case EventKind::OpenAddress:
        if (const auto s = scenarioOf(e.text)) {
            if (!s->refusal.empty()) {
                pausePlay();
                setStatus(StatusKind::Refusal, s->refusal);
            } else {
                openScenario(s->texts, s->gas, s->k, s->third, s->engine, s->units, s->unsteady);
            }
        }
        break;
    case EventKind::Export:
        prepareExport(static_cast<PlotKind>(whole(e.plot, 0, 2)), e.text);
        break;
    case EventKind::StepDown: moveFine(fine_ + 1); break;
    case EventKind::StepUp: moveFine(fine_ - 1); break;
    case EventKind::CoarseDown: moveCoarse(coarse_ + 1); break;
    case EventKind::CoarseUp: moveCoarse(coarse_ - 1); break;
    case EventKind::Reset: reset(); break;
    case EventKind::Projector: projector_ = e.number != 0; break;
    case EventKind::ProjectorPlot:
        // Only the projector view has the one-plot layout.
        if (projector_) projectorPlot_ = whole(e.number, 0, 3);
        break;
    case EventKind::Shortcuts: shortcutsShown_ = e.number != 0; break;
    case EventKind::EditEngine:
        editEngine(static_cast<EngineFieldKind>(whole(e.number, 0, kEngineFieldCount - 1)), e.text);
        break;
    case EventKind::Units: setUnits(e.number != 0 ? UnitSystem::US : UnitSystem::SI); break;
    case EventKind::MoveAltitude: moveAltitude(whole(e.number, 0, altitudeSteps())); break;
    case EventKind::Start:
        if (e.width >= kExplanationOpenWidth) explanationShown_ = true;
        start();
        break;
    case EventKind::Setting: {
        const std::size_t is = e.text.find('=');
        if (is != std::string::npos) applySetting({e.text.substr(0, is), e.text.substr(is + 1)});
        break;
    }
    case EventKind::Mode: setMode(e.number != 0); break;
    case EventKind::TimeStep: stepTime(); break;
    case EventKind::TimeRestart: restartTime(e.time); break;
    }
    // The engine, the units or the altitude may have changed.
    showThrust();
    followUnsteady();
}

void WindowLogic::setZoom(double zoom)
{
    if (!std::isfinite(zoom)) return;
    zoom_ = std::clamp(std::round(zoom / kZoomStep) * kZoomStep, kZoomMin, kZoomMax);
}

std::vector<Setting> WindowLogic::settings() const
{
    return {{"zoom", formatGeneral(zoom_)},
            {"playSpeed", std::to_string(static_cast<int>(speed_))},
            {"pauseAtLimits", pauseAtLimits_ ? "true" : "false"},
            {"projector", projector_ ? "true" : "false"},
            {"mode", unsteady_ ? "unsteady" : "steady"},
            {"units", std::string(unitSystemName(units_))}};
}

void WindowLogic::applySetting(const Setting& s)
{
    if (s.key == "zoom") {
        const auto v = readStrictNumber(s.value);
        if (v) setZoom(*v); // clamped into the range
    } else if (s.key == "playSpeed") {
        if (s.value == "0" || s.value == "1" || s.value == "2")
            speed_ = static_cast<PlaySpeed>(s.value[0] - '0');
    } else if (s.key == "pauseAtLimits") {
        if (s.value == "true" || s.value == "false") pauseAtLimits_ = s.value == "true";
    } else if (s.key == "projector") {
        if (s.value == "true" || s.value == "false") projector_ = s.value == "true";
    } else if (s.key == "units") {
        if (const auto units = unitSystemNamed(s.value)) setUnits(*units);
    } else if (s.key == "mode") {
        if (s.value == "steady" || s.value == "unsteady") setMode(s.value == "unsteady");
    }
}

} // namespace cdnozzle
