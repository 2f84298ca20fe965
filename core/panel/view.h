// SPDX-License-Identifier: MIT
// What the window and the page exchange with the window's logic: one Event
// type for every user action (also the replay format of an event log), and
// one ViewState with everything a front end shows, in sections that each
// carry a revision and describe their fields once (view_fields.h). The
// front ends turn their platform's events into Events and draw the
// sections that changed; every decision a user can see is made behind
// these types.
#pragma once

#include "panel/view_fields.h"
#include "plots/display_list.h"
#include "plots/plot_scene.h"
#include "results/station_data.h"
#include "text/validation.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace cdnozzle {

enum class EventKind {
    EditMeSup,     // text: "Me_Sup =" edited
    EditAmax,      // text: "Amax/At =" edited
    EditPePo,      // text: "Pe/Po =" edited (waits for Calculate)
    Calculate,     // "Calculate"
    ClickGeometry, // a click on the geometry plot
    MoveCoarse,    // number: the coarse bar's new position
    MoveFine,      // number: the fine bar's new position
    ListedGas,     // text: a gas of the list by its name
    OtherGas,      // text: the k typed into "Other..."
    ThirdPlot,     // number: what the third plot shows (PlotQuantity)
    Play,          // time: play or pause
    Reverse,       // time: play the other way
    Slower,        // time
    Faster,        // time
    PauseAtLimits, // number: 1 on, 0 off
    Tick,          // time: the front end's clock moved on
    Explain,       // number: 1 show the explanation, 0 hide it
    ZoomIn,
    ZoomOut,
    ZoomReset,
    Hover,        // plot, number: pixel x over the plot, width: its width in pixels
    Leave,        // the pointer left the plots
    OpenAddress,  // text: a scenario's address ("#me=2&amax=3&pepo=0.8")
    Export,       // plot, text: "png", "svg", "csv" or "copy"
    StepDown,     // Pe/Po one thousandth lower (the fine bar one step down)
    StepUp,       // Pe/Po one thousandth higher
    CoarseDown,   // Pe/Po one hundredth lower (the coarse bar one step down)
    CoarseUp,     // Pe/Po one hundredth higher
    Reset,        // the start-up values again
    Projector,    // number: 1 the projector view, 0 the usual one
    Shortcuts,    // number: 1 show the list of keys, 0 hide it
    EditEngine,   // text, number: an engine box edited (an EngineFieldKind)
    Units,        // number: 0 SI units, 1 US customary units
    MoveAltitude, // number: the altitude slider's new position
    // number: the projector view's layout, 0 the three plots, 1 to 3 one
    // of them alone (PlotKind + 1)
    ProjectorPlot,
    // the front end has opened: the start-up flow drawn, nothing counted;
    // width: the front end's width in CSS pixels where its layout flows
    // with it (the page), 0 for a window of a designed size
    Start,
    Setting, // text: a setting kept between runs, "key=value" ("zoom=1.5")
    // number: 0 the steady flow of the back pressure, 1 the flow in time
    // (the nozzle opened from rest)
    Mode,
    TimeStep,    // time: the flow in time one frame of steps on, the play paused
    TimeRestart, // time: the flow in time back to rest at t = 0
};

// The engine's boxes, in the order the front ends show them.
enum class EngineFieldKind {
    ChamberPressure,
    ChamberTemperature,
    Throat,
    MolarMass,
    Altitude,
    AreaRatio
};
inline constexpr int kEngineFieldCount = 6;

// One engine box: its control's name, its label, the text in it, what it
// shows while empty, and a line of help.
struct EngineField {
    std::string id;          // "Txt_p0"
    std::string label;       // "p0 ="
    std::string text;        // as typed
    std::string placeholder; // "7 MPa"
    std::string help;        // "Chamber pressure: Pa, kPa, MPa, bar, atm or psi"
    bool enabled = true;
    static constexpr auto fields()
    {
        using F = EngineField;
        return std::tuple{Field{"id", &F::id},     Field{"label", &F::label},
                          Field{"text", &F::text}, Field{"placeholder", &F::placeholder},
                          Field{"help", &F::help}, Field{"enabled", &F::enabled}};
    }
};

