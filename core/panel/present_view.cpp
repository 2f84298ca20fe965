// SPDX-License-Identifier: MIT
// The presenters of the view's sections: each derives one section from the
// logic's state, and view() gives each its revision.
#include "panel/window_logic.h"

#include "panel/back_pressure_bars.h"
#include "results/regime_summary.h"
#include "text/number_text.h"

#include <algorithm>

namespace cdnozzle {

namespace {

const char* plotId(PlotKind plot)
{
    switch (plot) {
    case PlotKind::Geometry: return "Picture_Geo";
    case PlotKind::Mach: return "Picture_Mach";
    case PlotKind::Third: return "Picture_PiPo";
    }
    return "Picture_Geo";
}

std::string plotDescription(PlotKind plot, PlotQuantity third)
{
    switch (plot) {
    case PlotKind::Geometry: return "Nozzle contour";
    case PlotKind::Mach: return "Mach number along the nozzle";
    case PlotKind::Third: break;
    }
    switch (third) {
    case PlotQuantity::Pressure: return "Pressure ratio p/p0 along the nozzle";
    case PlotQuantity::Temperature: return "Temperature ratio T/T0 along the nozzle";
    case PlotQuantity::Density: return "Density ratio ρ/ρ0 along the nozzle";
    case PlotQuantity::Thrust: return "Thrust F and specific impulse I_sp against altitude";
    }
    return {};
}

} // namespace

bool WindowLogic::heldDuringFastPlay(std::string_view section)
{
    // The Pe/Po box, the status, the report and the engine's line are read;
    // the settings carry the address, which follows each step as well.
    return section == "boxes" || section == "status" || section == "report" ||
           section == "engine" || section == "settings";
}

ViewState WindowLogic::view(bool holdReadouts) const
{
    ViewState v;
    const auto derive = [&]<class S>(S (WindowLogic::*presenter)() const, const char* name) {
        sectionOf<S>(v) = holdReadouts && heldDuringFastPlay(name) && sectionOf<S>(shown_).revision
                              ? sectionOf<S>(shown_)
                              : (this->*presenter)();
    };
    derive(&WindowLogic::boxesView, "boxes");
    derive(&WindowLogic::barsView, "bars");
    derive(&WindowLogic::statusView, "status");
    derive(&WindowLogic::reportView, "report");
    derive(&WindowLogic::menusView, "menus");
    derive(&WindowLogic::engineView, "engine");
    derive(&WindowLogic::settingsView, "settings");
    derive(&WindowLogic::unsteadyView, "unsteady");
    v.plots = plotStates();
    // A section is compared with the one last shown: its revision moves on
    // only when it differs.
    forEachSection(
        [](std::string_view, int, auto& now, auto& last) {
            if (last.revision == 0 || !(now == last)) {
                now.revision = last.revision + 1;
                last = now;
            } else {
                now.revision = last.revision;
            }
        },
        v, shown_);
    return v;
}

BoxesView WindowLogic::boxesView() const
{
    return {boxTexts()};
}

BarsView WindowLogic::barsView() const
{
    // A play's step moves one bar and keeps the limits: what is the same as
    // last shown is taken from there (its numbers' texts cost most of the
    // section to make).
    const BarsView& last = sectionOf<BarsView>(shown_);
    auto bar = [&](const BarState& was, int position, int lo, int hi, double pepo,
                   const char* label, const char* name) {
        if (!was.valueText.empty() && was.position == position) return was;
        return BarState{position, lo, hi, "Pe/Po " + formatGeneral(pepo), label, name};
    };
    BarsView v;
    v.coarse = bar(last.coarse, coarse_, kCoarseMin, kCoarseMax, coarsePePo(coarse_), "coarse",
                   "Back pressure, 0.01 per step");
    v.fine = bar(last.fine, fine_, kFineMin, kFineMax, finePePo(fine_), "fine",
                 "Back pressure, 0.001 per step");
    if (calculated()) {
        const FlowState& s = model_.state();
        const std::pair<const char*, double> limits[] = {{"subsonic limit", s.PePo_sub},
                                                         {"normal-shock limit", s.PePo_NS},
                                                         {"design", s.PePo_OS}};
        for (std::size_t i = 0; i < std::size(limits); ++i) {
            const auto& [name, pepo] = limits[i];
            if (i < last.limitMarks.size() && last.limitMarks[i].pepo == pepo) {
                v.limitMarks.push_back(last.limitMarks[i]);
                continue;
            }
            v.limitMarks.push_back({name, pepo,
                                    std::clamp(coarsePositionFor(pepo), kCoarseMin, kCoarseMax),
                                    std::clamp(finePositionFor(pepo), kFineMin, kFineMax),
                                    name + std::string(", Pe/Po = ") + formatRounded4(pepo)});
        }
    }
    return v;
}

StatusView WindowLogic::statusView() const
{
    StatusView v;
    v.status = statusText();
    v.statusIsRefusal = statusIsRefusal();
    // The flow in time says where it stands, unless a refusal or a typed
    // Pe/Po waits, or a plot is hovered.
    if (flow_ && hoverText_.empty() && statusKind_ != StatusKind::Refusal &&
        statusKind_ != StatusKind::PendingPePo)
        v.status = unsteadyView().unsteadyLine;
    v.banner = bannerText();
    v.statusSize = v.bannerSize = projector_ ? kProjectorStatusSize : 0;
    v.announcement = announcement_;
    v.announcementSerial = announcementSerial_;
    return v;
}

std::string WindowLogic::bannerText() const
{
    const std::optional<BoxRefusal> standing = standingRefusal();
    if (calculated() && ((standing && !standing->engine) ||
                         (statusKind_ == StatusKind::Refusal && !(texts_ == accepted_)))) {
        // The plots and figures are those of the last accepted texts, not of
        // the boxes: said over the plots, with the values they belong to.
        return "Showing the last accepted values: Me_Sup = " + accepted_.me_sup +
               ", Amax/At = " + accepted_.amax + ", Pe/Po = " + accepted_.pe_po;
    }
    return banner_;
}

ReportView WindowLogic::reportView() const
{
    ReportView v;
    v.report = reportLines();
    for (int i = 0; i < static_cast<int>(v.report.size()); ++i)
        v.reportHelp.push_back(reportLabelMeaning(model_.result().report.label(i)));
    v.explanation = explanation();
    if (flow_) v.explanation = unsteadyStory() + "\n\n" + v.explanation;
    v.explanationShown = explanationShown_;
    return v;
}

std::array<PlotState, 3> WindowLogic::plotStates() const
{
    std::array<PlotState, 3> plots;
    const PlotQuantity third = model_.thirdPlot();
    const std::string captions[] = {"", "M", std::string(quantityCaption(third))};
    for (int i = 0; i < 3; ++i) {
        const auto kind = static_cast<PlotKind>(i);
        PlotState& p = plots[static_cast<std::size_t>(i)];
        p.id = plotId(kind);
        p.caption = captions[i];
        p.description = plotDescription(kind, third);
        p.drawn = calculated();
        p.design = plotDesign(kind);
        p.sceneRevision = sceneRevision_;
    }
    return plots;
}

SettingsView WindowLogic::settingsView() const
{
    SettingsView v;
    v.settings = settings();
    v.zoom = zoom_;
    v.projector = projector_;
    v.projectorPlot = projector_ ? projectorPlot_ : 0;
    // The address carries only what was accepted: a refused text never
    // reaches it (nor a reload of it).
    if (calculated())
        v.address = addressOf(accepted_, acceptedGasName_, acceptedGasK_, model_.thirdPlot(),
                              acceptedEngineTexts_, unitSystemName(acceptedUnits_), unsteady_);
    v.calculations = calculations_;
    return v;
}

EngineView WindowLogic::engineView() const
{
    EngineView v;
    const std::optional<BoxRefusal> standing = standingRefusal();
    const struct {
        const char* id;
        const char* label;
        std::string placeholder;
        const char* help;
    } fields[] = {
        {"Txt_p0", "p0 =", units_ == UnitSystem::US ? "1015 psi" : "7 MPa",
         "Chamber pressure: Pa, kPa, MPa, bar, atm or psi"},
        {"Txt_T0", "T0 =", units_ == UnitSystem::US ? "6300 R" : "3500 K",
         "Chamber temperature: K or R"},
        {"Txt_At", "A_t =", units_ == UnitSystem::US ? "46.5 in2" : "300 cm2",
         "Throat area (cm2, mm2, m2, in2, ft2), or its diameter (cm, mm, m, in, ft)"},
        {"Txt_Molar", "Molar mass =",
         findGas(gasName_) ? formatShown(findGas(gasName_)->molarMass) + " g/mol" : "g/mol",
         "Molar mass of the gas, g/mol (a listed gas has its own)"},
        {"Txt_Altitude", "Altitude =", units_ == UnitSystem::US ? "65000 ft" : "20 km",
         "Altitude, 0 to 86 km: the back pressure from the 1976 standard atmosphere"},
        {"Txt_AreaRatio", "Ae/At =", "", "Exit area over throat area: sets Me_Sup"},
    };
    for (int i = 0; i < kEngineFieldCount; ++i) {
        const auto& f = fields[i];
        EngineField field{f.id, f.label, engineTexts_[static_cast<std::size_t>(i)], f.placeholder,
                          f.help};
        if (static_cast<EngineFieldKind>(i) == EngineFieldKind::AreaRatio && calculated())
            field.placeholder = formatShown(model_.state().AAe);
        v.engine.push_back(std::move(field));
    }
    v.units = unitSystemName(units_);
    v.altitudeEnabled = engine_.has_value();
    v.altitude = {altitudePosition_,
                  0,
                  altitudeSteps(),
                  altitude_ ? "Altitude " + formatQuantity(*altitude_, Quantity::Altitude, units_)
                            : "Altitude",
                  "altitude",
                  "Altitude"};
    v.ascent = engine_.has_value() && altitude_.has_value();
    if (engine_ && calculated() && standing && standing->engine) {
        // Thrust needs every engine box: none is shown while one is refused.
        v.engineLine = "Thrust and I_sp wait for the refused engine box";
    } else if (engine_ && calculated()) {
        const EngineFigures f = engineFigures(*engine_, model_.state(), model_.result());
        v.engineLine = engineSummary(f, units_);
        if (altitude_)
            v.engineLine += " at " + formatQuantity(*altitude_, Quantity::Altitude, units_);
    } else if (!engine_ && (!engineText(EngineFieldKind::ChamberPressure).empty() ||
                            !engineText(EngineFieldKind::ChamberTemperature).empty() ||
                            !engineText(EngineFieldKind::Throat).empty())) {
        v.engineLine =
            findGas(gasName_) || !engineText(EngineFieldKind::MolarMass).empty()
                ? "For thrust and I_sp: p0 =, T0 = and A_t ="
                : "For thrust and I_sp: p0 =, T0 =, A_t = and the molar mass of " + gasName_;
    }
    return v;
}

} // namespace cdnozzle
