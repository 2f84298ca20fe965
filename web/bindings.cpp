// SPDX-License-Identifier: MIT
// The window's logic for the web page, bound with embind: the page hands
// every user action over as an Event and reads back the view's sections
// that changed, as JavaScript objects made by walking each section's one
// description of its fields (panel/view_fields.h); a plot's display list
// crosses as one typed array.
#include "page_logic.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace cdnozzle {

using emscripten::val;

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

namespace {

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

// A described struct as a JavaScript object, field by field; a menu
// entry's event as its log entry, [name, fields...].
val toVal(const std::string& text)
{
    return val(text);
}
val toVal(bool value)
{
    return val(value);
}
val toVal(int value)
{
    return val(value);
}
val toVal(double value)
{
    return val(std::isfinite(value) ? value : 0.0);
}
val toVal(Rgb color)
{
    val out = val::object();
    out.set("r", int(color.r));
    out.set("g", int(color.g));
    out.set("b", int(color.b));
    return out;
}
val toVal(const Event& e)
{
    const EventFormat& f = eventFormatOf(e.kind);
    val out = val::array();
    out.call<void>("push", std::string(f.name));
    for (const char field : f.fields) {
        switch (field) {
        case 't': out.call<void>("push", e.text); break;
        case 'n': out.call<void>("push", e.number); break;
        case 'p': out.call<void>("push", e.plot); break;
        case 'w': out.call<void>("push", e.width); break;
        case 's': out.call<void>("push", e.time); break;
        }
    }
    return out;
}
template <class T> val toVal(const std::vector<T>& list);
template <Described T> val toVal(const T& value)
{
    val out = val::object();
    forEachField(value, [&](std::string_view name, const auto& field) {
        out.set(val(name.data()), toVal(field)); // (a literal: its text ends there)
    });
    return out;
}
template <class T> val toVal(const std::vector<T>& list)
{
    val out = val::array();
    for (const T& item : list) out.call<void>("push", toVal(item));
    return out;
}

} // namespace

std::string textsOf(const DisplayList& list, std::size_t first, std::size_t last)
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

// Failed-iteration messages are collected during an event and shown by the
// page afterwards.
PageLogic::PageLogic()
{
    logic_.setNotConvergedHandler([this](const std::string& m) { messages_.push_back(m); });
}

void PageLogic::handle(const std::string& name, const std::string& text, double number, int plot,
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

val PageLogic::viewChanges(bool holdReadouts)
{
    const ViewState v = logic_.view(holdReadouts);
    val out = val::object();
    std::size_t slot = 0;
    forEachSection(
        [&](std::string_view name, int index, const auto& section) {
            int& passed = passed_[slot++];
            if (passed == section.revision) return;
            if (holdReadouts && WindowLogic::heldDuringFastPlay(name)) return;
            passed = section.revision;
            val shown = toVal(section);
            shown.set("revision", section.revision);
            out.set(index < 0 ? std::string(name) : std::string(name) + std::to_string(index),
                    shown);
        },
        v);
    return out;
}

int PageLogic::displayList(int plot, double width, double height, double scale)
{
    const DisplayList list = logic_.displayList(static_cast<PlotKind>(plot), width, height, scale);
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

int PageLogic::linesAddress() const
{
    return static_cast<int>(reinterpret_cast<std::uintptr_t>(flat_.data()));
}

val PageLogic::plotMenu(int plot) const
{
    return toVal(logic_.plotMenu(static_cast<PlotKind>(plot)));
}

val PageLogic::otherGasPrompt() const
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

val PageLogic::lastExport() const
{
    const ExportFile& f = logic_.lastExport();
    val out = val::object();
    out.set("serial", f.serial);
    out.set("name", f.name);
    out.set("format", f.format);
    out.set("mime", f.mime);
    out.set("text", f.text);
    out.set("toClipboard", f.toClipboard);
    out.set("painted", f.painted);
    out.set("background", toVal(f.picture.background));
    out.set("width", f.picture.width);
    out.set("height", f.picture.height);
    out.set("lines", linesOf(f.picture));
    out.set("texts", textsOf(f.picture));
    return out;
}

val PageLogic::takeMessages()
{
    val out = val::array();
    for (const std::string& m : messages_) out.call<void>("push", m);
    messages_.clear();
    return out;
}

namespace {

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

} // namespace

} // namespace cdnozzle

EMSCRIPTEN_BINDINGS(cdnozzle)
{
    using namespace cdnozzle;
    emscripten::class_<PageLogic>("WindowLogic")
        .constructor<>()
        .function("handle", &PageLogic::handle)
        .function("viewChanges", &PageLogic::viewChanges)
        .function("displayList", &PageLogic::displayList)
        .function("linesAddress", &PageLogic::linesAddress)
        .function("steadyLines", &PageLogic::steadyLines)
        .function("steadyTexts", &PageLogic::steadyTexts)
        .function("movingTexts", &PageLogic::movingTexts)
        .function("plotMenu", &PageLogic::plotMenu)
        .function("otherGasPrompt", &PageLogic::otherGasPrompt)
        .function("lastExport", &PageLogic::lastExport)
        .function("playing", &PageLogic::playing)
        .function("messageCount", &PageLogic::messageCount)
        .function("takeMessages", &PageLogic::takeMessages);
    emscripten::function("eventFormats", &eventFormatList);
}
