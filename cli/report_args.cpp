#include "report_args.h"

#include "report_output.h"
#include "text/number_text.h"
#include "text/validation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <utility>

namespace cdnozzle {

namespace {

enum class Kind { Text, File, Value, Flag };

struct OptionSpec {
    std::string_view name;
    Kind kind;
    std::string_view help;
};

constexpr std::array kOptions{
    OptionSpec{"--me-sup", Kind::Text, "design exit Mach number, as typed into \"Me_Sup =\" (2)"},
    OptionSpec{"--amax", Kind::Text,
               "half-height of the geometry plot, as typed into \"Amax/At =\" (3)"},
    OptionSpec{"--pe-po", Kind::Text, "back-pressure ratio, as typed into \"Pe/Po =\" (1)"},
    OptionSpec{"--k", Kind::Value,
               "ratio of specific heats of the gas, 1.05 to 1.7 (1.4, air; helium 1.6667)"},
    OptionSpec{"--json", Kind::Flag, "write one JSON object instead of text"},
    OptionSpec{"--explain", Kind::Flag, "add a short explanation of the flow for students"},
    OptionSpec{"--png", Kind::File, "save the three plots, stacked as in the window, as PNG"},
    OptionSpec{"--svg", Kind::File, "save the three plots as SVG"},
    OptionSpec{"--csv", Kind::File, "save the station table as CSV"},
    OptionSpec{"--sweep", Kind::Value,
               "sweep Pe/Po, a PNG of the three plots per step (with --frames alone)"},
    OptionSpec{"--frames", Kind::Value,
               "the folder for the sweep's numbered frames, new or without frames"},
    OptionSpec{"--help", Kind::Flag, "print this help and exit"},
    OptionSpec{"--version", Kind::Flag, "print the version and exit"},
};

const OptionSpec* findOption(std::string_view name)
{
    if (name == "-h") name = "--help";
    for (const OptionSpec& o : kOptions) {
        if (o.name == name) return &o;
    }
    return nullptr;
}

const char* missingValue(Kind kind)
{
    switch (kind) {
    case Kind::Text: return " needs a value (--name= for an empty box)";
    case Kind::File: return " needs a file name (- for standard output)";
    default: return " needs a value";
    }
}

bool looksLikeOption(std::string_view arg)
{
    return arg.starts_with("--") || findOption(arg) != nullptr;
}

// Where a parsed value goes.
struct Slot {
    std::string* text = nullptr;
    std::optional<std::string>* file = nullptr;
    bool* flag = nullptr;
};

Slot slotFor(ReportArgs& a, std::string_view name)
{
    if (name == "--me-sup") return {&a.texts.me_sup};
    if (name == "--amax") return {&a.texts.amax};
    if (name == "--pe-po") return {&a.texts.pe_po};
    if (name == "--png") return {nullptr, &a.png};
    if (name == "--svg") return {nullptr, &a.svg};
    if (name == "--csv") return {nullptr, &a.csv};
    if (name == "--sweep") return {nullptr, &a.sweep};
    if (name == "--k") return {nullptr, &a.k};
    if (name == "--frames") return {nullptr, &a.frames};
    if (name == "--json") return {nullptr, nullptr, &a.json};
    if (name == "--explain") return {nullptr, nullptr, &a.explain};
    if (name == "--help") return {nullptr, nullptr, &a.help};
    return {nullptr, nullptr, &a.version};
}

// The decimal places a number text (as readWholeNumber takes it) carries:
// "0.0001" and "1e-4" 4, "2.5E1" and "25" 0.
int decimalPlaces(const std::string& text)
{
    const std::size_t e = std::min(text.find_first_of("EeDd"), text.size());
    const std::size_t point = text.find('.');
    long places = point < e ? static_cast<long>(e - point - 1) : 0;
    if (e < text.size())
        places -= std::clamp(std::strtol(text.c_str() + e + 1, nullptr, 10), -1000L, 1000L);
    return static_cast<int>(std::clamp(places, 0L, 1000L));
}

} // namespace

ParsedArgs parseReportArgs(const std::vector<std::string>& argv)
{
    ParsedArgs out;
    std::vector<std::string_view> seen;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        const std::size_t eq = arg.starts_with("--") ? arg.find('=') : std::string::npos;
        const std::string_view name = std::string_view(arg).substr(0, eq);
        const OptionSpec* option = findOption(name);
        if (!option) {
            out.error = looksLikeOption(arg) || arg.starts_with("-")
                            ? "unknown option " + std::string(name)
                            : "unexpected argument \"" + arg + "\" (options start with --)";
            return out;
        }
        if (std::find(seen.begin(), seen.end(), option->name) != seen.end()) {
            out.error = std::string(option->name) + " is given more than once";
            return out;
        }
        seen.push_back(option->name);
        const Slot slot = slotFor(out.args, option->name);
        if (option->kind == Kind::Flag) {
            if (eq != std::string::npos) {
                out.error = std::string(option->name) + " takes no value";
                return out;
            }
            *slot.flag = true;
            continue;
        }
        std::string value;
        if (eq != std::string::npos) {
            value = arg.substr(eq + 1);
        } else if (i + 1 < argv.size() && !looksLikeOption(argv[i + 1])) {
            value = argv[++i];
        } else {
            out.error = std::string(option->name) + missingValue(option->kind);
            return out;
        }
        if (option->kind == Kind::File || option->kind == Kind::Value) {
            if (value.empty()) {
                out.error = std::string(option->name) + missingValue(option->kind);
                return out;
            }
            *slot.file = std::move(value);
        } else {
            *slot.text = std::move(value);
        }
    }
    const int toStdout = (out.args.png == "-") + (out.args.svg == "-") + (out.args.csv == "-");
    if (toStdout > 1) out.error = "only one of --png, --svg and --csv can write to standard output";
    if (out.args.sweep.has_value() != out.args.frames.has_value())
        out.error = "--sweep and --frames go together";
    if (out.args.frames == "-") out.error = "--frames needs a folder, not standard output";
    if (out.error.empty() && out.args.sweep) {
        const std::pair<bool, const char*> others[] = {{out.args.png.has_value(), "--png"},
                                                       {out.args.svg.has_value(), "--svg"},
                                                       {out.args.csv.has_value(), "--csv"},
                                                       {out.args.json, "--json"},
                                                       {out.args.explain, "--explain"}};
        for (const auto& [given, name] : others) {
            if (!given) continue;
            out.error = std::string(name) + " cannot go with --sweep, which writes frames only";
            break;
        }
    }
    return out;
}