struct Event {
    EventKind kind = EventKind::Calculate;
    std::string text;
    double number = 0;
    int plot = 0;     // a PlotKind
    double width = 0; // Hover and Start only
    double time = 0;  // seconds on the front end's steady clock

    Event() = default;
    Event(EventKind k) : kind(k) {}
    Event(EventKind k, std::string t) : kind(k), text(std::move(t)) {}
    Event(EventKind k, double n) : kind(k), number(n) {}
    bool operator==(const Event&) const = default;
};

// The events' names in a log ("editMeSup", "moveCoarse", ...) and the
// fields each carries after its name, in order: t text, n number, p plot,
// w width, s time. A log is a JSON array of [name, fields...].
struct EventFormat {
    EventKind kind;
    std::string_view name;
    std::string_view fields;
};
const std::vector<EventFormat>& eventFormats();
const EventFormat* eventFormatNamed(std::string_view name);
const EventFormat& eventFormatOf(EventKind kind);

// A menu entry, a button of the page's play bar or of the plot menu: what it
// says and does, its key, and its state.
struct MenuItem {
    std::string id;    // the control's name ("Play", "Mn_Gas_air", ...)
    std::string label; // "Play", "Air (k = 1.4)", "Save SVG image…"
    std::string icon;  // a symbol a button may show before it ("▶"), or ""
    std::string key;   // its key ("F5", "Shift+F5", "Ctrl+0"), or ""
    // The widest icon and label the entry takes in any state ("❚❚ Pause"),
    // so that a button keeps its width when its label changes.
    std::string widest;
    Event event; // what choosing it does
    bool checkable = false;
    bool checked = false;
    bool enabled = true;
    bool separatorBefore = false;
    // Entries of one group are chosen one at a time (radio entries).
    std::string group;
    // The entry asks for its event's text first (the "Other..." dialog).
    bool asks = false;
    // Shown as a button, it stays down while it is on (Play while the play
    // runs, a checkable entry while checked): what a screen reader hears
    // as pressed or not.
    bool toggle = false;
    bool pressed = false;
    static constexpr auto fields()
    {
        using F = MenuItem;
        return std::tuple{Field{"id", &F::id},
                          Field{"label", &F::label},
                          Field{"icon", &F::icon},
                          Field{"key", &F::key},
                          Field{"widest", &F::widest},
                          Field{"event", &F::event},
                          Field{"checkable", &F::checkable},
                          Field{"checked", &F::checked},
                          Field{"enabled", &F::enabled},
                          Field{"separatorBefore", &F::separatorBefore},
                          Field{"group", &F::group},
                          Field{"asks", &F::asks},
                          Field{"toggle", &F::toggle},
                          Field{"pressed", &F::pressed}};
    }
};

struct Menu {
    std::string id;    // "Mn_Play", "Mn_Gas", "Mn_View", "PlotMenu"
    std::string title; // "Play"
    std::vector<MenuItem> items;
    static constexpr auto fields()
    {
        return std::tuple{Field{"id", &Menu::id}, Field{"title", &Menu::title},
                          Field{"items", &Menu::items}};
    }
};

// A key with no menu entry of its own (a second key for an entry), and
// where it acts: in a box (Enter), outside the boxes (a box keeps its own
// keys and the characters typed: Page Down, "?"), or both.
struct KeyBinding {
    std::string key; // "PgDown", "Ctrl+0", "Enter", "?"
    Event event;
    bool inBoxes = true;
    bool outsideBoxes = true;
    // A browser keeps the key for its own zoom: the page leaves it to it.
    bool browserKeeps = false;
    static constexpr auto fields()
    {
        using F = KeyBinding;
        return std::tuple{Field{"key", &F::key}, Field{"event", &F::event},
                          Field{"inBoxes", &F::inBoxes}, Field{"outsideBoxes", &F::outsideBoxes},
                          Field{"browserKeeps", &F::browserKeeps}};
    }
};

// A button besides the menus' entries: whether it can be pressed, and
// whether it stands out as where to begin.
struct ButtonState {
    std::string id; // "Command1", "Play", "ShareLink", "SaveFigure"
    bool enabled = true;
    bool suggested = false;
    static constexpr auto fields()
    {
        using F = ButtonState;
        return std::tuple{Field{"id", &F::id}, Field{"enabled", &F::enabled},
                          Field{"suggested", &F::suggested}};
    }
};

