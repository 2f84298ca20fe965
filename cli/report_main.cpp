// cdnozzle-report: the window's calculation from the command line.
#include "report_output.h"

#include <CLI/CLI.hpp>

#include <iostream>

int main(int argc, char** argv)
{
    cdnozzle::InputTexts texts;
    bool json = false;

    CLI::App app{"Steady quasi-one-dimensional flow through a convergent-divergent nozzle "
                 "(k = 1.4): the report, the regime and the station table for one set of inputs."};
    app.set_version_flag("--version", std::string("cdnozzle-report ") + CDNOZZLE_VERSION);
    app.add_option("--me-sup", texts.me_sup, "design exit Mach number, as typed into \"Me_Sup =\"")
        ->capture_default_str();
    app.add_option("--amax", texts.amax, "half-height of the geometry plot, as typed into \"Amax/At =\"")
        ->capture_default_str();
    app.add_option("--pe-po", texts.pe_po, "back-pressure ratio, as typed into \"Pe/Po =\"")
        ->capture_default_str();
    app.add_flag("--json", json, "write one JSON object instead of text");
    CLI11_PARSE(app, argc, argv);

    cdnozzle::NozzleModel model(texts);
    std::vector<std::string> messages;
    const auto refusal = model.calculate(texts, [&](const std::string& message) {
        std::cerr << message << '\n';
        messages.push_back(message);
    });
    if (refusal) {
        std::cerr << *refusal << '\n';
        return 2;
    }
    if (json) {
        std::cout << cdnozzle::reportJson(model, messages).dump(2) << '\n';
    } else {
        cdnozzle::writePlainReport(std::cout, model);
    }
    return 0;
}
