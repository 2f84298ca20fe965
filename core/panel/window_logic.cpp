// SPDX-License-Identifier: MIT
#include "panel/window_logic.h"

#include "gas/atmosphere.h"
#include "io/file_output.h"
#include "model/thrust_curve.h"
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
    const double k = readStrictNumberAllowingComma(typed).value_or(0);
    if (auto refusal = validateGasK(k, typed)) return {{}, 0, std::move(refusal)};
    return {gasNameFor(k), k, std::nullopt};
}

bool isBlank(const std::string& text)
{
    return text.find_first_not_of(" \t") == std::string::npos;
}

// Reads the chamber's boxes that are filled in (p0, T0, A_t, molar mass)
// into e; the refusal of the first that does not read.
std::optional<std::string> readChamber(const EngineTexts& texts, UnitSystem units, Engine& e)
{
    const auto text = [&](EngineFieldKind f) -> const std::string& {
        return texts[static_cast<std::size_t>(f)];
    };
    std::optional<std::string> refusal;
    const auto read = [&](const std::string& t, const std::variant<double, std::string>& r,
                          double& value) {
        if (isBlank(t)) return true;
        if (const auto* why = std::get_if<std::string>(&r)) {
            refusal = *why;
            return false;
        }
        value = std::get<double>(r);
        return true;
    };
    const std::string& p0 = text(EngineFieldKind::ChamberPressure);
    const std::string& t0 = text(EngineFieldKind::ChamberTemperature);
    const std::string& throat = text(EngineFieldKind::Throat);
    const std::string& molar = text(EngineFieldKind::MolarMass);
    (void)(read(p0, readQuantity(kChamberPressureField, p0, units), e.p0) &&
           read(t0, readQuantity(kChamberTemperatureField, t0, units), e.T0) &&
           read(throat, readThroat(throat, units), e.At) &&
           read(molar, readQuantity(kMolarMassField, molar, units), e.molarMass));
    return refusal;
}

// The engine's texts with the unit they are read in written after each bare
// number, so that they keep their values in the other unit system.
EngineTexts withUnitsWritten(EngineTexts texts, UnitSystem readIn)
{
    const std::pair<EngineFieldKind, Quantity> fields[] = {
        {EngineFieldKind::ChamberPressure, Quantity::Pressure},
        {EngineFieldKind::ChamberTemperature, Quantity::Temperature},
        {EngineFieldKind::Throat, Quantity::Area},
        {EngineFieldKind::MolarMass, Quantity::MolarMass},
        {EngineFieldKind::Altitude, Quantity::Altitude}};
    for (const auto& [field, quantity] : fields) {
        std::string& text = texts[static_cast<std::size_t>(field)];
        if (!isBareNumber(text)) continue;
        const Unit& unit = defaultUnit(quantity, readIn);
        text = text.substr(0, text.find_last_not_of(" \t") + 1) + " " +
               std::string(unit.ascii.empty() ? unit.symbol : unit.ascii);
    }
    return texts;
}

} // namespace

std::optional<std::string> saveExport(const std::string& path, const ExportFile& file)
{
    return saveFile(path, file.text);
}

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

void WindowLogic::start()
{
    // The start-up flow is the program's, not a calculation the user ran.
    const int calculations = calculations_;
    if (!calculate()) return;
    calculations_ = calculations;
    setStatus(StatusKind::Empty, kStartText);
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
    engineTexts_ = {};
    engine_.reset();
    altitude_.reset();
    altitudePosition_ = 0;
    ascent_ = false;
    ++sceneRevision_;
    setStatus(StatusKind::Empty, kStartText);
}

// --- the engine ---

// Reads the chamber's boxes: the engine when p0, T0 and A_t are filled in,
// none when they are not; a box that does not read gives its refusal and
// leaves the engine as it was.
std::optional<std::string> WindowLogic::resolveEngine()
{
    Engine e;
    if (auto refusal = readChamber(engineTexts_, units_, e)) return refusal;
    const auto blank = [this](EngineFieldKind f) { return isBlank(engineText(f)); };
    if (blank(EngineFieldKind::ChamberPressure) || blank(EngineFieldKind::ChamberTemperature) ||
        blank(EngineFieldKind::Throat)) {
        engine_.reset();
        return std::nullopt;
    }
    if (blank(EngineFieldKind::MolarMass)) {
        const NamedGas* listed = findGas(gasName_);
        if (!listed) {
            engine_.reset();
            return std::nullopt;
        }
        e.molarMass = listed->molarMass / 1000;
    }
    engine_ = e;
    return std::nullopt;
}