// A setting kept between runs: its key in the store, and its value as text.
struct Setting {
    std::string key;
    std::string value;
    static constexpr auto fields()
    {
        return std::tuple{Field{"key", &Setting::key}, Field{"value", &Setting::value}};
    }
};

// A file a user asked for: its default name, its type, and its contents
// (the text of an SVG or CSV file; a PNG or a copied picture is painted
// from the display list).
struct ExportFile {
    std::string name;   // "Picture_PiPo.svg"
    std::string format; // "png", "svg", "csv", "copy"
    std::string mime;   // "image/svg+xml"
    std::string text;
    DisplayList picture;
    // Where it goes and what it holds: onto the clipboard rather than into
    // a file, and a picture painted from the display list (a PNG image)
    // rather than the text.
    bool toClipboard = false;
    bool painted = false;
    int serial = 0; // counts the exports asked for
};

// The "Other..." dialog: its title, its question (with the accepted range)
// and the text it opens with; then its second question, the molar mass
// (answered or left empty), and its text. The two answers go back as one
// OtherGas text, k first, a tab between them when there is a molar mass.
struct GasPrompt {
    std::string title;
    std::string question;
    std::string initial;
    std::string molarQuestion;
    std::string molarInitial;
};

struct BarState {
    int position = 1, minimum = 1, maximum = 1;
    std::string valueText; // what a screen reader says of the position: "Pe/Po 0.67"
    std::string label;     // what it is beside it: "coarse", "fine"
    std::string name;      // what a screen reader calls it: "Back pressure, 0.01 per step"
    static constexpr auto fields()
    {
        using F = BarState;
        return std::tuple{Field{"position", &F::position}, Field{"minimum", &F::minimum},
                          Field{"maximum", &F::maximum},   Field{"valueText", &F::valueText},
                          Field{"label", &F::label},       Field{"name", &F::name}};
    }
};

// A limit back pressure marked beside (or in) the bars.
struct LimitMark {
    std::string name; // "subsonic limit", "normal-shock limit", "design"
    double pepo = 0;
    int coarse = 1, fine = 1; // the bars' positions that stand for it
    // What a pointer resting on it is told: "subsonic limit, Pe/Po = 0.9088".
    std::string tooltip;
    static constexpr auto fields()
    {
        using F = LimitMark;
        return std::tuple{Field{"name", &F::name}, Field{"pepo", &F::pepo},
                          Field{"coarse", &F::coarse}, Field{"fine", &F::fine},
                          Field{"tooltip", &F::tooltip}};
    }
};

// A key and what it does, for the list of keys.
struct KeyHelp {
    std::string key;  // "F5", "Page Down"
    std::string what; // "Play or pause"
    static constexpr auto fields()
    {
        return std::tuple{Field{"key", &KeyHelp::key}, Field{"what", &KeyHelp::what}};
    }
};

// The structs of lower layers a section holds.
template <> struct FieldTable<InputTexts> {
    static constexpr auto fields()
    {
        return std::tuple{Field{"me_sup", &InputTexts::me_sup}, Field{"amax", &InputTexts::amax},
                          Field{"pe_po", &InputTexts::pe_po}};
    }
};
template <> struct FieldTable<PlotDesign> {
    static constexpr auto fields()
    {
        return std::tuple{Field{"width", &PlotDesign::width}, Field{"height", &PlotDesign::height}};
    }
};

// The view comes in sections, each derived by one presenter from the
// logic's state. A section's revision changes exactly when one of its
// described fields does, so that a front end redraws only what changed;
// the revision itself is not a described field.

// The three boxes as shown.
struct BoxesView {
    InputTexts boxes;
    int revision = 0;
    static constexpr auto fields() { return std::tuple{Field{"boxes", &BoxesView::boxes}}; }
};

// The two back-pressure bars and the limits marked beside them.
struct BarsView {
    BarState coarse, fine;
    std::vector<LimitMark> limitMarks; // the three limits, once calculated
    int revision = 0;
    static constexpr auto fields()
    {
        using F = BarsView;
        return std::tuple{Field{"coarse", &F::coarse}, Field{"fine", &F::fine},
                          Field{"limitMarks", &F::limitMarks}};
    }
};