double gasK(const ReportArgs& args, std::string& refusal)
{
    refusal.clear();
    if (!args.k) return kAirK;
    // The rendering's Qt application has switched the process to the user's
    // locale by now: the number is read by the core's rule, "." as the point.
    const std::optional<double> k = readWholeNumber(*args.k);
    if (const auto r = validateGasK(k.value_or(std::nan("")), *args.k)) {
        refusal = *r;
        return kAirK;
    }
    return *k;
}

std::vector<std::string> sweepValues(const std::string& text, std::string& error)
{
    error.clear();
    double v[3];
    std::string parts[3];
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t colon = i < 2 ? text.find(':', start) : text.size();
        std::string& part = parts[i];
        if (colon != std::string::npos) part = text.substr(start, colon - start);
        const std::optional<double> value = readWholeNumber(part);
        v[i] = value.value_or(0);
        if (!value || !std::isfinite(v[i])) {
            error = "--sweep takes FROM:TO:STEP, three numbers (got \"" + text + "\")";
            return {};
        }
        start = colon + 1;
    }
    const double from = v[0], to = v[1], step = v[2];
    if (!(step > 0)) {
        error = "--sweep needs a STEP above 0 (got \"" + text + "\")";
        return {};
    }
    // Counted in units of the last decimal place the three texts carry, the
    // values are the decimals a person expects: 0.001 - 9 * 0.0001 is
    // 0.0001, not 9.99999999999999E-05. Each is a whole number of units
    // divided by an exact power of ten, so it is the double nearest that
    // decimal. Texts too fine for whole units in a double take steps as
    // they are.
    const int decimals =
        std::max({decimalPlaces(parts[0]), decimalPlaces(parts[1]), decimalPlaces(parts[2])});
    const double scale = std::pow(10.0, decimals);
    const double f = std::round(from * scale), t = std::round(to * scale),
                 s = std::round(step * scale);
    constexpr double kWholeLimit = 9007199254740992.0; // 2^53
    const bool units =
        decimals <= 22 && s >= 1 && std::max(std::fabs(f), std::fabs(t)) + s < kWholeLimit;
    const double count = units ? std::floor(std::fabs(t - f) / s) + 1
                               : std::floor(std::fabs(to - from) / step * (1 + 1e-12)) + 1;
    if (count > kMaxFrames) {
        error = "--sweep would make more than " + std::to_string(kMaxFrames) + " frames";
        return {};
    }
    std::vector<std::string> values;
    const double direction = to < from ? -1 : 1;
    for (int i = 0; i < static_cast<int>(count); ++i) {
        values.push_back(
            formatGeneral(units ? (f + direction * i * s) / scale : from + direction * i * step));
    }
    return values;
}

std::string reportUsage()
{
    auto line = [](std::string left, std::string_view help, std::size_t width) {
        left.resize(std::max(left.size() + 2, width), ' ');
        return left + std::string(help) + "\n";
    };
    std::string text =
        "Usage: cdnozzle-report [OPTIONS]\n"
        "Steady quasi-one-dimensional flow of a perfect gas through a convergent-divergent\n"
        "nozzle (k from --k; 1.4, air, without it): the report, the regime and the station\n"
        "table for one set of inputs.\n\n"
        "Options (a value as --name VALUE or --name=VALUE; --name= is an empty text;\n"
        "a file name of - is standard output, which then carries that file alone):\n";
    for (const OptionSpec& o : kOptions) {
        std::string left = "  " + std::string(o.name);
        if (o.kind == Kind::Text) left += " TEXT";
        if (o.kind == Kind::File) left += " FILE";
        if (o.kind == Kind::Value)
            left += o.name == "--sweep" ? " FROM:TO:STEP" : o.name == "--k" ? " K" : " FOLDER";
        text += line(left, o.help, 20);
    }
    text += "\nThe station table (the text report, --csv and the JSON \"stations\"), one row\n"
            "per station:\n";
    for (const StationColumn& column : kStationColumns)
        text += line("  " + std::string(column.name), column.meaning, 14);
    text += "\nThe keys of the --json object:\n";
    for (const OutputField& key : kReportJsonKeys)
        text += line("  " + std::string(key.name), key.meaning, 16);
    text += "\nExit status: 0 done, 1 a file or the output could not be written,\n"
            "2 the arguments or an input were refused.\n";
    return text;
}

} // namespace cdnozzle
