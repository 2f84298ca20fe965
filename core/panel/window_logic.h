// SPDX-License-Identifier: MIT
// The window's behaviour without a window: the three box texts, the two
// back-pressure bars and the chains between them, what each user event
// recalculates, and the status line. The desktop window and the web page
// both forward their events here and show what it says, so the two cannot
// drift apart.
#pragma once

#include "model/nozzle_model.h"
#include "nozzle/report.h"
#include "panel/view.h"
#include "results/engine.h"
#include "results/station_data.h"
#include "text/units.h"
#include "unsteady/unsteady_flow.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cdnozzle {

// What the status line says when no plot is hovered.
enum class StatusKind {
    Empty,       // where to begin: nothing calculated yet, or the start-up flow
    Regime,      // the regime of the last accepted calculation
    Refusal,     // why the last calculation was refused (shown in red)
    PendingPePo, // a Pe/Po typed into its box waits for "Calculate"
    PlayPause,   // the play stands still just past a limit ratio
};

inline constexpr const char* kPendingPePoText = "Press Calculate to use the Pe/Po typed in the box";
// What the status line says before anything is calculated.
inline constexpr const char* kStartText = "Press Calculate, or ▶ Play";

// The play's speeds, in steps of the fine bar (0.001 of Pe/Po) per second.
enum class PlaySpeed { Slow, Normal, Fast };
double stepsPerSecond(PlaySpeed speed);
// The flow in time's steps a frame at each speed (2, 10 and 40), and a
// second at 60 frames a second. A tick takes at most one frame's steps: a
// front end that cannot draw 60 frames a second shows the same steps a
// frame and the flow runs slower, rather than each late frame taking more
// steps and making the next one later still.
long timeStepsPerFrame(PlaySpeed speed);
double timeStepsPerSecond(PlaySpeed speed);
// The steps of the flow in time's Step: one frame at the normal speed.
inline constexpr long kTimeStepsPerFrame = 10;
// "slow", "normal", "fast".
std::string_view speedName(PlaySpeed speed);
// The projector view's status line and banner: letters of this pixel size
// (capitals and digits 0.73 of it, 32 pixels tall).
inline constexpr double kProjectorStatusSize = 44;

// A front end at least this wide (CSS pixels) opens with the explanation
// shown; on a narrower one (a phone) it is a tap away.
inline constexpr double kExplanationOpenWidth = 600;

// How long the play stops on the first step past a limit ratio.
inline constexpr double kLimitPauseSeconds = 2.0;

// The most lines the report of one calculation has (the list's height).
inline constexpr int kReportLines = Report::kCapacity;

// Writes the text of an export (SVG, CSV) to path, whole or not at all; why
// not, in a line for the user, when it could not be written.
std::optional<std::string> saveExport(const std::string& path, const ExportFile& file);

class WindowLogic {
  public:
    // Start-up with the box texts the window opens with ("2", "3", "1"):
    // both bars at the top, nothing calculated.
    explicit WindowLogic(const InputTexts& texts = {});

    // The front end's seams. notConverged shows the modal message of a
    // failed iteration and returns when the user has closed it (the
    // calculation waits meanwhile). calculated runs after every accepted
    // calculation, also those nested in a bar's chain.
    void setNotConvergedHandler(NotConvergedHandler handler) { notConverged_ = std::move(handler); }
    void setCalculatedHandler(std::function<void()> handler) { calculated_ = std::move(handler); }