// The status line, the banner over the plots, and what a screen reader is
// told.
struct StatusView {
    std::string status;
    bool statusIsRefusal = false;
    // Over the plots while the play stands still at a limit ("Throat just
    // choked"), otherwise "".
    std::string banner;
    // The pixel size of the status line's and the banner's letters (0: as
    // designed; larger in the projector view).
    double statusSize = 0;
    double bannerSize = 0;
    // What a screen reader is told: the limits the play stops at, its
    // pauses, refusals; it changes only then (serial counts the times).
    std::string announcement;
    int announcementSerial = 0;
    int revision = 0;
    static constexpr auto fields()
    {
        using F = StatusView;
        return std::tuple{Field{"status", &F::status},
                          Field{"statusIsRefusal", &F::statusIsRefusal},
                          Field{"banner", &F::banner},
                          Field{"statusSize", &F::statusSize},
                          Field{"bannerSize", &F::bannerSize},
                          Field{"announcement", &F::announcement},
                          Field{"announcementSerial", &F::announcementSerial}};
    }
};

// The report's lines and the explanation for students.
struct ReportView {
    std::vector<std::string> report;
    // Each report line's meaning in plain words ("subsonic limit: below this
    // back pressure the throat is choked"), for a tooltip or a screen reader.
    std::vector<std::string> reportHelp;
    std::string explanation;
    bool explanationShown = false;
    int revision = 0;
    static constexpr auto fields()
    {
        using F = ReportView;
        return std::tuple{Field{"report", &F::report}, Field{"reportHelp", &F::reportHelp},
                          Field{"explanation", &F::explanation},
                          Field{"explanationShown", &F::explanationShown}};
    }
};

// One plot: its caption and description, its designed size, and whether
// it shows a flow (sceneRevision moves when its scene changes; the logic
// gives the scene itself, and the display list a front end paints).
struct PlotState {
    std::string id;          // "Picture_Geo", "Picture_Mach", "Picture_PiPo"
    std::string caption;     // "", "M", "p/p0", "T/T0", "ρ/ρ0"
    std::string description; // what the plot shows, for a screen reader
    PlotDesign design{};
    Rgb background = kPlotBackground; // under the plot, and under its export
    int sceneRevision = 0;
    bool drawn = false; // a flow is drawn (nothing before the first calculation)
    int revision = 0;
    static constexpr auto fields()
    {
        using F = PlotState;
        return std::tuple{Field{"id", &F::id},
                          Field{"caption", &F::caption},
                          Field{"description", &F::description},
                          Field{"design", &F::design},
                          Field{"background", &F::background},
                          Field{"sceneRevision", &F::sceneRevision},
                          Field{"drawn", &F::drawn}};
    }
};

// A play of more steps a second than kReadoutsPerSecond shows its
// readouts anew kHeldReadoutsPerSecond times a second (numbers that change
// faster cannot be read, and a phone keeps more of the plots' frames); a
// slower play shows every step's.
inline constexpr double kReadoutsPerSecond = 15;
inline constexpr double kHeldReadoutsPerSecond = 10;

// The menu bar (the page's play bar and Gas list), the play, the keys.
struct MenusView {
    std::vector<Menu> menus; // the menu bar, left to right
    bool playing = false;
    std::string speed; // "slow", "normal", "fast"
    // The most times a second the readouts that change at every step of a
    // play (the Pe/Po box, the status, the report, the engine's line) need
    // to be shown anew while the plots follow every step: 0 when every
    // step is to be read (standing still, or a play of at most that many
    // steps a second).
    double readoutsPerSecond = 0;
    bool shortcutsShown = false;
    std::vector<KeyHelp> keys;         // every key the program takes
    std::vector<KeyBinding> extraKeys; // the keys besides the menu entries'
    // Calculate and Play stand out while nothing is calculated, as the
    // status line says; Share link and Save figure wait for a flow.
    std::vector<ButtonState> buttons;
    int revision = 0;
    static constexpr auto fields()
    {
        using F = MenusView;
        return std::tuple{Field{"menus", &F::menus},
                          Field{"playing", &F::playing},
                          Field{"speed", &F::speed},
                          Field{"readoutsPerSecond", &F::readoutsPerSecond},
                          Field{"shortcutsShown", &F::shortcutsShown},
                          Field{"keys", &F::keys},
                          Field{"extraKeys", &F::extraKeys},
                          Field{"buttons", &F::buttons}};
    }
};

