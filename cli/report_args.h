// The report command's arguments: long options only, each value given as
// "--name value" or "--name=value". "--name=" gives the empty text (for a
// box, what an empty box means). A value is never taken from an argument
// that is itself an option, and every option may be given once.
#pragma once

#include "flow_state.h"

#include <optional>
#include <string>
#include <vector>

namespace cdnozzle {

struct ReportArgs {
    InputTexts texts;
    bool json = false;
    bool help = false;
    bool version = false;
    // Output files; "-" is standard output.
    std::optional<std::string> png, svg, csv;
};

struct ParsedArgs {
    ReportArgs args;
    std::string error; // empty when the arguments were understood
};

// argv without the program name.
ParsedArgs parseReportArgs(const std::vector<std::string>& argv);

// What --help prints.
std::string reportUsage();

} // namespace cdnozzle
