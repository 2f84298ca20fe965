// The window's logic for the web page, bound with embind: the page hands
// every user action over as an Event and reads the view back as one JSON
// text; a plot's display list crosses as one typed array.
#include "panel/back_pressure_bars.h"
#include "panel/window_logic.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace cdnozzle {

namespace {

using emscripten::val;

// [x1, y1, x2, y2, r, g, b, width, crisp, dashed]* (crisp: 0 no, 1
// vertical, 2 horizontal) and the texts as JSON (with their alignment as a
// canvas names it): the display list in two pieces.
std::vector<double> flatLines(const DisplayList& list)
{
    std::vector<double> flat;
    flat.reserve(list.lines.size() * 11);
    for (const DisplayLine& l : list.lines) {
        flat.insert(flat.end(), {l.x1, l.y1, l.x2, l.y2, double(l.color.r), double(l.color.g),
                                 double(l.color.b), l.width, double(static_cast<int>(l.crisp)),
                                 l.dashOn, l.dashOff});
    }
    return flat;
}

val linesOf(const DisplayList& list)
{
    const std::vector<double> flat = flatLines(list);
    val view{emscripten::typed_memory_view(flat.size(), flat.data())};
    return val::global("Float64Array").new_(view);
}

// A pixel measure to a thousandth of a pixel, written without the
// round-trip search a double's shortest form costs on the page (a few
// hundred texts are written at every step).
std::string pixels(double v)
{
    if (!std::isfinite(v)) return "0";
    const long long thousandths = std::llround(v * 1000);
    const long long whole = thousandths / 1000, rest = std::llabs(thousandths % 1000);
    std::string out = (thousandths < 0 && whole == 0 ? "-" : "") + std::to_string(whole);
    if (rest) {
        std::string digits = std::to_string(rest);
        digits.insert(0, 3 - digits.size(), '0');
        while (digits.back() == '0') digits.pop_back();
        out += "." + digits;
    }
    return out;
}

// The texts from first up to (not including) last as JSON.
std::string textsOf(const DisplayList& list, std::size_t first = 0,
                    std::size_t last = static_cast<std::size_t>(-1))
{
    std::string out = "[";
    for (std::size_t i = first; i < std::min(last, list.texts.size()); ++i) {
        const DisplayText& t = list.texts[i];
        out += (out.size() > 1 ? "," : "") + std::string("{\"x\":") + pixels(t.x) +
               ",\"y\":" + pixels(t.y) + ",\"text\":" + jsonQuoted(t.text) +
               ",\"size\":" + pixels(t.size) + ",\"italic\":" + (t.italic ? "true" : "false") +
               ",\"align\":\"" +
               (t.align == Align::Left     ? "left"
                : t.align == Align::Center ? "center"
                                           : "right") +
               "\",\"color\":[" + std::to_string(t.color.r) + "," + std::to_string(t.color.g) +
               "," + std::to_string(t.color.b) + "]}";
    }
    return out + "]";
}

// The logic with the page's seams: failed-iteration messages are collected
// during an event and shown by the page afterwards.
class PageLogic {
  public:
    PageLogic()
    {
        logic_.setNotConvergedHandler([this](const std::string& m) { messages_.push_back(m); });
    }