// The engine: its boxes, one line under the status with its figures (or
// what it still needs), the units, the altitude slider (enabled once a
// chamber pressure is set) and whether the play climbs.
struct EngineView {
    std::vector<EngineField> engine;
    std::string engineLine;
    std::string units; // "si", "us"
    BarState altitude;
    bool altitudeEnabled = false;
    bool ascent = false;
    int revision = 0;
    static constexpr auto fields()
    {
        using F = EngineView;
        return std::tuple{Field{"engine", &F::engine},
                          Field{"engineLine", &F::engineLine},
                          Field{"units", &F::units},
                          Field{"altitude", &F::altitude},
                          Field{"altitudeEnabled", &F::altitudeEnabled},
                          Field{"ascent", &F::ascent}};
    }
};

// What is kept and shared: the settings, the zoom and the projector view,
// the scenario's address.
struct SettingsView {
    std::vector<Setting> settings; // as they are to be kept
    double zoom = 1;               // the window's scale for the back row, 1 to 3
    bool projector = false;        // thicker lines, colours for every eye
    // The projector view's layout: 0 the three plots, 1 to 3 only that
    // plot (PlotKind + 1), filling the room of the three.
    int projectorPlot = 0;
    std::string address;  // the scenario of the last accepted calculation, "" before one
    int calculations = 0; // accepted calculations since start-up
    int revision = 0;
    static constexpr auto fields()
    {
        using F = SettingsView;
        return std::tuple{
            Field{"settings", &F::settings},   Field{"zoom", &F::zoom},
            Field{"projector", &F::projector}, Field{"projectorPlot", &F::projectorPlot},
            Field{"address", &F::address},     Field{"calculations", &F::calculations}};
    }
};

// The flow in time: whether it is shown, where it stands (t, steps,
// residual), what has happened, and the one line the status shows of it.
struct UnsteadyView {
    bool unsteady = false;    // the mode: the flow in time
    std::string unsteadyTime; // "t = 3.21 L/a0", "t = 3.21 L/a0 = 1.52 ms"
    int unsteadySteps = 0;
    std::string unsteadyResidual; // "0.0021"
    std::string unsteadyMassFlow; // ṁ_exit/ṁ*, "0.987"
    // What has happened, in order: "The throat chokes at t = 1.02 L/a0".
    std::vector<std::string> unsteadyEvents;
    std::string unsteadyLine; // all of it, in the status line
    int revision = 0;
    static constexpr auto fields()
    {
        using F = UnsteadyView;
        return std::tuple{Field{"unsteady", &F::unsteady},
                          Field{"unsteadyTime", &F::unsteadyTime},
                          Field{"unsteadySteps", &F::unsteadySteps},
                          Field{"unsteadyResidual", &F::unsteadyResidual},
                          Field{"unsteadyMassFlow", &F::unsteadyMassFlow},
                          Field{"unsteadyEvents", &F::unsteadyEvents},
                          Field{"unsteadyLine", &F::unsteadyLine}};
    }
};

// Everything a front end shows: its sections (their fields are the view's
// own, v.status, v.report, ...) and the three plots.
struct ViewState : BoxesView,
                   BarsView,
                   StatusView,
                   ReportView,
                   MenusView,
                   EngineView,
                   SettingsView,
                   UnsteadyView {
    std::array<PlotState, 3> plots;
};