// The refusal of the first engine box that holds a text it does not read.
std::optional<std::string> WindowLogic::engineRefusal() const
{
    Engine scratch;
    if (auto refusal = readChamber(engineTexts_, units_, scratch)) return refusal;
    const std::string& alt = engineText(EngineFieldKind::Altitude);
    if (!isBlank(alt)) {
        const auto read = readQuantity(kAltitudeField, alt, units_);
        if (const auto* why = std::get_if<std::string>(&read)) return *why;
        if (!engine_) return "Altitude = needs the engine first: p0 =, T0 = and A_t =";
    }
    const std::string& ratio = engineText(EngineFieldKind::AreaRatio);
    if (!isBlank(ratio)) {
        const auto me = designMachOfAreaRatio(ratio, gasK());
        if (const auto* why = std::get_if<std::string>(&me)) return *why;
    }
    return std::nullopt;
}

std::optional<WindowLogic::BoxRefusal> WindowLogic::standingRefusal() const
{
    // The design boxes as the calculation would read them; a Pe/Po in its
    // box is checked when Calculate is pressed.
    if (auto why = validateInputs({texts_.me_sup, texts_.amax, "1"}))
        return BoxRefusal{*why, false};
    if (auto why = engineRefusal()) return BoxRefusal{*why, true};
    return std::nullopt;
}

void WindowLogic::forgetAltitude()
{
    altitude_.reset();
    engineTexts_[static_cast<std::size_t>(EngineFieldKind::Altitude)].clear();
}

int WindowLogic::altitudeSteps() const
{
    const double step = units_ == UnitSystem::US ? 250 * kFoot : 100;
    return static_cast<int>(std::ceil(kAtmosphereTop / step - 1e-9));
}

double WindowLogic::altitudeAt(int position) const
{
    const double step = units_ == UnitSystem::US ? 250 * kFoot : 100;
    return std::min(std::clamp(position, 0, altitudeSteps()) * step, kAtmosphereTop);
}

// As the altitude box shows a slider position: "17.3 km", "56750 ft".
std::string WindowLogic::altitudeText(int position) const
{
    if (units_ == UnitSystem::US)
        return formatGeneral(std::floor(altitudeAt(position) / kFoot + 1e-6)) + " ft";
    return formatGeneral(std::round(altitudeAt(position) / 100) / 10) + " km";
}

// A box the program fills with a value (the Pe/Po of an altitude, the
// Me_Sup of an area ratio) holds the value to the last bit, for the
// calculation, the address and the replay; the box shows it short enough to
// fit (formatBoxNumber) while it holds that text.
std::string WindowLogic::fillBox(std::string& filled, double value)
{
    filled = formatRoundTrip(value);
    return filled;
}

InputTexts WindowLogic::boxTexts() const
{
    InputTexts shown = texts_;
    if (!filledPePo_.empty() && shown.pe_po == filledPePo_)
        shown.pe_po = formatBoxNumber(readLeadingNumber(filledPePo_));
    if (!filledMeSup_.empty() && shown.me_sup == filledMeSup_)
        shown.me_sup = formatBoxNumber(readLeadingNumber(filledMeSup_));
    return shown;
}

double WindowLogic::pepoAtAltitude(int position) const
{
    return engine_ ? backPressureRatioAt(*engine_, altitudeAt(position)) : 1;
}

