// SPDX-License-Identifier: MIT
#include "report_args.h"

#include "io/file_output.h"
#include "report_output.h"
#include "text/number_text.h"
#include "text/units.h"
#include "text/validation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string_view>
#include <tuple>
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
    OptionSpec{"--gas", Kind::Value,
               "a listed gas by name instead of --k: air, helium, argon, carbon dioxide, "
               "steam, hot combustion gas"},
    OptionSpec{"--area-ratio", Kind::Value,
               "exit area over throat area Ae/At; sets Me_Sup to its supersonic Mach number"},
    OptionSpec{"--p0", Kind::Value, "chamber pressure of an engine (7MPa, 1015psi, 70bar)"},
    OptionSpec{"--t0", Kind::Value, "chamber temperature (3500K, 6300R)"},
    OptionSpec{"--throat-area", Kind::Value, "throat area (300cm2, 46.5in2)"},
    OptionSpec{"--throat-diameter", Kind::Value, "or the throat's diameter (19.5cm, 7.7in)"},
    OptionSpec{"--molar-mass", Kind::Value,
               "molar mass of the gas, g/mol (a listed gas has its own; hot combustion gas 22)"},
    OptionSpec{"--altitude", Kind::Value,
               "the back pressure from the 1976 standard atmosphere, 0 to 86 km (20km, 65000ft)"},
    OptionSpec{"--units", Kind::Value,
               "si or us: the units of numbers without one, and of results"},
    OptionSpec{"--altitude-table", Kind::Value,
               "thrust from altitude FROM to TO in steps of STEP (km; ft with --units us), as CSV"},
    OptionSpec{"--json", Kind::Flag, "write one JSON object instead of text"},
    OptionSpec{"--explain", Kind::Flag, "add a short explanation of the flow for students"},
    OptionSpec{"--png", Kind::File, "save the three plots, stacked as in the window, as PNG"},
    OptionSpec{"--svg", Kind::File, "save the three plots as SVG"},
    OptionSpec{"--csv", Kind::File, "save the station table as CSV"},
    OptionSpec{"--plot", Kind::Value,
               "what the third plot of --png, --svg and --frames shows: p (p/p0), T (T/T0), "
               "rho (rho/rho0), or thrust (an engine's thrust and I_sp over altitude; not with "
               "--frames)"},
    OptionSpec{"--sweep", Kind::Value,
               "sweep Pe/Po, a PNG of the three plots per step (with --frames alone)"},
    OptionSpec{"--frames", Kind::Value,
               "the folder for the sweep's numbered frames, new or without frames"},
    OptionSpec{"--help", Kind::Flag, "print this help and exit"},
    OptionSpec{"--version", Kind::Flag, "print the version and exit"},
};

std::string_view valueName(std::string_view option)
{
    if (option == "--sweep" || option == "--altitude-table") return "FROM:TO:STEP";
    if (option == "--k") return "K";
    if (option == "--frames") return "FOLDER";
    if (option == "--gas") return "NAME";
    if (option == "--units") return "si|us";
    if (option == "--plot") return "p|T|rho|thrust";
    if (option == "--area-ratio") return "RATIO";
    if (option == "--p0" || option == "--t0" || option == "--molar-mass") return "VALUE";
    if (option == "--altitude") return "HEIGHT";
    return option == "--throat-area" ? "AREA" : "LENGTH";
}

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
    if (name == "--gas") return {nullptr, &a.gas};
    if (name == "--area-ratio") return {nullptr, &a.areaRatio};
    if (name == "--p0") return {nullptr, &a.p0};
    if (name == "--t0") return {nullptr, &a.t0};
    if (name == "--throat-area") return {nullptr, &a.throatArea};
    if (name == "--throat-diameter") return {nullptr, &a.throatDiameter};
    if (name == "--molar-mass") return {nullptr, &a.molarMass};
    if (name == "--altitude") return {nullptr, &a.altitude};
    if (name == "--units") return {nullptr, &a.units};
    if (name == "--plot") return {nullptr, &a.plot};
    if (name == "--altitude-table") return {nullptr, &a.altitudeTable};
    if (name == "--json") return {nullptr, nullptr, &a.json};
    if (name == "--explain") return {nullptr, nullptr, &a.explain};
    if (name == "--help") return {nullptr, nullptr, &a.help};
    return {nullptr, nullptr, &a.version};
}

