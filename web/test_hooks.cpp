// SPDX-License-Identifier: MIT
// The hooks of the page's tests and benchmark, linked only into the page
// they use (cdnozzle-test.html), never into the page students get: a
// plot's scene as data, one calculation straight from three texts, and the
// fine-bar sweep and the flow in time's steps the benchmark times.
#include "page_logic.h"

#include "panel/back_pressure_bars.h" // and, through page_logic.h, the flow in time

#include <emscripten/bind.h>

namespace cdnozzle {

namespace {

using emscripten::val;

// The scene of a plot the page's logic shows, as data: {left, top, right,
// bottom, segments: [[colour, x1, y1, x2, y2], ...]}.
val scene(const PageLogic& page, int plot)
{
    const NozzleModel& m = page.logic().model();
    const PlotScene& s = plot == 0 ? m.geometryScene() : plot == 1 ? m.machScene() : m.thirdScene();
    val out = val::object();
    out.set("left", s.left);
    out.set("top", s.top);
    out.set("right", s.right);
    out.set("bottom", s.bottom);
    val segments = val::array();
    for (const Segment& g : s.segments) {
        val seg = val::array();
        for (double v : {double(static_cast<int>(g.color)), g.x1, g.y1, g.x2, g.y2})
            seg.call<void>("push", v);
        segments.call<void>("push", seg);
    }
    out.set("segments", segments);
    return out;
}

// One calculation straight from three texts, as the report command does it:
// {refusal} or {report, regime, i_NS, Me, PePo_e, limits..., stations}.
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
    val report = val::array();
    for (const std::string& line : model.result().report.lines()) report.call<void>("push", line);
    out.set("report", report);
    out.set("regime", std::string(regimeName(model.result().regime)));
    out.set("i_NS", s.i_NS);
    for (auto [name, value] : {std::pair{"Me", s.Me},
                               {"PePo_e", s.PePo_e},
                               {"PePo", s.PePo},
                               {"AAe", s.AAe},
                               {"Me_sub", s.Me_sub},
                               {"PePo_sub", s.PePo_sub},
                               {"PePo_NS", s.PePo_NS},
                               {"PePo_OS", s.PePo_OS}}) {
        out.set(name, value);
    }
    // The station table's rows, by the table's own column names.
    val stations = val::array();
    for (int i = 1; i <= s.N_tot + 1; ++i) {
        val row = val::object();
        const auto values = stationRow(s, i);
        for (std::size_t c = 0; c < values.size(); ++c)
            row.set(std::string(kStationColumns[c].name), values[c]);
        stations.call<void>("push", row);
    }
    out.set("stations", stations);
    return out;
}

// The benchmark's fine-bar sweep: the calculations of positions 1..1000 in
// a row on one model, as the native benchmark runs them.
void benchFineSweep()
{
    static std::vector<InputTexts> inputs = [] {
        std::vector<InputTexts> v;
        for (int w = kFineMin; w <= kFineMax; ++w) v.push_back({"2", "3", fineText(w)});
        return v;
    }();
    NozzleModel model(inputs.front());
    for (const InputTexts& texts : inputs) model.calculate(texts);
}

// The benchmark's flow in time: a hundred steps of a scheme on the design
// flow of 400 cells, as the native benchmark times them (the flow is made
// once per scheme and runs on from call to call).
void benchUnsteady(int scheme)
{
    static std::vector<UnsteadyFlow> flows;
    if (flows.empty()) {
        const Gas air = gasOf(1.4);
        for (int s = 0; s < 4; ++s) {
            UnsteadySettings settings;
            settings.scheme = static_cast<Scheme>(s);
            settings.cells = 400;
            settings.courant = s < 2 ? 0.8 : 0.5;
            flows.emplace_back(air, nozzleContour(air, 2), settings, 0.1, Start::Steady, 0.1);
        }
    }
    flows.at(static_cast<std::size_t>(scheme)).run(100);
}

} // namespace

} // namespace cdnozzle

EMSCRIPTEN_BINDINGS(cdnozzle_test_hooks)
{
    using namespace cdnozzle;
    emscripten::function("scene", &scene);
    emscripten::function("calculateTexts", &calculateTexts);
    emscripten::function("benchFineSweep", &benchFineSweep);
    emscripten::function("benchUnsteady", &benchUnsteady);
}
