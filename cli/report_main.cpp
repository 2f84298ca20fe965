// SPDX-License-Identifier: MIT
// cdnozzle-report: the window's calculation from the command line.
#include "frames_folder.h"
#include "io/file_output.h"
#include "model/thrust_curve.h"
#include "plot_render.h"
#include "report_args.h"
#include "report_output.h"
#include "results/explanation.h"
#include "results/station_data.h"
#include "text/validation.h"
#include "unsteady_report.h"

#include <QGuiApplication>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace {

constexpr int kWriteFailed = 1;
constexpr int kRefused = 2;

// Standard output is checked to the last byte: a full disk or a closed
// stream is a failure, not a success with nothing written.
bool writeStdout(const std::string& text)
{
    if (const auto failure = cdnozzle::writeAll(STDOUT_FILENO, text)) {
        std::cerr << "cdnozzle-report: could not write to standard output: " << *failure << '\n';
        return false;
    }
    return true;
}

// Qt's own chatter about the session (runtime directory, fonts) is no
// concern of this command, which reports its failures itself.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << '\n';
}

// The three plots as the window stacks them.
cdnozzle::DisplayList figureOf(const cdnozzle::NozzleModel& model)
{
    return cdnozzle::exportedFigure(model.geometryScene(), model.machScene(), model.thirdScene(),
                                    cdnozzle::quantityCaption(model.thirdPlot()));
}

// Writes one output file ("-": standard output); false after saying why.
bool writeOutput(const std::string& path, const std::string& bytes)
{
    if (path == "-") return writeStdout(bytes);
    if (const auto failure = cdnozzle::saveFile(path, bytes)) {
        std::cerr << "cdnozzle-report: could not save " << path << ": " << *failure << '\n';
        return false;
    }
    return true;
}

bool writeFiles(const cdnozzle::NozzleModel& model, const cdnozzle::ReportArgs& args,
                const cdnozzle::EngineReport* engine)
{
    bool ok = true;
    auto image = [&](const std::optional<std::string>& path, cdnozzle::ImageFormat format) {
        if (!path) return;
        const QByteArray bytes = cdnozzle::imageBytes(figureOf(model), format);
        ok = writeOutput(*path, bytes.toStdString()) && ok;
    };
    image(args.png, cdnozzle::ImageFormat::Png);
    image(args.svg, cdnozzle::ImageFormat::Svg);
    if (args.csv) {
        const std::string csv =
            engine ? cdnozzle::engineStationCsv(engine->engine, model.state(), engine->units)
                   : cdnozzle::stationCsv(model.state());
        ok = writeOutput(*args.csv, csv) && ok;
    }
    return ok;
}

// One PNG of the three plots per back pressure of the sweep, numbered so
// that video tools take them in order, into a folder without frames; a line
// per frame written on standard output, also when a later frame fails.
int writeSweep(const cdnozzle::ReportArgs& args, const cdnozzle::InputTexts& texts, double k,
               cdnozzle::PlotQuantity third)
{
    std::string error;
    const std::vector<std::string> values = cdnozzle::sweepValues(*args.sweep, error);
    if (!error.empty()) {
        std::cerr << "cdnozzle-report: " << error << '\n';
        return kRefused;
    }
    for (const std::string& pepo : values) {
        if (const auto refusal = cdnozzle::validateInputs({texts.me_sup, texts.amax, pepo})) {
            std::cerr << *refusal << '\n';
            return kRefused;
        }
    }
    if (const int status = cdnozzle::prepareFramesFolder(*args.frames)) return status;
    cdnozzle::NozzleModel model(texts, k);
    model.setThirdPlot(third);
    std::string listing;
    for (std::size_t i = 0; i < values.size(); ++i) {
        model.calculate({texts.me_sup, texts.amax, values[i]},
                        [](const std::string& message) { std::cerr << message << '\n'; });
        const std::string path = cdnozzle::framePath(*args.frames, static_cast<long>(i) + 1,
                                                     static_cast<long>(values.size()));
        const QByteArray png = cdnozzle::imageBytes(figureOf(model), cdnozzle::ImageFormat::Png);
        if (!writeOutput(path, png.toStdString())) {
            // The frames already written are listed all the same.
            writeStdout(listing);
            return kWriteFailed;
        }
        listing += path + "\tPe/Po=" + values[i] + "\t" +
                   std::string(cdnozzle::regimeName(model.result().regime)) + "\n";
    }
    return writeStdout(listing) ? 0 : kWriteFailed;
}

} // namespace