    // --- the front ends' one entry: every user action as an Event ---
    // Nothing else changes the logic (the seams above only tell a front
    // end what happened).
    void handle(const Event& event);
    // Everything to show now. Holding the readouts (during a fast play,
    // between the moments readoutsPerSecond allows), the sections that a
    // play's step rewrites for reading (heldDuringFastPlay) stay as last
    // shown, with their revisions, and are not derived at all.
    ViewState view(bool holdReadouts = false) const;
    static bool heldDuringFastPlay(std::string_view section);
    // The context menu of a plot: no entries before a flow is drawn.
    Menu plotMenu(PlotKind plot) const;
    // Keys besides those of the menu entries.
    std::vector<KeyBinding> extraKeys() const;
    // Every key the program takes, and what it does.
    std::vector<KeyHelp> keyList() const;
    // The "Other..." gas dialog.
    GasPrompt otherGasPrompt() const;
    // The last file asked for with an Export event.
    const ExportFile& lastExport() const { return export_; }
    // The scene a plot shows (while its PlotState says it is drawn), as it
    // stands until the next event.
    const PlotScene& scene(PlotKind plot) const;
    // A plot drawn on a width x height surface at scale pixels per designed
    // pixel, as the window and the page show it (their captions are
    // separate labels).
    DisplayList displayList(PlotKind plot, double width, double height, double scale) const;
    // How a plot is drawn now: in the projector view with texts that grow
    // with the plot, more so among the three than alone.
    DrawStyle drawStyle(PlotKind plot) const;
    // Whether the plot is shown: all three, except in the projector view's
    // one-plot layout.
    bool plotShown(PlotKind plot) const
    {
        return !projector_ || projectorPlot_ == 0 || projectorPlot_ == static_cast<int>(plot) + 1;
    }
    // The settings kept between runs, as text; a Setting event takes one
    // back (a key it does not know, or a value it cannot take, changes
    // nothing).
    std::vector<Setting> settings() const;
    // The window's zoom for the back row: 1 to 3 in steps of 0.25.
    static constexpr double kZoomMin = 1.0, kZoomMax = 3.0, kZoomStep = 0.25;
    double zoom() const { return zoom_; }
    bool explanationShown() const { return explanationShown_; }
    bool projector() const { return projector_; }

    // The gas chosen (its name, its k) and what the third plot shows.
    const std::string& gasName() const { return gasName_; }
    double gasK() const { return model_.state().k; }
    PlotQuantity thirdPlot() const { return model_.thirdPlot(); }
    // --- the play: the back pressure swept one thousandth per step ---
    bool playing() const { return playing_; }
    bool playingDown() const { return playDown_; }
    PlaySpeed playSpeed() const { return speed_; }
    bool pauseAtLimits() const { return pauseAtLimits_; }
    // Whether the play stands still at a limit it has just crossed.
    bool pausedAtLimit(double now) const { return playing_ && now < resumeAt_; }

    // --- the flow in time (the unsteady mode) ---
    // The nozzle of the last accepted calculation opened from rest at t = 0
    // against its back pressure (default scheme, kDefaultCells cells,
    // Courant number kDefaultCourant); a bar moved, or the back pressure
    // typed and calculated, changes the back pressure of the running flow;
    // another Me_Sup or gas opens that nozzle from rest. Play runs time at
    // timeStepsPerSecond(speed), Step one frame of steps, t = 0 back to rest.
    bool unsteady() const { return unsteady_; }
    // Nothing outside the unsteady mode or before a calculation.
    const UnsteadyFlow* unsteadyFlow() const { return flow_ ? &*flow_ : nullptr; }
    // The story of the start, from its events ("The throat chokes at t = …").
    std::string unsteadyStory() const;

    // A box that holds a text it refuses: "Me_Sup =" or "Amax/At =" (a Pe/Po
    // typed into its box waits for Calculate) or an engine box. While one
    // does, its refusal stands in the status line whatever else the user
    // does, and nothing that needs its value is shown as current. Nothing
    // when every box reads.
    struct BoxRefusal {
        std::string why;
        bool engine = false; // an engine box: the flow is current, thrust is not
    };
    std::optional<BoxRefusal> standingRefusal() const;

