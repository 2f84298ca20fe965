// The window's logic for the web page: the same class the desktop window
// drives, bound with embind. Scenes travel as typed arrays, one copy per
// paint; everything else as plain values.
#include "text/number_text.h"
#include "panel/window_logic.h"
#include "panel/back_pressure_bars.h"
#include "results/station_data.h"
#include "text/validation.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <string>
#include <vector>

namespace cdnozzle {

namespace {

using emscripten::val;

val toArray(const std::vector<std::string>& lines)
{
    val out = val::array();
    for (const std::string& line : lines) out.call<void>("push", line);
    return out;
}

// {left, top, right, bottom, segments: Float64Array [colour, x1, y1, x2, y2]*}
// with colours 0 grid, 1 foreground, 2 red, 3 blue.
val sceneToJs(const PlotScene& scene)
{
    std::vector<double> flat;
    flat.reserve(scene.segments.size() * 5);
    for (const Segment& s : scene.segments) {
        flat.insert(flat.end(), {static_cast<double>(s.color), s.x1, s.y1, s.x2, s.y2});
    }
    val out = val::object();
    out.set("left", scene.left);
    out.set("top", scene.top);
    out.set("right", scene.right);
    out.set("bottom", scene.bottom);
    val view{emscripten::typed_memory_view(flat.size(), flat.data())};
    out.set("segments", val::global("Float64Array").new_(view));
    return out;
}

// The logic with the page's seams: failed-iteration messages are collected
// during an event and shown by the page afterwards.
class PageLogic {
  public:
    PageLogic()
    {
        logic_.setNotConvergedHandler([this](const std::string& m) { messages_.push_back(m); });
    }

    void editMeSup(const std::string& t) { logic_.editMeSup(t); }
    void editAmax(const std::string& t) { logic_.editAmax(t); }
    void editPePo(const std::string& t) { logic_.editPePo(t); }
    void pressCalculate() { logic_.pressCalculate(); }
    void clickGeometry() { logic_.clickGeometry(); }
    void moveCoarse(int p) { logic_.moveCoarse(p); }
    void moveFine(int p) { logic_.moveFine(p); }
    void hover(int plot, double x) { logic_.hover(static_cast<PlotKind>(plot), x); }
    void leavePlot() { logic_.leavePlot(); }
    void playOrPause(double now) { logic_.playOrPause(now); }
    void playReverse(double now) { logic_.playReverse(now); }
    void pausePlay() { logic_.pausePlay(); }
    void setPlaySpeed(int speed, double now)
    {
        logic_.setPlaySpeed(static_cast<PlaySpeed>(std::clamp(speed, 0, 2)), now);
    }
    void setPauseAtLimits(bool on) { logic_.setPauseAtLimits(on); }
    bool tick(double now) { return logic_.tick(now); }
    bool playing() const { return logic_.playing(); }
    bool playingDown() const { return logic_.playingDown(); }
    int playSpeed() const { return static_cast<int>(logic_.playSpeed()); }
    bool pauseAtLimits() const { return logic_.pauseAtLimits(); }
    std::string explanation() const { return logic_.explanation(); }
    void setListedGas(const std::string& name) { logic_.setListedGas(name); }
    void setOtherGas(const std::string& typed) { logic_.setOtherGas(typed); }
    std::string gasName() const { return logic_.gasName(); }
    double gasK() const { return logic_.gasK(); }
    void setThirdPlot(int quantity)
    {
        logic_.setThirdPlot(static_cast<PlotQuantity>(std::clamp(quantity, 0, 2)));
    }
    int thirdPlot() const { return static_cast<int>(logic_.thirdPlot()); }
    void openScenario(const std::string& me, const std::string& amax, const std::string& pepo,
                      const std::string& gas, const std::string& k, int third)
    {
        logic_.openScenario({me, amax, pepo}, gas, k,
                            static_cast<PlotQuantity>(std::clamp(third, 0, 2)));
    }

    std::string meSup() const { return logic_.texts().me_sup; }
    std::string amax() const { return logic_.texts().amax; }
    std::string pePo() const { return logic_.texts().pe_po; }
    val acceptedTexts() const
    {
        val out = val::object();
        out.set("me", logic_.acceptedTexts().me_sup);
        out.set("amax", logic_.acceptedTexts().amax);
        out.set("pepo", logic_.acceptedTexts().pe_po);
        return out;
    }
    std::string acceptedGasName() const { return logic_.acceptedGasName(); }
    double acceptedGasK() const { return logic_.acceptedGasK(); }
    int coarsePosition() const { return logic_.coarsePosition(); }
    int finePosition() const { return logic_.finePosition(); }
    int calculationCount() const { return logic_.calculationCount(); }
    bool calculated() const { return logic_.calculated(); }
    val reportLines() const { return toArray(logic_.reportLines()); }
    std::string statusText() const { return logic_.statusText(); }
    int statusKind() const { return static_cast<int>(logic_.statusKind()); }
    bool statusIsRefusal() const { return logic_.statusIsRefusal(); }
    val scene(int plot) const
    {
        const NozzleModel& m = logic_.model();
        return sceneToJs(plot == 0 ? m.geometryScene() : plot == 1 ? m.machScene() : m.pressureScene());
    }
    std::string stationTable() const { return stationCsv(logic_.model().state()); }
    val takeMessages()
    {
        val out = toArray(messages_);
        messages_.clear();
        return out;
    }

