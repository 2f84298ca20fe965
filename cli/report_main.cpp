// cdnozzle-report: the window's calculation from the command line.
#include "plot_render.h"
#include "report_output.h"
#include "station_data.h"

#include <CLI/CLI.hpp>
#include <QGuiApplication>

#include <iostream>

namespace {

// Writes the figures and the table asked for; false after telling why on
// stderr when one could not be written.
bool writeFiles(const cdnozzle::NozzleModel& model, const std::string& png, const std::string& svg,
                const std::string& csv)
{
    bool ok = true;
    auto report = [&](const std::string& path, const std::optional<QString>& failure) {
        if (!failure) return;
        std::cerr << "could not save " << path << ": " << failure->toStdString() << '\n';
        ok = false;
    };
    if (!png.empty() || !svg.empty()) {
        // Qt's own chatter about the session (runtime directory, fonts) is
        // no concern of this command, which reports its failures itself.
        qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext&, const QString& message) {
                if (type == QtCriticalMsg || type == QtFatalMsg)
                    std::cerr << message.toStdString() << '\n';
            });
        // Rendering needs no display: Qt's offscreen platform does it.
        static int argc = 3;
        static char arg0[] = "cdnozzle-report", arg1[] = "-platform", arg2[] = "offscreen";
        static char* argv[] = {arg0, arg1, arg2, nullptr};
        QGuiApplication app(argc, argv);
        const cdnozzle::Figure figure =
            cdnozzle::windowFigure(model.geometryScene(), model.machScene(), model.pressureScene());
        if (!png.empty()) report(png, cdnozzle::saveFigure(QString::fromStdString(png), figure));
        if (!svg.empty()) report(svg, cdnozzle::saveFigure(QString::fromStdString(svg), figure));
    }
    if (!csv.empty()) {
        report(csv,
               cdnozzle::saveBytes(QString::fromStdString(csv),
                                   QByteArray::fromStdString(cdnozzle::stationCsv(model.state()))));
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    cdnozzle::InputTexts texts;
    bool json = false;
    std::string png, svg, csv;

    CLI::App app{"Steady quasi-one-dimensional flow through a convergent-divergent nozzle "
                 "(k = 1.4): the report, the regime and the station table for one set of inputs."};
    app.set_version_flag("--version", std::string("cdnozzle-report ") + CDNOZZLE_VERSION);
    app.add_option("--me-sup", texts.me_sup, "design exit Mach number, as typed into \"Me_Sup =\"")
        ->capture_default_str();
    app.add_option("--amax", texts.amax,
                   "half-height of the geometry plot, as typed into \"Amax/At =\"")
        ->capture_default_str();
    app.add_option("--pe-po", texts.pe_po, "back-pressure ratio, as typed into \"Pe/Po =\"")
        ->capture_default_str();
    app.add_flag("--json", json, "write one JSON object instead of text");
    app.add_option("--png", png,
                   "also save the three plots, stacked as in the window, as a PNG image");
    app.add_option("--svg", svg, "also save the three plots as an SVG image");
    app.add_option("--csv", csv, "also save the station table (i, x, y, AA, M, PiPo) as CSV");
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
    return writeFiles(model, png, svg, csv) ? 0 : 1;
}
