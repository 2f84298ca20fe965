// The window's logic as the front ends see it: events in, the view state,
// the menus, the keys, the settings and the exported files out.
#include "panel/window_logic.h"

#include "model/thrust_curve.h"
#include "panel/back_pressure_bars.h"
#include "results/regime_summary.h"
#include "results/station_data.h"
#include "text/number_text.h"

#include <algorithm>
#include <cmath>

namespace cdnozzle {

std::string_view speedName(PlaySpeed speed)
{
    switch (speed) {
    case PlaySpeed::Slow: return "slow";
    case PlaySpeed::Normal: return "normal";
    case PlaySpeed::Fast: return "fast";
    }
    return "normal";
}

namespace {

Event eventOf(EventKind kind, double number = 0)
{
    Event e;
    e.kind = kind;
    e.number = number;
    return e;
}

Event textEvent(EventKind kind, std::string text)
{
    Event e;
    e.kind = kind;
    e.text = std::move(text);
    return e;
}

std::string capitalized(std::string text)
{
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 32);
    return text;
}

// The gas as a menu entry shows it: "Air (k = 1.4)".
std::string gasLabel(std::string_view name, double k)
{
    return capitalized(std::string(name)) + " (k = " + formatRounded4(k) + ")";
}

constexpr PlotQuantity kQuantities[] = {PlotQuantity::Pressure, PlotQuantity::Temperature,
                                        PlotQuantity::Density, PlotQuantity::Thrust};

const char* plotId(PlotKind plot)
{
    switch (plot) {
    case PlotKind::Geometry: return "Picture_Geo";
    case PlotKind::Mach: return "Picture_Mach";
    case PlotKind::Third: return "Picture_PiPo";
    }
    return "Picture_Geo";
}

// A text as part of a file name: letters, digits, "." and "-" kept, the
// rest left out ("2.5" stays "2.5", "1e-3" stays "1e-3").
std::string fileNamePart(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '.' || c == '-')
            out += c;
        if (out.size() >= 24) break;
    }
    return out.empty() ? "0" : out;
}

std::string plotFileName(PlotKind plot, PlotQuantity third)
{
    switch (plot) {
    case PlotKind::Geometry: return "nozzle";
    case PlotKind::Mach: return "mach";
    case PlotKind::Third: break;
    }
    return third == PlotQuantity::Temperature ? "temperature"
           : third == PlotQuantity::Density   ? "density"
           : third == PlotQuantity::Thrust    ? "thrust"
                                              : "pressure";
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
    case EventKind::ThirdPlot: setThirdPlot(kQuantities[whole(e.number, 0, 3)]); break;
    case EventKind::Play: playOrPause(e.time); break;
    case EventKind::Reverse: playReverse(e.time); break;
    case EventKind::Slower:
        setPlaySpeed(static_cast<PlaySpeed>(std::max(0, static_cast<int>(speed_) - 1)), e.time);
        break;
    case EventKind::Faster:
        setPlaySpeed(static_cast<PlaySpeed>(std::min(2, static_cast<int>(speed_) + 1)), e.time);
        break;
    case EventKind::PauseAtLimits: setPauseAtLimits(e.number != 0); break;
    case EventKind::Tick: tick(e.time); break;
    case EventKind::Explain: explanationShown_ = e.number != 0; break;
    case EventKind::ZoomIn: setZoom(zoom_ + kZoomStep); break;
    case EventKind::ZoomOut: setZoom(zoom_ - kZoomStep); break;
    case EventKind::ZoomReset: setZoom(kZoomMin); break;
    case EventKind::Hover: {
        const auto plot = static_cast<PlotKind>(whole(e.plot, 0, 2));
        if (!calculated()) break;
        const PlotScene& scene = plot == PlotKind::Geometry ? model_.geometryScene()
                                 : plot == PlotKind::Mach   ? model_.machScene()
                                                            : model_.thirdScene();
        const Projection to(scene, e.width, 1);
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
                openScenario(s->texts, s->gas, s->k, s->third, s->engine, s->units);
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
    case EventKind::Start: start(); break;
    case EventKind::Setting: {
        const std::size_t is = e.text.find('=');
        if (is != std::string::npos) applySetting({e.text.substr(0, is), e.text.substr(is + 1)});
        break;
    }
    }
    // The engine, the units or the altitude may have changed.
    showThrust();
}