int main(int argc, char** argv)
{
    // A file-size limit makes a write fail (as a full disk does) instead of
    // ending the program.
    std::signal(SIGXFSZ, SIG_IGN);

    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    // Rendering needs a Qt application but no display: the offscreen platform.
    std::optional<QGuiApplication> gui;
    int guiArgc = 3;
    char arg0[] = "cdnozzle-report", arg1[] = "-platform", arg2[] = "offscreen";
    char* guiArgv[] = {arg0, arg1, arg2, nullptr};
    auto startGui = [&] {
        if (gui) return;
        qInstallMessageHandler(quietQtMessages);
        gui.emplace(guiArgc, guiArgv);
    };
    if (cdnozzle::wantsUnsteady(arguments))
        return cdnozzle::unsteadyReport(arguments, [&](const cdnozzle::DisplayList& list) {
            startGui();
            return cdnozzle::imageBytes(list, cdnozzle::ImageFormat::Png).toStdString();
        });
    const cdnozzle::ParsedArgs parsed = cdnozzle::parseReportArgs(arguments);
    if (!parsed.error.empty()) {
        std::cerr << "cdnozzle-report: " << parsed.error << " (see --help)\n";
        return kRefused;
    }
    const cdnozzle::ReportArgs& args = parsed.args;
    if (args.help) return writeStdout(cdnozzle::reportUsage()) ? 0 : kWriteFailed;
    if (args.version)
        return writeStdout(std::string("cdnozzle-report ") + CDNOZZLE_VERSION + "\n")
                   ? 0
                   : kWriteFailed;

    // Only PNG images are painted with Qt; SVG files are text from the core.
    if (args.png || args.sweep) startGui();
    const auto prepared = cdnozzle::reportSetup(args);
    if (const auto* refusal = std::get_if<std::string>(&prepared)) {
        std::cerr << *refusal << '\n';
        return kRefused;
    }
    const cdnozzle::ReportSetup& setup = std::get<cdnozzle::ReportSetup>(prepared);
    const double k = setup.k;
    if (args.sweep) return writeSweep(args, setup.texts, k, setup.third);
    if (args.altitudeTable) {
        if (const auto refusal = cdnozzle::validateInputs(setup.texts)) {
            std::cerr << *refusal << '\n';
            return kRefused;
        }
        return writeStdout(cdnozzle::thrustCurveCsv(setup.texts, k, *setup.engine, setup.units,
                                                    setup.tableAltitudes))
                   ? 0
                   : kWriteFailed;
    }
    std::optional<cdnozzle::EngineReport> engine;
    if (setup.engine) engine = cdnozzle::EngineReport{*setup.engine, setup.units, setup.altitude};

    cdnozzle::NozzleModel model(setup.texts, k);
    std::vector<std::string> messages;
    const auto refusal = model.calculate(setup.texts, [&](const std::string& message) {
        std::cerr << message << '\n';
        messages.push_back(message);
    });
    if (refusal) {
        std::cerr << *refusal << '\n';
        return kRefused;
    }
    // The third plot of the pictures: the engine's thrust over the climb, at
    // the altitude given, or a quantity along the nozzle.
    model.setThirdPlot(setup.third);
    if (setup.third == cdnozzle::PlotQuantity::Thrust && engine) {
        model.setThrustPlot(cdnozzle::ThrustPlot{
            cdnozzle::thrustCurve(setup.texts, k, engine->engine,
                                  cdnozzle::climbAltitudes(cdnozzle::kThrustPlotStep)),
            engine->altitude, cdnozzle::limitAltitudes(engine->engine, model.state()),
            engine->units});
    }
    // Standard output carries either the report or the one file sent there.
    const bool fileToStdout = args.png == "-" || args.svg == "-" || args.csv == "-";
    if (!fileToStdout) {
        std::ostringstream report;
        std::string explanation =
            args.explain ? cdnozzle::explainFlow(model.state(), model.result(),
                                                 engine && cdnozzle::outsideAboveChamber(
                                                               engine->engine, engine->altitude))
                         : "";
        if (args.explain && engine) {
            explanation +=
                "\n\n" + cdnozzle::explainEngine(engine->engine, model.state(), model.result(),
                                                 engine->units, engine->altitude);
        }
        if (args.json) {
            nlohmann::json object = cdnozzle::reportJson(model, messages);
            if (engine) object["engine"] = cdnozzle::engineJson(model, *engine);
            if (args.explain) object["explanation"] = explanation;
            report << object.dump(2) << '\n';
        } else {
            cdnozzle::writePlainReport(report, model, engine ? &*engine : nullptr);
            if (args.explain) report << '\n' << explanation << '\n';
        }
        if (!writeStdout(report.str())) return kWriteFailed;
    }
    return writeFiles(model, args, engine ? &*engine : nullptr) ? 0 : kWriteFailed;
}