void WindowLogic::editEngine(EngineFieldKind field, const std::string& text)
{
    pausePlay();
    engineTexts_[static_cast<std::size_t>(field)] = text;
    const bool blank = text.find_first_not_of(" \t") == std::string::npos;
    switch (field) {
    case EngineFieldKind::Altitude: {
        if (blank) {
            altitude_.reset();
            return;
        }
        double altitude = 0;
        const auto read = readQuantity(kAltitudeField, text, units_);
        if (const auto* why = std::get_if<std::string>(&read)) {
            setStatus(StatusKind::Refusal, *why);
            return;
        }
        altitude = std::get<double>(read);
        if (!engine_) {
            setStatus(StatusKind::Refusal,
                      "Altitude = needs the engine first: p0 =, T0 = and A_t =");
            return;
        }
        altitude_ = altitude;
        const double step = altitudeAt(1);
        altitudePosition_ =
            std::clamp(static_cast<int>(std::round(altitude / step)), 0, altitudeSteps());
        texts_.pe_po = fillBox(filledPePo_, backPressureRatioAt(*engine_, altitude));
        calculateAndTeachTheBars();
        return;
    }
    case EngineFieldKind::AreaRatio: {
        if (blank) return;
        const auto me = designMachOfAreaRatio(text, gasK());
        if (const auto* why = std::get_if<std::string>(&me)) {
            setStatus(StatusKind::Refusal, *why);
            return;
        }
        texts_.me_sup = fillBox(filledMeSup_, std::get<double>(me));
        calculateAndTeachTheBars();
        return;
    }
    default: break;
    }
    if (const auto refusal = resolveEngine()) {
        setStatus(StatusKind::Refusal, *refusal);
        return;
    }
    const std::string& alt = engineText(EngineFieldKind::Altitude);
    if (engine_ && !altitude_ && !isBlank(alt)) {
        // An altitude typed before the engine was complete takes effect now.
        const auto read = readQuantity(kAltitudeField, alt, units_);
        if (const double* altitude = std::get_if<double>(&read)) {
            altitude_ = *altitude;
            altitudePosition_ = std::clamp(static_cast<int>(std::round(*altitude / altitudeAt(1))),
                                           0, altitudeSteps());
        }
    }
    if (engine_ && altitude_) {
        // A new chamber pressure moves the back pressure of the same altitude.
        texts_.pe_po = fillBox(filledPePo_, backPressureRatioAt(*engine_, *altitude_));
        calculateAndTeachTheBars();
    } else {
        if (!engineRefusal()) {
            acceptedEngineTexts_ = engineTexts_;
            acceptedUnits_ = units_;
        }
        if (calculated() && statusKind_ == StatusKind::Refusal) {
            // The refusal of an earlier engine box is answered.
            setStatus(StatusKind::Regime, regimeStatus());
        }
    }
}

void WindowLogic::setUnits(UnitSystem units)
{
    if (units == units_) return;
    // A number typed without a unit keeps the value it was read as.
    engineTexts_ = withUnitsWritten(engineTexts_, units_);
    units_ = units;
    if (altitude_) {
        altitudePosition_ = std::clamp(static_cast<int>(std::round(*altitude_ / altitudeAt(1))), 0,
                                       altitudeSteps());
        // A climb goes on from where it is, in steps of the new units.
        if (playing_ && ascent_) {
            anchorPosition_ = altitudePosition_;
            anchorTime_ = std::max(lastTick_, anchorTime_);
        }
    }
}

void WindowLogic::moveAltitude(int position)
{
    pausePlay();
    if (!engine_) return;
    climbTo(position);
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
    std::string text = explainFlow(model_.state(), model_.result(), outsideAboveReservoir());
    // While an engine box holds a refused text, its figures are not told.
    if (engine_ && calculated() && !engineRefusal()) {
        text +=
            "\n\n" + explainEngine(*engine_, model_.state(), model_.result(), units_, altitude_);
    }
    return text;
}

const std::string& WindowLogic::statusText() const
{
    return hoverText_.empty() ? statusText_ : hoverText_;
}

void WindowLogic::setStatus(StatusKind kind, std::string text)
{
    bool told = kind == StatusKind::Refusal || kind == StatusKind::PlayPause;
    if (kind != StatusKind::Refusal) {
        // A box that still holds a refused text keeps its refusal in view:
        // a calculation of the other boxes, Enter or a bar step do not hide it.
        if (const auto standing = standingRefusal()) {
            told = !(statusKind_ == StatusKind::Refusal && statusText_ == standing->why);
            kind = StatusKind::Refusal;
            text = standing->why;
        }
    }
    statusKind_ = kind;
    statusText_ = std::move(text);
    hoverText_.clear();
    if (kind != StatusKind::PlayPause) banner_.clear();
    // A screen reader hears refusals and the play's pauses, not every step.
    if (told) announce(statusText_);
}

bool WindowLogic::outsideAboveReservoir() const
{
    return engine_ && outsideAboveChamber(*engine_, altitude_);
}

