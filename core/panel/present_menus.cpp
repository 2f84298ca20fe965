// SPDX-License-Identifier: MIT
// The presenter of the menus, the play and the keys; the plots' context
// menu and the "Other..." dialog.
#include "panel/window_logic.h"

#include "panel/back_pressure_bars.h"
#include "text/number_text.h"

#include <array>

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

} // namespace

MenusView WindowLogic::menusView() const
{
    MenusView v;
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
    play.items.back().toggle = true;
    play.items.back().pressed = playing_;
    play.items.push_back(
        item("PlayReverse", "Reverse", "⇅", "Shift+F5", eventOf(EventKind::Reverse)));
    // The flow in time runs one way, and stops at no limit.
    play.items.back().enabled = !unsteady_;
    play.items.push_back(item("PlaySlower", "Slower", "−", "F6", eventOf(EventKind::Slower)));
    play.items.back().enabled = speed_ != PlaySpeed::Slow;
    play.items.push_back(item("PlayFaster", "Faster", "+", "F7", eventOf(EventKind::Faster)));
    play.items.back().enabled = speed_ != PlaySpeed::Fast;
    play.items.push_back(item("PauseAtLimits", "Pause at the limits", "", "",
                              eventOf(EventKind::PauseAtLimits, pauseAtLimits_ ? 0 : 1)));
    play.items.back().checkable = true;
    play.items.back().checked = pauseAtLimits_;
    play.items.back().separatorBefore = true;
    play.items.back().enabled = !unsteady_;
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
    // The flow in time: a frame of steps, and back to rest.
    play.items.push_back(item("TimeStep", "Step in time", "⇥", "F9", eventOf(EventKind::TimeStep)));
    play.items.back().separatorBefore = true;
    play.items.back().enabled = unsteady_;
    play.items.push_back(
        item("TimeRestart", "Back to t = 0", "⇤", "Shift+F9", eventOf(EventKind::TimeRestart)));
    play.items.back().enabled = unsteady_;

    Menu gas{"Mn_Gas", "Gas", {}};
    bool listed = false;
    // The listed gases' labels never change: made once.
    static const auto listedLabels = [] {
        std::array<std::string, kGases.size()> labels;
        for (std::size_t i = 0; i < kGases.size(); ++i)
            labels[i] = gasLabel(kGases[i].name, kGases[i].k);
        return labels;
    }();
    for (std::size_t i = 0; i < kGases.size(); ++i) {
        const NamedGas& g = kGases[i];
        MenuItem m = item("Mn_Gas_" + std::string(g.name), listedLabels[i], "", "",
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
    // Steady, or the flow in time.
    const std::pair<bool, const char*> modes[] = {{false, "Steady flow"},
                                                  {true, "Flow in time (from rest)"}};
    for (const auto& [mode, label] : modes) {
        show.items.push_back(item(mode ? "Mode_Unsteady" : "Mode_Steady", label, "", "",
                                  eventOf(EventKind::Mode, mode ? 1 : 0)));
        show.items.back().checkable = true;
        show.items.back().checked = unsteady_ == mode;
        show.items.back().group = "mode";
        show.items.back().separatorBefore = !mode;
    }
    v.menus = {std::move(play), std::move(gas), std::move(show)};
    for (Menu& menu : v.menus)
        for (MenuItem& m : menu.items)
            if (m.checkable) {
                m.toggle = true;
                m.pressed = m.checked;
            }
    v.playing = playing_;
    v.speed = speedName(speed_);
    const double rate = unsteady_ ? timeStepsPerSecond(speed_) : stepsPerSecond(speed_);
    v.readoutsPerSecond = playing_ && rate > kReadoutsPerSecond ? kHeldReadoutsPerSecond : 0;
    v.shortcutsShown = shortcutsShown_;
    v.keys = keyList();
    v.extraKeys = extraKeys();
    const bool fresh = !calculated();
    v.buttons = {{"Command1", true, fresh},
                 {"Play", true, fresh},
                 {"ShareLink", !fresh, false},
                 {"SaveFigure", !fresh, false}};
    return v;
}

Menu WindowLogic::plotMenu(PlotKind plot) const
{
    Menu menu{"PlotMenu", "", {}};
    if (!calculated()) return menu;
    auto add = [&](std::string id, std::string label, Event e) {
        MenuItem m;
        m.id = std::move(id);
        m.label = std::move(label);
        m.event = std::move(e);
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
    // The window's zoom for the back row (a browser zooms a page itself);
    // a presenter's remote, which sends Page Down and Page Up; the list of
    // keys on "?"; Enter in a box calculates, as "Calculate" does.
    const auto zoom = [](std::string key, EventKind kind) {
        return KeyBinding{std::move(key), eventOf(kind), true, true, true};
    };
    const auto outside = [](std::string key, Event e) {
        return KeyBinding{std::move(key), std::move(e), false, true, false};
    };
    return {zoom("Ctrl++", EventKind::ZoomIn),
            zoom("Ctrl+=", EventKind::ZoomIn),
            zoom("Ctrl+-", EventKind::ZoomOut),
            zoom("Ctrl+0", EventKind::ZoomReset),
            outside("PgDown", eventOf(EventKind::CoarseDown)),
            outside("PgUp", eventOf(EventKind::CoarseUp)),
            outside("?", eventOf(EventKind::Shortcuts, 1)),
            {"Enter", eventOf(EventKind::Calculate), true, false, false}};
}

std::vector<KeyHelp> WindowLogic::keyList() const
{
    std::vector<KeyHelp> keys;
    keys.push_back({"F5", "Play or pause the back pressure"});
    keys.push_back({"Shift+F5", "Play the other way"});
    keys.push_back({"F6", "Play slower"});
    keys.push_back({"F7", "Play faster"});
    keys.push_back({"F9", "The flow in time: one frame of steps"});
    keys.push_back({"Shift+F9", "The flow in time: back to rest at t = 0"});
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
    keys.push_back({"?", "This list of keys"});
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

} // namespace cdnozzle
