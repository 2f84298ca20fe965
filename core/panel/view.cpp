// SPDX-License-Identifier: MIT
#include "panel/view.h"

#include "text/number_text.h"

#include <algorithm>
#include <iterator>

namespace cdnozzle {

const std::vector<EventFormat>& eventFormats()
{
    static const std::vector<EventFormat> formats{
        {EventKind::EditMeSup, "editMeSup", "t"},
        {EventKind::EditAmax, "editAmax", "t"},
        {EventKind::EditPePo, "editPePo", "t"},
        {EventKind::Calculate, "calculate", ""},
        {EventKind::ClickGeometry, "clickGeometry", ""},
        {EventKind::MoveCoarse, "moveCoarse", "n"},
        {EventKind::MoveFine, "moveFine", "n"},
        {EventKind::ListedGas, "listedGas", "t"},
        {EventKind::OtherGas, "otherGas", "t"},
        {EventKind::ThirdPlot, "thirdPlot", "n"},
        {EventKind::Play, "play", "s"},
        {EventKind::Reverse, "reverse", "s"},
        {EventKind::Slower, "slower", "s"},
        {EventKind::Faster, "faster", "s"},
        {EventKind::PauseAtLimits, "pauseAtLimits", "n"},
        {EventKind::Tick, "tick", "s"},
        {EventKind::Explain, "explain", "n"},
        {EventKind::ZoomIn, "zoomIn", ""},
        {EventKind::ZoomOut, "zoomOut", ""},
        {EventKind::ZoomReset, "zoomReset", ""},
        {EventKind::Hover, "hover", "pnw"},
        {EventKind::Leave, "leave", ""},
        {EventKind::OpenAddress, "openAddress", "t"},
        {EventKind::Export, "export", "pt"},
        {EventKind::StepDown, "stepDown", ""},
        {EventKind::StepUp, "stepUp", ""},
        {EventKind::CoarseDown, "coarseDown", ""},
        {EventKind::CoarseUp, "coarseUp", ""},
        {EventKind::Reset, "reset", ""},
        {EventKind::Projector, "projector", "n"},
        {EventKind::Shortcuts, "shortcuts", "n"},
        {EventKind::EditEngine, "editEngine", "tn"},
        {EventKind::Units, "units", "n"},
        {EventKind::MoveAltitude, "moveAltitude", "n"},
        {EventKind::ProjectorPlot, "projectorPlot", "n"},
        {EventKind::Start, "start", "w"},
        {EventKind::Setting, "setting", "t"},
        {EventKind::Mode, "mode", "n"},
        {EventKind::TimeStep, "timeStep", "s"},
        {EventKind::TimeRestart, "timeRestart", "s"},
    };
    return formats;
}

const EventFormat* eventFormatNamed(std::string_view name)
{
    for (const EventFormat& f : eventFormats()) {
        if (f.name == name) return &f;
    }
    return nullptr;
}

const EventFormat& eventFormatOf(EventKind kind)
{
    for (const EventFormat& f : eventFormats()) {
        if (f.kind == kind) return f;
    }
    return eventFormats().front();
}

std::string jsonQuoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default:
            if (u < 0x20) {
                static const char digits[] = "0123456789abcdef";
                out += "\\u00";
                out += digits[u >> 4];
                out += digits[u & 15];
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string eventJson(const Event& e)
{
    const EventFormat& f = eventFormatOf(e.kind);
    std::string out = "[";
    out += jsonQuoted(f.name);
    for (const char field : f.fields) {
        out += ",";
        switch (field) {
        case 't': out += jsonQuoted(e.text); break;
        case 'n': out += formatRoundTrip(e.number); break;
        case 'p': out += std::to_string(e.plot); break;
        case 'w': out += formatRoundTrip(e.width); break;
        case 's': out += formatRoundTrip(e.time); break;
        }
    }
    return out + "]";
}

void writeJson(std::string& out, const std::string& text)
{
    out += jsonQuoted(text);
}

void writeJson(std::string& out, bool value)
{
    out += value ? "true" : "false";
}

void writeJson(std::string& out, int value)
{
    out += std::to_string(value);
}

void writeJson(std::string& out, double value)
{
    out += formatRoundTrip(value);
}

void writeJson(std::string& out, const Event& event)
{
    out += eventJson(event);
}

void writeJson(std::string& out, Rgb color)
{
    out += "{\"r\":" + std::to_string(color.r) + ",\"g\":" + std::to_string(color.g) +
           ",\"b\":" + std::to_string(color.b) + "}";
}

std::string viewJson(const ViewState& view)
{
    std::string out = "{";
    forEachSection(
        [&](std::string_view name, int index, const auto& section) {
            if (index <= 0) {
                out += out.size() > 1 ? ",\"" : "\"";
                out += index < 0 ? name : "plots";
                out += index < 0 ? "\":" : "\":[";
            } else {
                out += ',';
            }
            writeJson(out, section);
            if (index == 2) out += ']';
        },
        view);
    return out + "}";
}

namespace {

// The engine's boxes in the address, in EngineFieldKind's order.
constexpr std::string_view kEngineKeys[] = {"p0", "t0", "at", "mm", "alt", "ar"};

// As a web form writes a value: letters, digits and "*-._" stay, a blank
// is "+", every other byte %XX.
std::string formEncoded(std::string_view text)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '*' || c == '-' || c == '.' || c == '_') {
            out += c;
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += digits[u >> 4];
            out += digits[u & 15];
        }
    }
    return out;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string formDecoded(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
                   hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string addressOf(const InputTexts& texts, const std::string& gasName, double k,
                      PlotQuantity third, const EngineTexts& engine, std::string_view units,
                      bool unsteady)
{
    std::string out = "#";
    // A key and its value, form-encoded, after the others.
    const auto add = [&](std::string_view key, std::string_view value) {
        if (out.size() > 1) out += '&';
        out += key;
        out += '=';
        out += formEncoded(value);
    };
    add("me", texts.me_sup);
    add("amax", texts.amax);
    add("pepo", texts.pe_po);
    if (!findGas(gasName))
        add("k", formatRoundTrip(k));
    else if (gasName != kGases.front().name)
        add("gas", gasName);
    if (third != PlotQuantity::Pressure) add("plot", quantityKey(third));
    bool anyEngine = false;
    for (std::size_t i = 0; i < engine.size(); ++i) {
        if (engine[i].empty()) continue;
        add(kEngineKeys[i], engine[i]);
        anyEngine = true;
    }
    if (anyEngine) add("units", units == "us" ? "us" : "si");
    if (unsteady) add("mode", "unsteady");
    return out;
}

std::optional<Scenario> scenarioOf(std::string_view address)
{
    if (address.starts_with('#')) address.remove_prefix(1);
    Scenario s;
    bool any = false;
    while (!address.empty()) {
        const std::size_t amp = address.find('&');
        const std::string_view pair = address.substr(0, amp);
        address.remove_prefix(amp == std::string_view::npos ? address.size() : amp + 1);
        const std::size_t eq = pair.find('=');
        const std::string key = formDecoded(pair.substr(0, eq));
        const std::string value =
            eq == std::string_view::npos ? std::string() : formDecoded(pair.substr(eq + 1));
        if (key == "me")
            s.texts.me_sup = value;
        else if (key == "amax")
            s.texts.amax = value;
        else if (key == "pepo")
            s.texts.pe_po = value;
        else if (key == "gas")
            s.gas = value;
        else if (key == "k")
            s.k = value;
        else if (key == "units") {
            s.units = value;
            if (value != "si" && value != "us" && s.refusal.empty())
                s.refusal = "units = must be si or us " + quotedInput(value);
        } else if (const auto* named =
                       std::find(std::begin(kEngineKeys), std::end(kEngineKeys), key);
                   named != std::end(kEngineKeys))
            s.engine[static_cast<std::size_t>(named - std::begin(kEngineKeys))] = value;
        else if (key == "mode") {
            s.unsteady = value == "unsteady";
            if (value != "steady" && value != "unsteady" && s.refusal.empty())
                s.refusal = "mode = must be steady or unsteady " + quotedInput(value);
        } else if (key == "plot") {
            if (const auto named = quantityNamed(value)) {
                s.third = *named;
            } else if (s.refusal.empty()) {
                s.refusal = "plot = must be p, T, rho or thrust " + quotedInput(value);
            }
        } else {
            continue;
        }
        any = true;
    }
    if (!any) return std::nullopt;
    return s;
}

} // namespace cdnozzle