std::string WindowLogic::regimeStatus() const
{
    std::string status = regimeSummary(model_.state(), model_.result(), outsideAboveReservoir());
    // Air goes without saying; any other gas is named.
    if (model_.state().k != kAirK)
        status += " · " + acceptedGasName_ + " (k = " + formatRounded4(model_.state().k) + ")";
    return status;
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
    if (!engineRefusal()) {
        acceptedEngineTexts_ = engineTexts_;
        acceptedUnits_ = units_;
    }
    acceptedGasName_ = gasName_;
    acceptedGasK_ = model_.state().k;
    setStatus(StatusKind::Regime, regimeStatus());
    showThrust();
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
    // The area ratio no longer describes the nozzle.
    engineTexts_[static_cast<std::size_t>(EngineFieldKind::AreaRatio)].clear();
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
    forgetAltitude();
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
    // An area ratio keeps the nozzle: its design Mach number follows k.
    const std::string& ratio = engineText(EngineFieldKind::AreaRatio);
    if (!ratio.empty()) {
        const auto me = designMachOfAreaRatio(ratio, k);
        if (const auto* mach = std::get_if<double>(&me))
            texts_.me_sup = fillBox(filledMeSup_, *mach);
    }
    // An engine box that does not read keeps the last engine (its thrust is
    // withheld while it stands); the flow of the new gas is calculated all
    // the same.
    (void)resolveEngine();
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
    // A listed gas brings its own molar mass.
    engineTexts_[static_cast<std::size_t>(EngineFieldKind::MolarMass)].clear();
    setGas(gas.name, gas.k);
}

void WindowLogic::setOtherGas(const std::string& typed)
{
    // k, then (after a tab) the molar mass when one was given.
    const std::size_t tab = typed.find('\t');
    const GasChoice gas = typedGas(typed.substr(0, tab));
    if (gas.refusal) {
        pausePlay();
        setStatus(StatusKind::Refusal, *gas.refusal);
        return;
    }
    if (tab != std::string::npos) {
        const std::string molar = typed.substr(tab + 1);
        const auto read = readQuantity(kMolarMassField, molar, units_);
        if (const auto* why = std::get_if<std::string>(&read); why && !molar.empty()) {
            pausePlay();
            setStatus(StatusKind::Refusal, *why);
            return;
        }
        engineTexts_[static_cast<std::size_t>(EngineFieldKind::MolarMass)] = molar;
    }
    setGas(gas.name, gas.k);
}

void WindowLogic::openScenario(const InputTexts& texts, const std::string& gas,
                               const std::string& k, PlotQuantity third, const EngineTexts& engine,
                               const std::string& units, bool unsteady)
{
    pausePlay();
    std::optional<std::string> refusal = validateInputs(texts);
    const GasChoice choice = !k.empty()     ? typedGas(k)
                             : !gas.empty() ? listedGas(gas)
                                            : listedGas(std::string(kGases.front().name));
    if (!refusal) refusal = choice.refusal;
    if (!refusal && !units.empty() && !unitSystemNamed(units))
        refusal = "units = must be si or us " + quotedInput(units);
    // The engine's boxes mean what their author meant: a number without a
    // unit is read in the address's units (SI when it names none), and
    // written with that unit when the reader's units differ, which stay.
    const auto system = unitSystemNamed(units).value_or(UnitSystem::SI);
    const EngineTexts linked = system == units_ ? engine : withUnitsWritten(engine, system);
    const EngineTexts oldTexts = engineTexts_;
    const std::optional<Engine> oldEngine = engine_;
    const std::string oldGas = gasName_;
    engineTexts_ = linked;
    gasName_ = choice.name;
    if (!refusal) refusal = resolveEngine();
    const std::string& alt = linked[static_cast<std::size_t>(EngineFieldKind::Altitude)];
    const std::string& ratio = linked[static_cast<std::size_t>(EngineFieldKind::AreaRatio)];
    std::variant<double, std::string> altitude = 0.0, mach = 0.0;
    if (!alt.empty()) altitude = readQuantity(kAltitudeField, alt, units_);
    if (!ratio.empty()) mach = designMachOfAreaRatio(ratio, choice.k);
    for (const auto* read : {&altitude, &mach}) {
        if (const auto* why = std::get_if<std::string>(read); why && !refusal) refusal = *why;
    }
    if (!refusal && !alt.empty() && !engine_)
        refusal = "Altitude = needs the engine first: p0 =, T0 = and A_t =";
    if (refusal) {
        engineTexts_ = oldTexts;
        engine_ = oldEngine;
        gasName_ = oldGas;
        setStatus(StatusKind::Refusal, *refusal);
        return;
    }
    texts_ = texts;
    if (!ratio.empty()) texts_.me_sup = fillBox(filledMeSup_, std::get<double>(mach));
    altitude_.reset();
    if (!alt.empty()) {
        altitude_ = std::get<double>(altitude);
        altitudePosition_ = std::clamp(static_cast<int>(std::round(*altitude_ / altitudeAt(1))), 0,
                                       altitudeSteps());
        texts_.pe_po = fillBox(filledPePo_, backPressureRatioAt(*engine_, *altitude_));
    }
    model_.setGas(choice.k);
    model_.setThirdPlot(third);
    setMode(unsteady);
    flow_.reset();
    calculateAndTeachTheBars();
}