    // --- what to show ---
    const InputTexts& texts() const { return texts_; }
    // The three boxes as shown: a value the program filled in (an altitude's
    // Pe/Po, an area ratio's Me_Sup) written short enough for its box.
    InputTexts boxTexts() const;
    int coarsePosition() const { return coarse_; }
    int finePosition() const { return fine_; }
    const NozzleModel& model() const { return model_; }
    bool calculated() const { return model_.calculated(); }
    // The explanation of the last accepted calculation for students.
    std::string explanation() const;
    // The report of the last accepted calculation (empty before the first).
    std::vector<std::string> reportLines() const;
    // The status line as shown: the values under the cursor while a plot
    // is hovered, otherwise the text of statusKind().
    const std::string& statusText() const;
    StatusKind statusKind() const { return statusKind_; }
    // The refusal is shown in red (not while the values under the cursor are).
    bool statusIsRefusal() const
    {
        return statusKind_ == StatusKind::Refusal && hoverText_.empty();
    }
    bool hovering() const { return !hoverText_.empty(); }
    // The texts and the gas of the last accepted calculation (a scenario
    // to share).
    const InputTexts& acceptedTexts() const { return accepted_; }
    const std::string& acceptedGasName() const { return acceptedGasName_; }
    double acceptedGasK() const { return acceptedGasK_; }
    // Accepted calculations since start-up (the start-up flow not counted).
    int calculationCount() const { return calculations_; }

    // --- the engine ---
    const std::string& engineText(EngineFieldKind field) const
    {
        return engineTexts_[static_cast<std::size_t>(field)];
    }
    UnitSystem units() const { return units_; }
    const std::optional<Engine>& engine() const { return engine_; }
    // The altitude that gives the back pressure, m (none when Pe/Po came
    // from elsewhere).
    std::optional<double> altitude() const { return altitude_; }
    // The altitude slider: positions 0 to altitudeSteps(), a step of 100 m
    // (SI) or 250 ft (US), the last at 86 km.
    int altitudeSteps() const;
    double altitudeAt(int position) const;
    int altitudePosition() const { return altitudePosition_; }
    // While an altitude gives the back pressure, the play climbs from the
    // ground to 86 km (reverse: descends) one slider step at a time,
    // pausing past the choking, shock-exit and design altitudes.
    bool ascent() const { return ascent_; }