  private:
    WindowLogic logic_;
    std::vector<std::string> messages_;
};

// One calculation straight from three texts, as the report command does it:
// {refusal} or {report, regime, i_NS, Me, PePo_e, limits..., M, PiPo}.
val calculateTexts(const std::string& me, const std::string& amax, const std::string& pepo)
{
    const InputTexts texts{me, amax, pepo};
    NozzleModel model(texts);
    val out = val::object();
    if (auto refusal = model.calculate(texts)) {
        out.set("refusal", *refusal);
        return out;
    }
    const FlowState& s = model.state();
    out.set("report", toArray(model.result().report.lines()));
    out.set("regime", std::string(regimeName(model.result().regime)));
    out.set("i_NS", s.i_NS);
    for (auto [name, value] : {std::pair{"Me", s.Me}, {"PePo_e", s.PePo_e}, {"PePo", s.PePo},
                               {"AAe", s.AAe}, {"Me_sub", s.Me_sub}, {"PePo_sub", s.PePo_sub},
                               {"PePo_NS", s.PePo_NS}, {"PePo_OS", s.PePo_OS}}) {
        out.set(name, value);
    }
    val M = val::array(), P = val::array(), X = val::array(), Y = val::array();
    for (int i = 1; i <= s.N_tot + 1; ++i) {
        M.call<void>("push", s.M[i]);
        P.call<void>("push", s.PiPo[i]);
        X.call<void>("push", s.x[i]);
        Y.call<void>("push", s.y[i]);
    }
    out.set("M", M);
    out.set("PiPo", P);
    out.set("x", X);
    out.set("y", Y);
    return out;
}

// The gases offered by name: [[name, k], ...].
val gasList()
{
    val out = val::array();
    for (const NamedGas& g : kGases) {
        val item = val::array();
        item.call<void>("push", std::string(g.name));
        item.call<void>("push", g.k);
        out.call<void>("push", item);
    }
    return out;
}

// The benchmark's fine-bar sweep: the calculations of positions 1..1000 in
// a row on one model, as the native benchmark runs them.
void benchFineSweep()
{
    static std::vector<InputTexts> inputs = [] {
        std::vector<InputTexts> v;
        for (int w = kFineMin; w <= kFineMax; ++w) v.push_back({"2", "3", formatGeneral(finePePo(w))});
        return v;
    }();
    NozzleModel model(inputs.front());
    for (const InputTexts& texts : inputs) model.calculate(texts);
}

} // namespace

} // namespace cdnozzle

EMSCRIPTEN_BINDINGS(cdnozzle)
{
    using namespace cdnozzle;
    emscripten::class_<PageLogic>("WindowLogic")
        .constructor<>()
        .function("editMeSup", &PageLogic::editMeSup)
        .function("editAmax", &PageLogic::editAmax)
        .function("editPePo", &PageLogic::editPePo)
        .function("pressCalculate", &PageLogic::pressCalculate)
        .function("clickGeometry", &PageLogic::clickGeometry)
        .function("moveCoarse", &PageLogic::moveCoarse)
        .function("moveFine", &PageLogic::moveFine)
        .function("hover", &PageLogic::hover)
        .function("leavePlot", &PageLogic::leavePlot)
        .function("openScenario", &PageLogic::openScenario)
        .function("playOrPause", &PageLogic::playOrPause)
        .function("playReverse", &PageLogic::playReverse)
        .function("pausePlay", &PageLogic::pausePlay)
        .function("setPlaySpeed", &PageLogic::setPlaySpeed)
        .function("setPauseAtLimits", &PageLogic::setPauseAtLimits)
        .function("tick", &PageLogic::tick)
        .function("playing", &PageLogic::playing)
        .function("playingDown", &PageLogic::playingDown)
        .function("playSpeed", &PageLogic::playSpeed)
        .function("pauseAtLimits", &PageLogic::pauseAtLimits)
        .function("explanation", &PageLogic::explanation)
        .function("setListedGas", &PageLogic::setListedGas)
        .function("setOtherGas", &PageLogic::setOtherGas)
        .function("gasName", &PageLogic::gasName)
        .function("gasK", &PageLogic::gasK)
        .function("setThirdPlot", &PageLogic::setThirdPlot)
        .function("thirdPlot", &PageLogic::thirdPlot)
        .function("meSup", &PageLogic::meSup)
        .function("amax", &PageLogic::amax)
        .function("pePo", &PageLogic::pePo)
        .function("acceptedTexts", &PageLogic::acceptedTexts)
        .function("acceptedGasName", &PageLogic::acceptedGasName)
        .function("acceptedGasK", &PageLogic::acceptedGasK)
        .function("coarsePosition", &PageLogic::coarsePosition)
        .function("finePosition", &PageLogic::finePosition)
        .function("calculationCount", &PageLogic::calculationCount)
        .function("calculated", &PageLogic::calculated)
        .function("reportLines", &PageLogic::reportLines)
        .function("statusText", &PageLogic::statusText)
        .function("statusKind", &PageLogic::statusKind)
        .function("statusIsRefusal", &PageLogic::statusIsRefusal)
        .function("scene", &PageLogic::scene)
        .function("stationTable", &PageLogic::stationTable)
        .function("takeMessages", &PageLogic::takeMessages);
    emscripten::function("calculateTexts", &calculateTexts);
    emscripten::function("gasList", &gasList);
    emscripten::function("benchFineSweep", &benchFineSweep);
}