void WindowLogic::moveCoarse(int position)
{
    // The flow in time runs on with the new back pressure.
    if (!unsteady_) pausePlay();
    if (std::clamp(position, kCoarseMin, kCoarseMax) != coarse_) forgetAltitude();
    setCoarse(std::clamp(position, kCoarseMin, kCoarseMax));
}

void WindowLogic::moveFine(int position)
{
    if (!unsteady_) pausePlay();
    if (std::clamp(position, kFineMin, kFineMax) != fine_) forgetAltitude();
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
    texts_.pe_po = coarseText(coarse_);
    const bool accepted = calculate();
    // The fine bar follows to the position that stands for the back pressure
    // just calculated. Its handler would calculate the same flow again and
    // leave the coarse bar where it is, so the bar takes its place without
    // running it (a refused calculation still goes through the handler).
    const int fine = std::clamp(finePositionFor(pepoInBox()), kFineMin, kFineMax);
    if (accepted && fineText(fine) == texts_.pe_po)
        fine_ = fine;
    else
        setFine(fine);
}

void WindowLogic::fineChanged()
{
    texts_.pe_po = fineText(fine_);
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
    if (playing_ && unsteady_) {
        tickTime(now);
        anchorTime_ = now;
        timeAnchorSteps_ = flow_ ? flow_->steps() : 0;
    } else if (playing_ && now >= resumeAt_) {
        // Keep the position reached, go on at the new pace from now.
        tick(now);
        anchorTime_ = now;
        anchorPosition_ = ascent_ ? altitudePosition_ : fine_;
    }
    speed_ = speed;
}

void WindowLogic::startPlay(bool down, double now)
{
    playDown_ = down;
    // With an altitude giving the back pressure the play climbs (down in
    // Pe/Po) or descends; otherwise it walks the fine bar's positions, from
    // the one that stands for the back pressure now. At the end of the
    // sweep the play starts again from the other end.
    ascent_ = engine_.has_value() && altitude_.has_value();
    const int position = ascent_ ? altitudePosition_ : fine_;
    const int end = ascent_ ? (down ? altitudeSteps() : 0) : (down ? kFineMax : kFineMin);
    if (position == end) {
        const int calculations = calculations_;
        if (ascent_) {
            climbTo(down ? 0 : altitudeSteps());
        } else {
            playTo(down ? kFineMin : kFineMax);
        }
        if (calculations_ == calculations) return; // a refused box: nothing to play
    }
    playing_ = true;
    anchorTime_ = now;
    anchorPosition_ = ascent_ ? altitudePosition_ : fine_;
    resumeAt_ = now;
}

namespace {

struct LimitNames {
    const char* name;   // in the status: "Paused just past the subsonic limit"
    const char* banner; // over the plots: "Now past the subsonic limit · Normal shock ..."
    const char* height; // the ascent's name for its altitude
};
constexpr LimitNames kLimitNames[] = {
    {"the subsonic limit", "the subsonic limit", "Choking altitude"},
    {"the normal-shock limit (a normal shock in the exit plane)", "the normal-shock limit",
     "Shock-exit altitude"},
    {"the design condition", "the design pressure ratio", "Design altitude"},
};

} // namespace