  private:
    // --- what each event does (handle() is the only way in) ---
    // A stored setting taken back (the Setting event).
    void applySetting(const Setting& setting);
    // What a front end does once, as it opens: the flow of the start-up
    // texts calculated and drawn (not counted among the calculations), both
    // bars at the top, the status still saying where to begin. Nothing
    // changes when those texts are refused.
    void start();
    // Every edit of "Me_Sup =" or "Amax/At =" recalculates at once.
    void editMeSup(const std::string& text);
    void editAmax(const std::string& text);
    // A Pe/Po typed into its box waits for "Calculate".
    void editPePo(const std::string& text);
    // "Calculate", and a click on the geometry plot.
    void pressCalculate();
    void clickGeometry();
    // A bar moved to a position by the user (arrow, trough, key, released
    // thumb); outside the bar's range it stops at the end. Runs the bar's
    // change handling with its chain when the position differs.
    void moveCoarse(int position);
    void moveFine(int position);
    // Another gas, by name ("helium") with its k: everything follows k.
    // Recalculates as an edit of a design box does. k outside kMinK..kMaxK
    // is refused like a box's text, and the gas stays.
    void setGas(const std::string& name, double k);
    // A gas of the list by its name; any other name is refused like a box's
    // text, and the gas stays.
    void setListedGas(const std::string& name);
    // The k typed into "Other...", read by the leading-number rule (a ","
    // stands for the point when there is no "."), refused outside
    // kMinK..kMaxK quoting the text as typed; the gas is named gasNameFor(k).
    void setOtherGas(const std::string& typed);
    // What the third plot shows (p/p0, T/T0 or rho/rho0; with an engine
    // also its thrust and I_sp against altitude); runs no calculation. The
    // thrust plot without an engine changes nothing, and losing the engine
    // takes the third plot back to p/p0.
    void setThirdPlot(PlotQuantity quantity);
    // A scenario from outside (a web address): the three texts, the gas (k
    // as typed into "Other..." when given, else a listed gas by its name,
    // else air) and the third plot's quantity. The texts and the gas are
    // checked as their boxes and the Gas list check them; an accepted
    // scenario fills the boxes, takes the gas and the quantity and is
    // calculated, a refused one is reported like a box's refusal and changes
    // nothing.
    // An address may also carry the engine's boxes and the units they are
    // read in; a box that does not read refuses the whole scenario. It
    // opens in its mode: the flow in time starts from rest.
    void openScenario(const InputTexts& texts, const std::string& gas = {},
                      const std::string& k = {}, PlotQuantity third = PlotQuantity::Pressure,
                      const EngineTexts& engine = {}, const std::string& units = {},
                      bool unsteady = false);
    // Play (or pause) from where the back pressure stands, down to the fine
    // bar's end; reverse plays up to 1. now is the front end's steady clock
    // in seconds, the same clock that later drives tick().
    void playOrPause(double now);
    void playReverse(double now);
    void pausePlay();
    void setPlaySpeed(PlaySpeed speed, double now);
    void setPauseAtLimits(bool on) { pauseAtLimits_ = on; }
    // Takes the steps the clock says are due since the play started (a
    // slow front end drops steps, the sweep keeps its pace), stopping on the
    // first step past a limit ratio. Returns whether anything changed.
    bool tick(double now);
    // The mouse (or a finger) over a plot at the plot's abscissa x, and off
    // it again.
    void hover(PlotKind plot, double x);
    void leavePlot();
    // An engine box edited. The chamber's boxes (p0, T0, A_t and the molar
    // mass) take effect at once: the engine is set when the first three
    // are filled in and every filled box reads (a refused text is reported
    // like a box's and changes nothing); empty, there is no engine. The
    // altitude sets Pe/Po = p_atm/p0 from the 1976 standard atmosphere and
    // calculates as a Pe/Po typed and calculated; the area ratio sets
    // Me_Sup to its supersonic Mach number and calculates. Editing Me_Sup
    // empties the area ratio, and moving the back pressure any other way
    // empties the altitude.
    void editEngine(EngineFieldKind field, const std::string& text);
    // The units numbers without one are read in, and results are shown in.
    // Box texts without a unit get the one they were read in, so that no
    // value changes.
    void setUnits(UnitSystem units);
    // The altitude slider moved: sets the altitude (the engine needs a
    // chamber pressure first).
    void moveAltitude(int position);
    // The start-up values again: the boxes' texts, air, p/p0, both bars at
    // the top, nothing calculated, no engine (the play's speed and pauses,
    // the zoom, the units and the view stay as the user set them).
    void reset();

    // The presenters: each derives one section of the view.
    BoxesView boxesView() const;
    BarsView barsView() const;
    StatusView statusView() const;
    ReportView reportView() const;
    MenusView menusView() const;
    EngineView engineView() const;
    SettingsView settingsView() const;
    UnsteadyView unsteadyView() const;
    std::array<PlotState, 3> plotStates() const;
    // The sections view() last gave, with their revisions.
    mutable ViewState shown_;

    // The flow in time (unsteady_mode.cpp).
    void setMode(bool unsteady);
    void playTime(double now);
    bool tickTime(double now);
    void stepTime();
    void restartTime(double now);
    // After every event: the flow in time follows the calculation (a new
    // nozzle from rest, a new back pressure), and its plots its state.
    void followUnsteady();
    void openUnsteady();
    // "t = 3.21 L/a0", with milliseconds for an engine.
    std::string timeText(double t) const;
    // The values of the cell nearest to x, for the status line.
    std::string unsteadyCellText(double x) const;