void WindowLogic::setZoom(double zoom)
{
    if (!std::isfinite(zoom)) return;
    zoom_ = std::clamp(std::round(zoom / kZoomStep) * kZoomStep, kZoomMin, kZoomMax);
}

ViewState WindowLogic::view() const
{
    ViewState v;
    v.boxes = boxTexts();
    v.coarse = {coarse_, kCoarseMin, kCoarseMax, "Pe/Po " + formatGeneral(coarsePePo(coarse_)),
                "coarse"};
    v.fine = {fine_, kFineMin, kFineMax, "Pe/Po " + formatGeneral(finePePo(fine_)), "fine"};
    v.status = statusText();
    v.statusIsRefusal = statusIsRefusal();
    v.report = reportLines();
    for (int i = 0; i < static_cast<int>(v.report.size()); ++i)
        v.reportHelp.push_back(reportLabelMeaning(model_.result().report.label(i)));
    v.explanation = explanation();
    v.explanationShown = explanationShown_;
    const PlotQuantity third = model_.thirdPlot();
    const PlotScene* scenes[] = {&model_.geometryScene(), &model_.machScene(),
                                 &model_.thirdScene()};
    const std::string captions[] = {"", "M", std::string(quantityCaption(third))};
    for (int i = 0; i < 3; ++i) {
        const auto kind = static_cast<PlotKind>(i);
        PlotState& p = v.plots[static_cast<std::size_t>(i)];
        p.id = plotId(kind);
        p.caption = captions[i];
        p.description = plotDescription(kind, third);
        p.scene = calculated() ? scenes[i] : nullptr;
        p.design = plotDesign(kind);
    }

    Menu play{"Mn_Play", "Play", {}};
    auto item = [](std::string id, std::string label, std::string icon, std::string key, Event e) {
        MenuItem m;
        m.id = std::move(id);
        m.label = std::move(label);
        m.icon = std::move(icon);
        m.key = std::move(key);
        m.event = std::move(e);
        return m;
    };
    play.items.push_back(item("Play", playing_ ? "Pause" : "Play", playing_ ? "❚❚" : "▶", "F5",
                              eventOf(EventKind::Play)));
    play.items.back().widest = "❚❚ Pause";
    play.items.push_back(
        item("PlayReverse", "Reverse", "⇅", "Shift+F5", eventOf(EventKind::Reverse)));
    play.items.push_back(item("PlaySlower", "Slower", "−", "F6", eventOf(EventKind::Slower)));
    play.items.back().enabled = speed_ != PlaySpeed::Slow;
    play.items.push_back(item("PlayFaster", "Faster", "+", "F7", eventOf(EventKind::Faster)));
    play.items.back().enabled = speed_ != PlaySpeed::Fast;
    play.items.push_back(item("PauseAtLimits", "Pause at the limits", "", "",
                              eventOf(EventKind::PauseAtLimits, pauseAtLimits_ ? 0 : 1)));
    play.items.back().checkable = true;
    play.items.back().checked = pauseAtLimits_;
    play.items.back().separatorBefore = true;
    play.items.push_back(
        item("StepDown", "Pe/Po −0.001", "−0.001", "", eventOf(EventKind::StepDown)));
    play.items.back().separatorBefore = true;
    play.items.back().enabled = fine_ < kFineMax;
    play.items.push_back(item("StepUp", "Pe/Po +0.001", "+0.001", "", eventOf(EventKind::StepUp)));
    play.items.back().enabled = fine_ > kFineMin;
    play.items.push_back(item("Reset", "Reset", "↺", "", eventOf(EventKind::Reset)));
    play.items.push_back(item("ExplainToggle", "Explain", "", "F1",
                              eventOf(EventKind::Explain, explanationShown_ ? 0 : 1)));
    play.items.back().checkable = true;
    play.items.back().checked = explanationShown_;
    play.items.back().separatorBefore = true;
    play.items.push_back(item("Shortcuts", "Keyboard shortcuts…", "", "",
                              eventOf(EventKind::Shortcuts, shortcutsShown_ ? 0 : 1)));

    Menu gas{"Mn_Gas", "Gas", {}};
    bool listed = false;
    for (const NamedGas& g : kGases) {
        MenuItem m = item("Mn_Gas_" + std::string(g.name), gasLabel(g.name, g.k), "", "",
                          textEvent(EventKind::ListedGas, std::string(g.name)));
        m.checkable = true;
        m.checked = gasName_ == g.name;
        m.group = "gas";
        listed = listed || m.checked;
        gas.items.push_back(std::move(m));
    }
    if (!listed) {
        // The gas of another k stays in the list while it is chosen.
        MenuItem m = item("Mn_Gas_chosen", capitalized(gasName_), "", "",
                          textEvent(EventKind::OtherGas, formatRoundTrip(gasK())));
        m.checkable = true;
        m.checked = true;
        m.group = "gas";
        gas.items.push_back(std::move(m));
    }
    // "Other..." asks for k, every time it is chosen.
    MenuItem other = item("Mn_Gas_Other", "Other…", "", "", textEvent(EventKind::OtherGas, ""));
    other.checkable = true;
    other.group = "gas";
    other.asks = true;
    other.separatorBefore = true;
    gas.items.push_back(std::move(other));
    Menu show{"Mn_View", "View", {}};
    show.items.push_back(item("Projector", "Projector view", "", "F8",
                              eventOf(EventKind::Projector, projector_ ? 0 : 1)));
    show.items.back().checkable = true;
    show.items.back().checked = projector_;
    // The projector view's layout: the three plots, or one of them as large
    // as the room of the three (keys 0 to 3, outside the boxes).
    const char* layouts[] = {"The three plots", "Nozzle plot alone", "Mach plot alone",
                             "Third plot alone"};
    for (int i = 0; i < 4; ++i) {
        show.items.push_back(item("ProjectorPlot_" + std::to_string(i), layouts[i], "",
                                  std::to_string(i), eventOf(EventKind::ProjectorPlot, i)));
        show.items.back().checkable = true;
        show.items.back().checked = projectorPlot_ == i;
        show.items.back().enabled = projector_;
        show.items.back().group = "projectorPlot";
    }
    const std::pair<UnitSystem, const char*> systems[] = {
        {UnitSystem::SI, "SI units (MPa, K, cm², km)"},
        {UnitSystem::US, "US customary units (psi, R, in², ft)"}};
    for (const auto& [system, label] : systems) {
        show.items.push_back(item("Units_" + std::string(unitSystemName(system)), label, "", "",
                                  eventOf(EventKind::Units, system == UnitSystem::US ? 1 : 0)));
        show.items.back().checkable = true;
        show.items.back().checked = units_ == system;
        show.items.back().group = "units";
        show.items.back().separatorBefore = system == UnitSystem::SI;
    }
    v.menus = {std::move(play), std::move(gas), std::move(show)};

    v.playing = playing_;
    v.speed = speedName(speed_);
    v.zoom = zoom_;
    // The address carries only what was accepted: a refused text never
    // reaches it (nor a reload of it).
    if (calculated())
        v.address = addressOf(accepted_, acceptedGasName_, acceptedGasK_, model_.thirdPlot(),
                              acceptedEngineTexts_, unitSystemName(acceptedUnits_));
    v.calculations = calculations_;
    v.settings = settings();
    if (calculated()) {
        const FlowState& s = model_.state();
        const std::pair<const char*, double> limits[] = {{"subsonic limit", s.PePo_sub},
                                                         {"normal-shock limit", s.PePo_NS},
                                                         {"design", s.PePo_OS}};
        for (const auto& [name, pepo] : limits) {
            v.limitMarks.push_back(
                {name, pepo, std::clamp(coarsePositionFor(pepo), kCoarseMin, kCoarseMax),
                 std::clamp(finePositionFor(pepo), kFineMin, kFineMax), formatRounded4(pepo)});
        }
    }
    v.banner = bannerText();
    const std::optional<BoxRefusal> standing = standingRefusal();
    v.projector = projector_;
    v.projectorPlot = projector_ ? projectorPlot_ : 0;
    v.statusSize = v.bannerSize = projector_ ? kProjectorStatusSize : 0;
    v.announcement = announcement_;
    v.announcementSerial = announcementSerial_;
    v.shortcutsShown = shortcutsShown_;
    v.keys = keyList();

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
    v.altitude = {altitudePosition_, 0, altitudeSteps(),
                  altitude_ ? "Altitude " + formatQuantity(*altitude_, Quantity::Altitude, units_)
                            : "Altitude",
                  "altitude"};
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

Menu WindowLogic::plotMenu(PlotKind plot) const
{
    Menu menu{"PlotMenu", "", {}};
    auto add = [&](std::string id, std::string label, Event e) {
        MenuItem m;
        m.id = std::move(id);
        m.label = std::move(label);
        m.event = std::move(e);
        m.enabled = calculated();
        menu.items.push_back(std::move(m));
        return &menu.items.back();
    };
    if (plot == PlotKind::Third) {
        // The thrust against altitude only for an engine.
        for (int q = 0; q < (engine_ ? 4 : 3); ++q) {
            const PlotQuantity quantity = kQuantities[q];
            MenuItem* m = add("Show_" + std::to_string(q),
                              quantity == PlotQuantity::Thrust
                                  ? "Show F, I_sp against altitude"
                                  : "Show " + std::string(quantityCaption(quantity)),
                              eventOf(EventKind::ThirdPlot, q));
            m->checkable = true;
            m->checked = model_.thirdPlot() == quantity;
            m->group = "third";
        }
    }
    const std::pair<const char*, const char*> exports[] = {{"copy", "Copy image"},
                                                           {"png", "Save PNG image…"},
                                                           {"svg", "Save SVG image…"},
                                                           {"csv", "Save data as CSV…"}};
    bool first = true;
    for (const auto& [format, label] : exports) {
        Event e = textEvent(EventKind::Export, format);
        e.plot = static_cast<int>(plot);
        MenuItem* m = add(std::string("Export_") + format, label, e);
        m->separatorBefore = first && plot == PlotKind::Third;
        first = false;
    }
    if (engine_) {
        Event e = textEvent(EventKind::Export, "thrust");
        e.plot = static_cast<int>(plot);
        add("Export_thrust", "Save thrust over altitude as CSV…", e);
    }
    return menu;
}

std::vector<KeyBinding> WindowLogic::extraKeys() const
{
    // The window's zoom for the back row (a browser zooms a page itself),
    // and a presenter's remote, which sends Page Down and Page Up.
    return {{"Ctrl++", eventOf(EventKind::ZoomIn)},     {"Ctrl+=", eventOf(EventKind::ZoomIn)},
            {"Ctrl+-", eventOf(EventKind::ZoomOut)},    {"Ctrl+0", eventOf(EventKind::ZoomReset)},
            {"PgDown", eventOf(EventKind::CoarseDown)}, {"PgUp", eventOf(EventKind::CoarseUp)}};
}

std::vector<KeyHelp> WindowLogic::keyList() const
{
    std::vector<KeyHelp> keys;
    keys.push_back({"F5", "Play or pause the back pressure"});
    keys.push_back({"Shift+F5", "Play the other way"});
    keys.push_back({"F6", "Play slower"});
    keys.push_back({"F7", "Play faster"});
    keys.push_back({"F1", "Show or hide the explanation"});
    keys.push_back({"F8", "Projector view"});
    keys.push_back(
        {"1, 2, 3, 0", "Projector view: one plot alone (nozzle, Mach, third), or all three"});
    keys.push_back({"Enter", "Calculate (in any box)"});
    keys.push_back({"Page Down", "Pe/Po one hundredth lower (a presenter's remote)"});
    keys.push_back({"Page Up", "Pe/Po one hundredth higher"});
    keys.push_back({"Down, Up", "A bar with the focus: one step lower or higher Pe/Po"});
    keys.push_back({"Home, End", "A bar with the focus: Pe/Po 1, or its lowest"});
    keys.push_back({"Ctrl+Plus, Ctrl+Minus, Ctrl+0", "Zoom in, out, back to 100 %"});
    return keys;
}

GasPrompt WindowLogic::otherGasPrompt() const
{
    const NamedGas* listed = findGas(gasName_);
    const std::string& molar = engineText(EngineFieldKind::MolarMass);
    return {"Other gas",
            "Ratio of specific heats k (" + formatGeneral(kMinK) + " to " + formatGeneral(kMaxK) +
                "):",
            formatRoundTrip(gasK()), "Molar mass, g/mol (for an engine's thrust; may stay empty):",
            !molar.empty() ? molar
            : listed       ? formatShown(listed->molarMass)
                           : ""};
}

DisplayList WindowLogic::displayList(PlotKind plot, double width, double height, double scale) const
{
    if (!calculated()) {
        DisplayList empty;
        empty.width = width;
        empty.height = height;
        return empty;
    }
    const PlotScene& scene = plot == PlotKind::Geometry ? model_.geometryScene()
                             : plot == PlotKind::Mach   ? model_.machScene()
                                                        : model_.thirdScene();
    DrawStyle style = drawStyle(plot);
    // The banner stands over the top of the plots: the geometry's.
    style.banner = plot == PlotKind::Geometry && !bannerText().empty();
    return drawScene(scene, width, height, scale, {}, style);
}

DrawStyle WindowLogic::drawStyle(PlotKind plot) const
{
    if (!projector_) return {};
    const PlotDesign d = plotDesign(plot);
    return {true, projectorPlot_ == 0 ? kProjectorTextShare : kProjectorAloneTextShare, d.width,
            d.height};
}

void WindowLogic::prepareExport(PlotKind plot, const std::string& format)
{
    if (!calculated()) return;
    ExportFile& f = export_;
    // Names that say what they hold: nozzle-me2-pepo0.8-mach.png.
    const std::string base = "nozzle-me" + fileNamePart(accepted_.me_sup) + "-pepo" +
                             fileNamePart(accepted_.pe_po) + "-" +
                             plotFileName(plot, model_.thirdPlot());
    const std::string stamp = "Me_Sup = " + accepted_.me_sup + " · Amax/At = " + accepted_.amax +
                              " · Pe/Po = " + accepted_.pe_po + " · " + acceptedGasName_ +
                              " (k = " + formatRounded4(acceptedGasK_) + ")";
    const DrawStyle style{projector_};
    const PlotScene& scene = plot == PlotKind::Geometry ? model_.geometryScene()
                             : plot == PlotKind::Mach   ? model_.machScene()
                                                        : model_.thirdScene();
    const std::string caption = plot == PlotKind::Geometry ? ""
                                : plot == PlotKind::Mach
                                    ? "M"
                                    : std::string(quantityCaption(model_.thirdPlot()));
    f.format = format;
    f.text.clear();
    f.picture = {};
    if (format == "thrust" ||
        (format == "csv" && plot == PlotKind::Third && model_.showsThrust())) {
        // The thrust plot's data is the climb's.
        f.format = "thrust";
        if (!engine_) return;
        f.name = "nozzle-me" + fileNamePart(accepted_.me_sup) + "-thrust-over-altitude.csv";
        f.mime = "text/csv";
        f.text = thrustCurveCsv(accepted_, acceptedGasK_, *engine_, units_,
                                climbAltitudes(units_ == UnitSystem::US ? 2500 * kFoot : 1000));
    } else if (format == "csv") {
        f.name = "nozzle-me" + fileNamePart(accepted_.me_sup) + "-pepo" +
                 fileNamePart(accepted_.pe_po) + "-stations.csv";
        f.mime = "text/csv";
        f.text = stationCsv(model_.state());
    } else if (format == "svg") {
        f.name = base + ".svg";
        f.mime = "image/svg+xml";
        f.text = svgText(exportedPlot(plot, scene, caption, style, stamp));
    } else {
        f.format = format == "copy" ? "copy" : "png";
        f.name = base + ".png";
        f.mime = "image/png";
        f.picture = exportedPlot(plot, scene, caption, style, stamp);
    }
    ++f.serial;
}

std::vector<Setting> WindowLogic::settings() const
{
    return {{"zoom", formatGeneral(zoom_)},
            {"playSpeed", std::to_string(static_cast<int>(speed_))},
            {"pauseAtLimits", pauseAtLimits_ ? "true" : "false"},
            {"projector", projector_ ? "true" : "false"},
            {"units", std::string(unitSystemName(units_))}};
}

void WindowLogic::applySetting(const Setting& s)
{
    if (s.key == "zoom") {
        const auto v = readWholeNumber(s.value);
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
    }
}

} // namespace cdnozzle