bool WindowLogic::tick(double now)
{
    if (!playing_ || now < resumeAt_) return false;
    lastTick_ = now;
    const double rate = stepsPerSecond(speed_);
    const int due = static_cast<int>(std::floor((now - anchorTime_) * rate + 1e-9));
    const int current = ascent_ ? altitudePosition_ : fine_;
    const int end = playDown_ ? (ascent_ ? altitudeSteps() : kFineMax) : (ascent_ ? 0 : kFineMin);
    const int target =
        playDown_ ? std::min(end, anchorPosition_ + due) : std::max(end, anchorPosition_ - due);
    if (target == current) return false;
    const std::function<double(int)> pepoAt = [this](int position) {
        return ascent_ ? pepoAtAltitude(position) : finePePo(position);
    };
    int limit = -1;
    int stop = target;
    if (pauseAtLimits_ && calculated()) {
        const int crossing = limitCrossed(current, target, pepoAt, limit);
        if (crossing != 0 || limit >= 0) stop = crossing;
    }
    if (ascent_) {
        climbTo(stop);
    } else {
        playTo(stop);
    }
    if (limit >= 0) {
        // Stand still on the first step past the limit, then go on from there.
        resumeAt_ = now + kLimitPauseSeconds;
        anchorTime_ = resumeAt_;
        anchorPosition_ = stop;
        const LimitNames& names = kLimitNames[limit];
        if (ascent_) {
            const LimitAltitudes at = limitAltitudes(*engine_, model_.state());
            const std::optional<double> heights[] = {at.choking, at.shockLeaves, at.design};
            const double height = heights[limit].value_or(altitudeAt(stop));
            // "Design altitude 17.3 km", "Design altitude 56800 ft".
            const std::string where =
                std::string(names.height) + " " +
                (units_ == UnitSystem::US
                     ? formatGeneral(std::round(height / kFoot / 100) * 100) + " ft"
                     : formatFixed(height / 1000, 1) + " km");
            std::string lower = where;
            lower[0] = static_cast<char>(lower[0] - 'A' + 'a');
            setStatus(StatusKind::PlayPause, "Paused just past the " + lower +
                                                 " (Pe/Po = " + formatRatio(pepoAt(stop)) + ")");
            banner_ = limitBanner("the " + lower);
        } else {
            setStatus(StatusKind::PlayPause, "Paused just past " + std::string(names.name) +
                                                 " (Pe/Po = " + formatRatio(finePePo(stop)) + ")");
            banner_ = limitBanner(names.banner);
        }
    }
    if ((ascent_ ? altitudePosition_ : fine_) == end) playing_ = false;
    return true;
}

// The banner of a limit pause: which limit the play passed and what the
// flow is now, in the status line's and the explanation's words ("Now past
// the design pressure ratio · Under-expanded jet: expansion waves at the
// exit"); "At the design pressure ratio · ..." where the step stops within
// the design condition.
std::string WindowLogic::limitBanner(const std::string& limit) const
{
    const bool atDesign = atDesignCondition(model_.state(), model_.result());
    return (atDesign ? "At " : "Now past ") + limit + " · " +
           regimeHeadline(model_.state(), model_.result());
}

// The first position between from (exclusive) and to (inclusive) whose
// back pressure lies past one of the three limit ratios of the nozzle, or
// 0; limit says which (0 subsonic, 1 normal shock, 2 design; -1 none).
int WindowLogic::limitCrossed(int from, int to, const std::function<double(int)>& pepoAt,
                              int& limit) const
{
    const FlowState& s = model_.state();
    const double limits[] = {s.PePo_sub, s.PePo_NS, s.PePo_OS};
    limit = -1;
    const int direction = to > from ? 1 : -1;
    double before = pepoAt(from);
    for (int w = from + direction; w != to + direction; w += direction) {
        const double after = pepoAt(w);
        // Pe/Po falls as the position grows (the fine bar down, the climb up).
        for (int l = 0; l < 3; ++l) {
            const double value = limits[l];
            const bool past = direction > 0 ? (after < value && value <= before)
                                            : (before <= value && value < after);
            if (past) {
                limit = l;
                return w;
            }
        }
        before = after;
    }
    return 0;
}

// One step of the play: the back pressure of a fine position, calculated,
// both bars moved to stand for it without running their handlers.
void WindowLogic::playTo(int finePosition)
{
    forgetAltitude();
    texts_.pe_po = fineText(finePosition);
    fine_ = finePosition;
    if (calculate()) {
        coarse_ = std::clamp(coarsePositionFor(model_.state().PePo), kCoarseMin, kCoarseMax);
    } else {
        // A design box the user left refused: nothing to play.
        playing_ = false;
    }
}