    // An event by its log name and fields; a name the log does not know is
    // nothing.
    void handle(const std::string& name, const std::string& text, double number, int plot,
                double width, double time)
    {
        const EventFormat* format = eventFormatNamed(name);
        if (!format) return;
        Event e(format->kind);
        e.text = text;
        e.number = number;
        e.plot = plot;
        e.width = width;
        e.time = time;
        logic_.handle(e);
    }
    std::string viewJson() const { return cdnozzle::viewJson(logic_.view()); }
    // The view's members that changed since the last call, as one JSON
    // object (all of them the first time): a play's step passes on a few
    // hundred bytes instead of the whole view.
    std::string viewChanges()
    {
        std::vector<ViewField> fields = viewFields(logic_.view());
        shown_.resize(fields.size());
        std::vector<ViewField> changed;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].json == shown_[i]) continue;
            shown_[i] = fields[i].json;
            changed.push_back(std::move(fields[i]));
        }
        return fieldsJson(changed);
    }
    int sceneRevision() const { return logic_.sceneRevision(); }
    // A plot's display list, kept until the next one: returns how many
    // lines it has. linesAddress() is where they lie in the module's
    // memory, eleven numbers each as linesOf lists them (the page copies them
    // from there); steadyLines() is how many of the first stay while only
    // the back pressure moves; steadyTexts() and movingTexts() its texts
    // as JSON, those that stay and the rest, each empty when it is the same
    // as this plot's the last time (the page keeps what it was given).
    int displayList(int plot, double width, double height, double scale)
    {
        const DisplayList list =
            logic_.displayList(static_cast<PlotKind>(plot), width, height, scale);
        const auto k = static_cast<std::size_t>(std::clamp(plot, 0, 2));
        auto fresh = [](std::string texts, std::string& last) {
            if (texts == last) return std::string();
            last = texts;
            return texts;
        };
        steadyTexts_ = fresh(textsOf(list, 0, list.steadyTexts), lastSteadyTexts_[k]);
        movingTexts_ = fresh(textsOf(list, list.steadyTexts), lastMovingTexts_[k]);
        steadyLines_ = static_cast<int>(list.steadyLines);
        flat_ = flatLines(list);
        return static_cast<int>(list.lines.size());
    }
    int linesAddress() const
    {
        return static_cast<int>(reinterpret_cast<std::uintptr_t>(flat_.data()));
    }
    int steadyLines() const { return steadyLines_; }
    const std::string& steadyTexts() const { return steadyTexts_; }
    const std::string& movingTexts() const { return movingTexts_; }
    std::string plotMenu(int plot) const
    {
        return menuJson(logic_.plotMenu(static_cast<PlotKind>(plot)));
    }
    val otherGasPrompt() const
    {
        const GasPrompt p = logic_.otherGasPrompt();
        val out = val::object();
        out.set("title", p.title);
        out.set("question", p.question);
        out.set("initial", p.initial);
        out.set("molarQuestion", p.molarQuestion);
        out.set("molarInitial", p.molarInitial);
        return out;
    }
    val lastExport() const
    {
        const ExportFile& f = logic_.lastExport();
        val out = val::object();
        out.set("serial", f.serial);
        out.set("name", f.name);
        out.set("format", f.format);
        out.set("mime", f.mime);
        out.set("text", f.text);
        out.set("width", f.picture.width);
        out.set("height", f.picture.height);
        out.set("lines", linesOf(f.picture));
        out.set("texts", textsOf(f.picture));
        return out;
    }
    bool calculated() const { return logic_.calculated(); }
    bool playing() const { return logic_.playing(); }
    // The scene of a plot as data, for the page's tests: {left, top, right,
    // bottom, segments: [[colour, x1, y1, x2, y2], ...]}.
    val scene(int plot) const
    {
        const NozzleModel& m = logic_.model();
        const PlotScene& s = plot == 0   ? m.geometryScene()
                             : plot == 1 ? m.machScene()
                                         : m.thirdScene();
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
    int messageCount() const { return static_cast<int>(messages_.size()); }
    val takeMessages()
    {
        val out = val::array();
        for (const std::string& m : messages_) out.call<void>("push", m);
        messages_.clear();
        return out;
    }

  private:
    WindowLogic logic_;
    std::string steadyTexts_, movingTexts_;
    std::array<std::string, 3> lastSteadyTexts_, lastMovingTexts_;
    std::vector<double> flat_;
    int steadyLines_ = 0;
    std::vector<std::string> shown_; // each view member's JSON as last passed on
    std::vector<std::string> messages_;
};

// The events of a log: [{name, fields}, ...] (fields: t text, n number,
// p plot, w width, s time).
val eventFormatList()
{
    val out = val::array();
    for (const EventFormat& f : eventFormats()) {
        val item = val::object();
        item.set("name", std::string(f.name));
        item.set("fields", std::string(f.fields));
        out.call<void>("push", item);
    }
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

} // namespace

} // namespace cdnozzle

EMSCRIPTEN_BINDINGS(cdnozzle)
{
    using namespace cdnozzle;
    emscripten::class_<PageLogic>("WindowLogic")
        .constructor<>()
        .function("handle", &PageLogic::handle)
        .function("viewJson", &PageLogic::viewJson)
        .function("viewChanges", &PageLogic::viewChanges)
        .function("sceneRevision", &PageLogic::sceneRevision)
        .function("displayList", &PageLogic::displayList)
        .function("linesAddress", &PageLogic::linesAddress)
        .function("steadyLines", &PageLogic::steadyLines)
        .function("steadyTexts", &PageLogic::steadyTexts)
        .function("movingTexts", &PageLogic::movingTexts)
        .function("plotMenu", &PageLogic::plotMenu)
        .function("otherGasPrompt", &PageLogic::otherGasPrompt)
        .function("lastExport", &PageLogic::lastExport)
        .function("calculated", &PageLogic::calculated)
        .function("playing", &PageLogic::playing)
        .function("scene", &PageLogic::scene)
        .function("messageCount", &PageLogic::messageCount)
        .function("takeMessages", &PageLogic::takeMessages);
    emscripten::function("eventFormats", &eventFormatList);
    emscripten::function("calculateTexts", &calculateTexts);
    emscripten::function("benchFineSweep", &benchFineSweep);
}