    std::optional<std::string> engineRefusal() const;
    // Over the plots: the play's pause at a limit, or that the plots show
    // the last accepted values while a design box holds a refused text.
    std::string bannerText() const;
    std::optional<std::string> resolveEngine();
    void showThrust();
    std::string regimeStatus() const;
    // An engine at an altitude whose air is above its chamber pressure.
    bool outsideAboveReservoir() const;
    void forgetAltitude();
    void climbTo(int position);
    std::string altitudeText(int position) const;
    double pepoAtAltitude(int position) const;
    void announce(std::string text);
    void setZoom(double zoom);
    void prepareExport(PlotKind plot, const std::string& format);
    void startPlay(bool down, double now);
    void playTo(int finePosition);
    std::string limitBanner(const std::string& limit) const;
    int limitCrossed(int from, int to, const std::function<double(int)>& pepoAt, int& limit) const;
    bool calculate();
    void calculateAndTeachTheBars();
    void coarseChanged();
    void fineChanged();
    void setCoarse(int position);
    void setFine(int position);
    double pepoInBox() const;
    void setStatus(StatusKind kind, std::string text);

    NozzleModel model_;
    InputTexts texts_;
    // The texts the program last filled into Pe/Po and Me_Sup, to the last bit.
    std::string filledPePo_, filledMeSup_;
    static std::string fillBox(std::string& filled, double value);
    InputTexts accepted_;
    std::string gasName_ = "air";
    std::string acceptedGasName_ = "air";
    double acceptedGasK_ = kAirK;
    int coarse_;
    int fine_;
    NotConvergedHandler notConverged_;
    std::function<void()> calculated_;
    StatusKind statusKind_ = StatusKind::Empty;
    std::string statusText_;
    std::string hoverText_;
    int calculations_ = 0;

    bool playing_ = false;
    bool playDown_ = true;
    bool pauseAtLimits_ = true;
    PlaySpeed speed_ = PlaySpeed::Normal;
    double anchorTime_ = 0;  // the clock when the play stood at anchorPosition_
    int anchorPosition_ = 1; // fine position of the play's back pressure then
    double resumeAt_ = 0;    // end of a pause at a limit

    bool explanationShown_ = false;
    bool projector_ = false;
    int projectorPlot_ = 0; // 0 the three plots, 1 to 3 one of them
    bool shortcutsShown_ = false;
    std::string banner_;
    std::string announcement_;
    int announcementSerial_ = 0;
    InputTexts startTexts_;
    double zoom_ = 1;
    int sceneRevision_ = 0;
    ExportFile export_;

    std::array<std::string, kEngineFieldCount> engineTexts_;
    // The engine's texts when they last all read, with the units they were
    // read in: what an address carries.
    EngineTexts acceptedEngineTexts_;
    UnitSystem acceptedUnits_ = UnitSystem::SI;
    double lastTick_ = 0; // the clock at the play's last step
    std::optional<Engine> engine_;
    std::optional<double> altitude_;
    int altitudePosition_ = 0;
    UnitSystem units_ = UnitSystem::SI;
    bool ascent_ = false;
    // The thrust plot's curve and what it was calculated for.
    struct ThrustKey {
        Engine engine;
        std::uint64_t mMax = 0, k = 0;
        bool operator==(const ThrustKey&) const = default;
    };
    ThrustKey thrustKey_;
    std::vector<ThrustPoint> thrustPoints_;

    bool unsteady_ = false;
    std::optional<UnsteadyFlow> flow_;
    std::array<PlotScene, 3> unsteadyScenes_;
    // What the flow in time's scenes were built from: the scenes' revision
    // and the flow's steps.
    int unsteadyScenesOf_ = -1;
    long unsteadyStepsOf_ = -1;
    long timeAnchorSteps_ = 0;   // the flow's steps when the play stood at anchorTime_
    std::size_t eventsTold_ = 0; // the flow's events announced
    double openedAgainst_ = 1;   // the back pressure the flow in time opened against
    // The last change of that back pressure while the flow ran: the
    // flow's time then and the new back pressure.
    std::optional<std::pair<double, double>> backPressureChange_;
};

} // namespace cdnozzle
