#include "report_args.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace cdnozzle {

namespace {

enum class Kind { Text, File, Flag };

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
    OptionSpec{"--json", Kind::Flag, "write one JSON object instead of text"},
    OptionSpec{"--png", Kind::File, "save the three plots, stacked as in the window, as PNG"},
    OptionSpec{"--svg", Kind::File, "save the three plots as SVG"},
    OptionSpec{"--csv", Kind::File, "save the station table (i, x, y, AA, M, PiPo) as CSV"},
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
    if (name == "--json") return {nullptr, nullptr, &a.json};
    if (name == "--help") return {nullptr, nullptr, &a.help};
    return {nullptr, nullptr, &a.version};
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
            out.error = std::string(option->name) + (option->kind == Kind::Text
                                                         ? " needs a value (--name= for an empty box)"
                                                         : " needs a file name (- for standard output)");
            return out;
        }
        if (option->kind == Kind::File) {
            if (value.empty()) {
                out.error = std::string(option->name) + " needs a file name (- for standard output)";
                return out;
            }
            *slot.file = std::move(value);
        } else {
            *slot.text = std::move(value);
        }
    }
    const int toStdout = (out.args.png == "-") + (out.args.svg == "-") + (out.args.csv == "-");
    if (toStdout > 1) out.error = "only one of --png, --svg and --csv can write to standard output";
    return out;
}

std::string reportUsage()
{
    std::string text =
        "Usage: cdnozzle-report [OPTIONS]\n"
        "Steady quasi-one-dimensional flow through a convergent-divergent nozzle (k = 1.4):\n"
        "the report, the regime and the station table for one set of inputs.\n\n"
        "Options (a value as --name VALUE or --name=VALUE; --name= is an empty text;\n"
        "a file name of - is standard output, which then carries that file alone):\n";
    for (const OptionSpec& o : kOptions) {
        std::string left = "  " + std::string(o.name);
        if (o.kind == Kind::Text) left += " TEXT";
        if (o.kind == Kind::File) left += " FILE";
        left.resize(std::max<std::size_t>(left.size() + 2, 20), ' ');
        text += left + std::string(o.help) + "\n";
    }
    text += "\nExit status: 0 done, 1 a file or the output could not be written,\n"
            "2 the arguments or an input were refused.\n";
    return text;
}

} // namespace cdnozzle