// The decimal places a number text (as readStrictNumber takes it) carries:
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

namespace {

bool find(const std::vector<std::string_view>& seen, std::string_view name)
{
    return std::find(seen.begin(), seen.end(), name) != seen.end();
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
    // Two outputs under one name would leave only the second.
    const std::pair<const std::optional<std::string>*, const char*> files[] = {
        {&out.args.png, "--png"}, {&out.args.svg, "--svg"}, {&out.args.csv, "--csv"}};
    for (std::size_t i = 0; i < std::size(files); ++i) {
        for (std::size_t j = i + 1; j < std::size(files); ++j) {
            const auto& [one, oneName] = files[i];
            const auto& [other, otherName] = files[j];
            if (out.error.empty() && *one && *other && sameOutputFile(**one, **other))
                out.error = std::string(oneName) + " and " + otherName + " name the same file " +
                            **one + "; give each its own";
        }
    }
    if (out.args.sweep.has_value() != out.args.frames.has_value())
        out.error = "--sweep and --frames go together";
    if (out.args.frames == "-") out.error = "--frames needs a folder, not standard output";
    const ReportArgs& a = out.args;
    if (out.error.empty() && a.plot && !a.png && !a.svg && !a.frames)
        out.error = "--plot chooses the third plot of --png, --svg or --frames; give one of them";
    // Standard output carries that file alone: the report is not written.
    const char* const toStdoutName = a.png == "-"   ? "--png -"
                                     : a.svg == "-" ? "--svg -"
                                     : a.csv == "-" ? "--csv -"
                                                    : nullptr;
    for (const auto& [given, name] : {std::pair{a.json, "--json"}, {a.explain, "--explain"}}) {
        if (out.error.empty() && toStdoutName && given)
            out.error = std::string(name) + " cannot go with " + toStdoutName +
                        ", which writes that file alone to standard output";
    }
    // Each of these writes one thing alone.
    const std::pair<bool, const char*> alone[] = {
        {a.sweep.has_value(), "--sweep"}, {a.altitudeTable.has_value(), "--altitude-table"}};
    for (const auto& [single, what] : alone) {
        if (!out.error.empty() || !single) continue;
        // The frames show the nozzle alone: an engine would change nothing.
        const bool sweep = std::string_view(what) == "--sweep";
        const std::pair<bool, const char*> others[] = {
            {a.png.has_value(), "--png"},
            {a.svg.has_value(), "--svg"},
            {a.csv.has_value(), "--csv"},
            {a.json, "--json"},
            {a.explain, "--explain"},
            {a.sweep.has_value(), "--sweep"},
            {a.altitude.has_value(), "--altitude"},
            {find(seen, "--pe-po"), "--pe-po"},
            {sweep && a.p0.has_value(), "--p0"},
            {sweep && a.t0.has_value(), "--t0"},
            {sweep && a.throatArea.has_value(), "--throat-area"},
            {sweep && a.throatDiameter.has_value(), "--throat-diameter"},
            {sweep && a.molarMass.has_value(), "--molar-mass"}};
        for (const auto& [given, name] : others) {
            if (!given || std::string_view(name) == what) continue;
            const char* const does =
                std::string_view(name) == "--pe-po"
                    ? (sweep ? "sets Pe/Po itself" : "takes the back pressure from each altitude")
                    : (sweep ? "writes frames only" : "writes the table only");
            out.error = std::string(name) + " cannot go with " + what + ", which " + does;
            break;
        }
    }
    // Two ways of giving one thing.
    const std::tuple<bool, bool, const char*> twice[] = {
        {a.gas.has_value(), a.k.has_value(), "give the gas by --gas or by --k, not both"},
        {a.throatArea.has_value(), a.throatDiameter.has_value(),
         "give the throat by --throat-area or by --throat-diameter, not both"},
        {a.altitude.has_value(), find(seen, "--pe-po"),
         "give the back pressure by --pe-po or by --altitude, not both"},
        {a.areaRatio.has_value(), find(seen, "--me-sup"),
         "give the design by --me-sup or by --area-ratio, not both"}};
    for (const auto& [one, other, why] : twice) {
        if (out.error.empty() && one && other) out.error = why;
    }
    return out;
}

double gasK(const ReportArgs& args, std::string& refusal)
{
    refusal.clear();
    if (!args.k) return kAirK;
    // The rendering's Qt application has switched the process to the user's
    // locale by now: the number is read by the core's rule, "." as the point.
    const std::optional<double> k = readStrictNumber(*args.k);
    if (const auto r = validateGasK(k.value_or(std::nan("")), *args.k)) {
        refusal = *r;
        return kAirK;
    }
    return *k;
}

namespace {

// A value of the setup, or the refusal that stops it.
template <class T>
bool take(const std::variant<T, std::string>& read, T& value, std::string& refusal)
{
    if (const auto* why = std::get_if<std::string>(&read)) {
        refusal = *why;
        return false;
    }
    value = std::get<T>(read);
    return true;
}

constexpr const char* kEngineOptions = "--p0, --t0 and --throat-area (or --throat-diameter)";

} // namespace

std::variant<ReportSetup, std::string> reportSetup(const ReportArgs& args)
{
    ReportSetup setup;
    setup.texts = args.texts;
    std::string refusal;
    if (args.units) {
        const auto units = unitSystemNamed(*args.units);
        if (!units) return "--units takes si or us (got \"" + *args.units + "\")";
        setup.units = *units;
    }
    if (args.gas) {
        if (auto why = validateGasName(*args.gas)) return *why;
        setup.gasName = *args.gas;
        setup.k = findGas(*args.gas)->k;
    } else {
        setup.k = gasK(args, refusal);
        if (!refusal.empty()) return refusal;
        setup.gasName = gasNameFor(setup.k);
    }
    if (args.areaRatio) {
        double me = 0;
        if (!take(designMachOfAreaRatio(*args.areaRatio, setup.k), me, refusal)) return refusal;
        setup.texts.me_sup = formatRoundTrip(me);
    }

    const bool anyEngine =
        args.p0 || args.t0 || args.throatArea || args.throatDiameter || args.molarMass;
    if (anyEngine) {
        std::string missing;
        if (!args.p0) missing += " --p0";
        if (!args.t0) missing += " --t0";
        if (!args.throatArea && !args.throatDiameter) missing += " --throat-area";
        if (!missing.empty())
            return std::string("an engine needs ") + kEngineOptions + " (missing" + missing + ")";
        Engine engine;
        if (!take(readQuantity(kChamberPressureField, *args.p0, setup.units), engine.p0, refusal) ||
            !take(readQuantity(kChamberTemperatureField, *args.t0, setup.units), engine.T0,
                  refusal))
            return refusal;
        const auto throat =
            args.throatArea ? readQuantity(kThroatAreaField, *args.throatArea, setup.units)
                            : readQuantity(kThroatDiameterField, *args.throatDiameter, setup.units);
        if (!take(throat, engine.At, refusal)) return refusal;
        if (args.throatDiameter) engine.At = std::numbers::pi * engine.At * engine.At / 4;
        if (args.molarMass) {
            if (!take(readQuantity(kMolarMassField, *args.molarMass, setup.units), engine.molarMass,
                      refusal))
                return refusal;
        } else if (const NamedGas* listed = findGas(setup.gasName)) {
            engine.molarMass = listed->molarMass / 1000;
        } else {
            return "--molar-mass is needed for a " + setup.gasName + " (a listed gas has its own)";
        }
        setup.engine = engine;
    }
    // Units are those of an engine's numbers and figures.
    for (const auto& [given, name] : {std::pair{args.altitude.has_value(), "--altitude"},
                                      std::pair{args.altitudeTable.has_value(), "--altitude-table"},
                                      std::pair{args.units.has_value(), "--units"}}) {
        if (given && !setup.engine)
            return std::string(name) + " needs an engine: " + kEngineOptions;
    }
    if (args.plot) {
        const auto third = quantityNamed(*args.plot);
        if (!third) return "--plot takes p, T, rho or thrust (got \"" + *args.plot + "\")";
        if (*third == PlotQuantity::Thrust && !setup.engine)
            return std::string("--plot thrust needs an engine: ") + kEngineOptions;
        if (*third == PlotQuantity::Thrust && args.frames)
            return "--plot thrust cannot go with --frames, whose frames show the nozzle alone";
        setup.third = *third;
    }
    if (args.altitude) {
        double altitude = 0;
        if (!take(readQuantity(kAltitudeField, *args.altitude, setup.units), altitude, refusal))
            return refusal;
        setup.altitude = altitude;
        setup.texts.pe_po = formatRoundTrip(backPressureRatioAt(*setup.engine, altitude));
    }
    if (args.altitudeTable) {
        std::string error;
        const auto values = sweepValues(*args.altitudeTable, error, "--altitude-table");
        if (!error.empty()) return error;
        const Unit& unit = defaultUnit(Quantity::Altitude, setup.units);
        for (const std::string& value : values) {
            const std::string typed = value + " " + std::string(unit.symbol);
            double altitude = 0;
            if (!take(readQuantity(kAltitudeField, typed, setup.units), altitude, refusal))
                return "--altitude-table: " + refusal;
            setup.tableAltitudes.push_back(altitude);
        }
    }
    return setup;
}

std::vector<std::string> sweepValues(const std::string& text, std::string& error,
                                     std::string_view option)
{
    const std::string name(option);
    error.clear();
    double v[3];
    std::string parts[3];
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t colon = i < 2 ? text.find(':', start) : text.size();
        std::string& part = parts[i];
        if (colon != std::string::npos) part = text.substr(start, colon - start);
        const std::optional<double> value = readStrictNumber(part);
        v[i] = value.value_or(0);
        if (!value || !std::isfinite(v[i])) {
            error = name + " takes FROM:TO:STEP, three numbers (got \"" + text + "\")";
            return {};
        }
        start = colon + 1;
    }
    const double from = v[0], to = v[1], step = v[2];
    if (!(step > 0)) {
        error = name + " needs a STEP above 0 (got \"" + text + "\")";
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
        error = name + " would make more than " + std::to_string(kMaxFrames) +
                (option == "--sweep" ? " frames" : " rows");
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
    // The help beside its name (under it when the name is long), wrapped at
    // 79 columns under itself.
    auto line = [](std::string left, std::string_view help, std::size_t width) {
        if (left.size() + 2 > width)
            left += "\n";
        else
            left.resize(width, ' ');
        const std::size_t indent = width;
        std::string out = left.back() == '\n' ? left + std::string(width, ' ') : left;
        std::size_t column = indent;
        while (!help.empty()) {
            const std::size_t space = help.find(' ');
            const std::string_view word = help.substr(0, space);
            if (column > indent && column + 1 + word.size() > 79) {
                out += "\n" + std::string(indent, ' ');
                column = indent;
            } else if (column > indent) {
                out += ' ';
                ++column;
            }
            out += word;
            column += word.size();
            help.remove_prefix(space == std::string_view::npos ? help.size() : space + 1);
        }
        return out + "\n";
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
        if (o.kind == Kind::Value) left += " " + std::string(valueName(o.name));
        text += line(left, o.help, 24);
    }
    text += line("  --unsteady",
                 "the flow in time instead, from rest to steady; cdnozzle-report --unsteady "
                 "--help lists its own options",
                 24);
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