// One step of the climb: the altitude of a slider position, its back
// pressure calculated, both bars moved to stand for it.
void WindowLogic::climbTo(int position)
{
    altitudePosition_ = std::clamp(position, 0, altitudeSteps());
    altitude_ = altitudeAt(altitudePosition_);
    engineTexts_[static_cast<std::size_t>(EngineFieldKind::Altitude)] =
        altitudeText(altitudePosition_);
    texts_.pe_po = fillBox(filledPePo_, pepoAtAltitude(altitudePosition_));
    if (calculate()) {
        const double pepo = model_.state().PePo;
        coarse_ = std::clamp(coarsePositionFor(pepo), kCoarseMin, kCoarseMax);
        fine_ = std::clamp(finePositionFor(pepo), kFineMin, kFineMax);
    } else {
        playing_ = false;
    }
}

void WindowLogic::setThirdPlot(PlotQuantity quantity)
{
    if (quantity == model_.thirdPlot()) return;
    if (quantity == PlotQuantity::Thrust && !engine_) return;
    model_.setThirdPlot(quantity);
    ++sceneRevision_;
    showThrust();
}

// The thrust plot follows the engine, the design, the units and the
// altitude; its curve is calculated again only for another engine or
// design. Without an engine the third plot goes back to p/p0.
void WindowLogic::showThrust()
{
    if (model_.thirdPlot() != PlotQuantity::Thrust) return;
    if (!engine_) {
        model_.setThrustPlot(std::nullopt);
        model_.setThirdPlot(PlotQuantity::Pressure);
        ++sceneRevision_;
        return;
    }
    if (!calculated()) return;
    const FlowState& s = model_.state();
    const ThrustKey key{*engine_, bitsOf(s.M_max), bitsOf(s.k)};
    if (!(key == thrustKey_) || thrustPoints_.empty()) {
        thrustPoints_ = thrustCurve(accepted_, s.k, *engine_, climbAltitudes(kThrustPlotStep));
        thrustKey_ = key;
    }
    const PlotScene before = model_.thirdScene();
    model_.setThrustPlot(ThrustPlot{thrustPoints_, altitude_, limitAltitudes(*engine_, s), units_});
    if (!(model_.thirdScene() == before)) ++sceneRevision_;
}

void WindowLogic::hover(PlotKind plot, double x)
{
    if (!calculated()) return;
    if (plot == PlotKind::Third && model_.showsThrust() && !thrustPoints_.empty()) {
        // The curve's point nearest to the altitude under the cursor.
        const double at = toSI(x, defaultUnit(Quantity::Altitude, units_));
        const ThrustPoint* near = &thrustPoints_.front();
        for (const ThrustPoint& p : thrustPoints_) {
            if (std::fabs(p.altitude - at) < std::fabs(near->altitude - at)) near = &p;
        }
        hoverText_ = "Altitude " + formatQuantity(near->altitude, Quantity::Altitude, units_) +
                     ": F = " + formatQuantity(near->F, Quantity::Force, units_) +
                     ", I_sp = " + formatQuantity(near->Isp, Quantity::Duration, units_);
        return;
    }
    if (flow_) {
        hoverText_ = unsteadyCellText(x);
        return;
    }
    // The station's values, then the whole nozzle's figures.
    const NozzleFigures f = nozzleFigures(model_.state(), model_.result());
    hoverText_ = hoverReadout(model_.state(), plot, x, model_.thirdPlot()) +
                 "; ṁ/ṁ* = " + formatShown(f.mdot_ratio) + ", C_F = " + formatShown(f.C_F);
    if (engine_ && !engineRefusal()) {
        // The station's own values in units.
        const StationValues v =
            stationValues(*engine_, model_.state(), nearestStation(model_.state(), x));
        hoverText_ += "; p = " + formatQuantity(v.p, Quantity::Pressure, units_) +
                      ", T = " + formatQuantity(v.T, Quantity::Temperature, units_) +
                      ", ρ = " + formatQuantity(v.rho, Quantity::Density, units_) +
                      ", V = " + formatQuantity(v.V, Quantity::Velocity, units_);
    }
}

void WindowLogic::leavePlot()
{
    hoverText_.clear();
}

} // namespace cdnozzle