// A view's section S.
template <class S, class V> auto& sectionOf(V& view)
{
    return static_cast<std::conditional_t<std::is_const_v<V>, const S&, S&>>(view);
}
// Calls f(name, index, section of each view...) for every section, in one
// order: the plots as "plot" with their index, the others with index -1.
template <class F, class... V> void forEachSection(F&& f, V&... views)
{
    f("boxes", -1, sectionOf<BoxesView>(views)...);
    f("bars", -1, sectionOf<BarsView>(views)...);
    f("status", -1, sectionOf<StatusView>(views)...);
    f("report", -1, sectionOf<ReportView>(views)...);
    f("menus", -1, sectionOf<MenusView>(views)...);
    f("engine", -1, sectionOf<EngineView>(views)...);
    f("settings", -1, sectionOf<SettingsView>(views)...);
    f("unsteady", -1, sectionOf<UnsteadyView>(views)...);
    for (int i = 0; i < 3; ++i) f("plot", i, views.plots[static_cast<std::size_t>(i)]...);
}

// A text as a JSON string, quoted and escaped (every control character).
std::string jsonQuoted(std::string_view text);
// A menu entry's event as a log entry: ["moveFine", 12].
std::string eventJson(const Event& event);

// The JSON writer of every described struct: an object of its fields, in
// order (texts escaped, numbers in their shortest round-trip form, events
// as log entries).
void writeJson(std::string& out, const std::string& text);
void writeJson(std::string& out, bool value);
void writeJson(std::string& out, int value);
void writeJson(std::string& out, double value);
void writeJson(std::string& out, const Event& event);
void writeJson(std::string& out, Rgb color); // {"r": 255, "g": 255, "b": 192}
template <class T> void writeJson(std::string& out, const std::vector<T>& list);
template <class T, std::size_t N> void writeJson(std::string& out, const std::array<T, N>& list);
template <Described T> void writeJson(std::string& out, const T& value)
{
    out += '{';
    bool first = true;
    forEachField(value, [&](std::string_view name, const auto& field) {
        out += first ? "\"" : ",\"";
        first = false;
        out += name;
        out += "\":";
        writeJson(out, field);
    });
    out += '}';
}
template <class T> void writeJson(std::string& out, const std::vector<T>& list)
{
    out += '[';
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i) out += ',';
        writeJson(out, list[i]);
    }
    out += ']';
}
template <class T, std::size_t N> void writeJson(std::string& out, const std::array<T, N>& list)
{
    writeJson(out, std::vector<T>(list.begin(), list.end()));
}
template <class T> std::string toJson(const T& value)
{
    std::string out;
    writeJson(out, value);
    return out;
}

// The whole view as one JSON object of its sections ({"boxes": {...},
// "bars": {...}, ..., "plots": [...]}), the plots' scenes left out.
std::string viewJson(const ViewState& view);

// The scenario as an address fragment: "#me=2&amax=3&pepo=0.8", then the
// gas ("&gas=helium", or "&k=1.25" for a gas not in the list; nothing for
// air) and the third plot ("&plot=T", "&plot=rho" or "&plot=thrust";
// nothing for p/p0).
// Texts are written as a web form writes them (blank as "+", others %XX).
// With an engine, its boxes that are not empty follow ("&p0=7+MPa&t0=3500
// &at=300+cm2&mm=22&alt=20+km&ar=44.2") and the units they are read in
// ("&units=si" or "&units=us"), so a number without a unit means the same
// to every reader. Last, "&mode=unsteady" for the flow in time (nothing for
// the steady flow).
using EngineTexts = std::array<std::string, kEngineFieldCount>;
std::string addressOf(const InputTexts& texts, const std::string& gasName, double k,
                      PlotQuantity third, const EngineTexts& engine = {},
                      std::string_view units = "si", bool unsteady = false);

// An address read back: the texts, the gas by name or by k (as typed), the
// third plot, the mode (steady without "mode="). Keys it does not know are
// ignored; a missing box takes its start-up text; a "plot=", "units=" or
// "mode=" value it does not know is refused. Nothing when the address names
// none of its keys.
struct Scenario {
    InputTexts texts;
    std::string gas;
    std::string k;
    PlotQuantity third = PlotQuantity::Pressure;
    EngineTexts engine;
    std::string units;
    bool unsteady = false; // "mode=unsteady": the flow in time
    // Why the address cannot be opened as it stands (a "plot=", "units=" or
    // "mode=" it does not know), or "".
    std::string refusal;
};
std::optional<Scenario> scenarioOf(std::string_view address);

} // namespace cdnozzle
