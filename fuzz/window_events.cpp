// SPDX-License-Identifier: MIT
#include "window_events.h"

#include "audit/audit.h"
#include "panel/back_pressure_bars.h"
#include "panel/window_logic.h"
#include "results/flow_figures.h"
#include "results/station_data.h"
#include "text/number_text.h"

#include <cmath>
#include <string_view>

namespace cdnozzle {

namespace {

// Reads the fuzzer's bytes as choices; past the end every choice is 0.
class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    // A value in [0, 1] from two bytes.
    double unit() { return (byte() * 256 + byte()) / 65535.0; }
    int range(int lo, int hi) { return lo + static_cast<int>(unit() * (hi - lo) + 0.5); }
    // A number as a student types it, or raw bytes.
    std::string text(double lo, double hi)
    {
        switch (byte() % 4) {
        case 0: return formatGeneral(lo + unit() * (hi - lo));
        case 1: return formatRoundTrip(lo + unit() * (hi - lo));
        case 2: return formatGeneral(std::pow(10.0, -14 * unit())); // down to 1e-14
        default: {
            std::string raw;
            for (int n = byte() % 12; n > 0; --n) raw.push_back(static_cast<char>(byte()));
            return raw;
        }
        }
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

bool shows(std::string_view text, std::string_view word)
{
    return text.find(word) != std::string_view::npos;
}

std::optional<std::string> badText(std::string_view what, std::string_view text)
{
    if (shows(text, "nan") || shows(text, "inf") || shows(text, "NaN") || shows(text, "Inf"))
        return std::string(what) + ": " + std::string(text.substr(0, 300));
    return std::nullopt;
}

std::optional<std::string> check(const WindowLogic& logic)
{
    if (logic.coarsePosition() < kCoarseMin || logic.coarsePosition() > kCoarseMax)
        return "coarse bar at " + std::to_string(logic.coarsePosition());
    if (logic.finePosition() < kFineMin || logic.finePosition() > kFineMax)
        return "fine bar at " + std::to_string(logic.finePosition());
    // A refusal quotes what was typed, whatever it is.
    if (!logic.statusIsRefusal()) {
        if (auto bad = badText("status", logic.statusText())) return bad;
    }
    if (!logic.calculated()) return std::nullopt;
    const NozzleModel& model = logic.model();
    if (auto bad = findNonFinite(model)) return "non-finite " + *bad;
    const NozzleFigures f = nozzleFigures(model.state(), model.result());
    for (double v : {f.mdot_ratio, f.C_F, f.C_F_momentum, f.C_F_pressure, f.pe_pb}) {
        if (!std::isfinite(v)) return std::string("non-finite nozzle figure");
    }
    if (f.mdot_ratio > 1) return "mass flow above the choked one: " + formatRoundTrip(f.mdot_ratio);
    if (auto bad = badText("explanation", logic.explanation())) return bad;
    const ViewState view = logic.view();
    if (auto bad = badText("engine", view.engineLine)) return bad;
    // The flow in time's status line and story.
    if (!view.statusIsRefusal) {
        if (auto bad = badText("status", view.status)) return bad;
    }
    if (auto bad = badText("explanation", view.explanation)) return bad;
    if (view.altitude.position < 0 || view.altitude.position > view.altitude.maximum)
        return "altitude slider at " + std::to_string(view.altitude.position);
    if (auto bad = badText("thrust over altitude", logic.lastExport().text)) return bad;
    if (auto bad = badText("CSV", stationCsv(model.state()))) return bad;
    for (const std::string& line : logic.reportLines()) {
        if (auto bad = badText("report", line)) return bad;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> runWindowEvents(const std::uint8_t* data, std::size_t size)
{
    Bytes in(data, size);
    WindowLogic logic;
    std::string failure;
    logic.setNotConvergedHandler([&](const std::string& m) { failure = "iteration: " + m; });
    double now = 0;
    // Every event as a front end sends it, at the clock's time.
    const auto send = [&](Event e) {
        e.time = now;
        logic.handle(e);
    };
    const auto number = [](EventKind kind, double n) { return Event(kind, n); };
    // The gas first: k from 1 to 2, so outside its range too.
    send(Event(EventKind::OtherGas, formatRoundTrip(1 + in.unit())));
    for (int events = 0; events < 64 && !in.empty(); ++events) {
        const int kind = in.byte() % 22;
        std::string event = std::to_string(kind);
        switch (kind) {
        case 0: send(Event(EventKind::EditMeSup, event = in.text(0.5, 120))); break;
        case 1: send(Event(EventKind::EditAmax, event = in.text(-2, 5))); break;
        case 2: send(Event(EventKind::EditPePo, event = in.text(-0.1, 1.1))); break;
        case 3: send(EventKind::Calculate); break;
        case 4: send(EventKind::ClickGeometry); break;
        case 5: send(number(EventKind::MoveCoarse, in.range(-5, 110))); break;
        case 6: send(number(EventKind::MoveFine, in.range(-5, 1010))); break;
        case 7: send(Event(EventKind::OtherGas, formatRoundTrip(1 + in.unit()))); break;
        case 8: send(number(EventKind::ThirdPlot, in.byte() % 3)); break;
        case 9: send(EventKind::Play); break;
        case 10: send(EventKind::Reverse); break;
        case 11:
            now += 3 * in.unit();
            send(EventKind::Tick);
            break;
        case 12: send(in.byte() % 2 ? EventKind::Faster : EventKind::Slower); break;
        case 13: send(number(EventKind::PauseAtLimits, in.byte() % 2)); break;
        case 14: {
            // Over a plot 377 pixels wide, and a little beyond its edges.
            Event e(EventKind::Hover, -100 + 600 * in.unit());
            e.plot = in.byte() % 3;
            e.width = 377;
            send(e);
            break;
        }
        case 15: send(EventKind::Leave); break;
        case 16: {
            // A scenario's address, its texts as typed (some not a number).
            const InputTexts texts{in.text(0.5, 120), in.text(-2, 5), in.text(-0.1, 1.1)};
            send(Event(EventKind::OpenAddress,
                       addressOf(texts, "air", kAirK, PlotQuantity::Pressure)));
            break;
        }
        case 17: {
            // An engine box: a number with one of its units (or none, or
            // another quantity's), or raw bytes.
            static constexpr const char* units[] = {"",     " MPa", "psi", " K",  " R",     " cm2",
                                                    " in2", " cm",  " km", " ft", " g/mol", " m/s"};
            const int field = in.byte() % kEngineFieldCount;
            event +=
                ":" + (in.byte() % 2 ? in.text(-1, 1e5) + units[in.byte() % 12] : in.text(0, 300));
            Event e(EventKind::EditEngine, event.substr(event.find(':') + 1));
            e.number = field;
            send(e);
            break;
        }
        case 18: send(number(EventKind::Units, in.byte() % 2)); break;
        case 19: send(number(EventKind::MoveAltitude, in.range(-5, 1200))); break;
        case 20: send(Event(EventKind::Export, "thrust")); break;
        default: {
            // The flow in time: the mode, a step, back to rest.
            const int which = in.byte() % 3;
            if (which == 0) send(number(EventKind::Mode, in.byte() % 2));
            if (which == 1) send(EventKind::TimeStep);
            if (which == 2) send(EventKind::TimeRestart);
            break;
        }
        }
        if (failure.empty()) {
            if (auto bad = check(logic)) failure = *bad;
        }
        if (!failure.empty())
            return "event " + std::to_string(events) + " (" + event + "): " + failure;
    }
    return std::nullopt;
}

} // namespace cdnozzle
