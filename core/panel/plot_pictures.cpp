// SPDX-License-Identifier: MIT
// The plots as pictures: the display list a front end paints, how it is
// drawn, and the files an Export event asks for.
#include "panel/window_logic.h"

#include "model/thrust_curve.h"
#include "results/station_data.h"
#include "text/number_text.h"

namespace cdnozzle {

namespace {

// A text as part of a file name: letters, digits, "." and "-" kept, the
// rest left out ("2.5" stays "2.5", "1e-3" stays "1e-3").
std::string fileNamePart(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '.' || c == '-')
            out += c;
        if (out.size() >= 24) break;
    }
    return out.empty() ? "0" : out;
}

std::string plotFileName(PlotKind plot, PlotQuantity third)
{
    switch (plot) {
    case PlotKind::Geometry: return "nozzle";
    case PlotKind::Mach: return "mach";
    case PlotKind::Third: break;
    }
    return third == PlotQuantity::Temperature ? "temperature"
           : third == PlotQuantity::Density   ? "density"
           : third == PlotQuantity::Thrust    ? "thrust"
                                              : "pressure";
}

} // namespace

const PlotScene& WindowLogic::scene(PlotKind plot) const
{
    // The flow in time has scenes of its own.
    if (unsteady_ && flow_) return unsteadyScenes_[static_cast<std::size_t>(plot)];
    return plot == PlotKind::Geometry ? model_.geometryScene()
           : plot == PlotKind::Mach   ? model_.machScene()
                                      : model_.thirdScene();
}

DisplayList WindowLogic::displayList(PlotKind plot, double width, double height, double scale) const
{
    if (!calculated()) {
        DisplayList empty;
        empty.width = width;
        empty.height = height;
        return empty;
    }
    DrawStyle style = drawStyle(plot);
    // The banner stands over the top of the plots: the geometry's.
    style.banner = plot == PlotKind::Geometry && !bannerText().empty();
    // The projector's captions are drawn with the plot, as large as its
    // other texts; otherwise the front ends' labels show them.
    const std::string caption = !projector_ || plot == PlotKind::Geometry ? std::string()
                                : plot == PlotKind::Mach
                                    ? std::string("M")
                                    : std::string(quantityCaption(model_.thirdPlot()));
    return drawScene(scene(plot), width, height, scale, caption, style);
}

DrawStyle WindowLogic::drawStyle(PlotKind plot) const
{
    if (!projector_) return {};
    const PlotDesign d = plotDesign(plot);
    return {true, projectorPlot_ == 0 ? kProjectorTextShare : kProjectorAloneTextShare, d.width,
            d.height};
}

void WindowLogic::prepareExport(PlotKind plot, const std::string& format)
{
    if (!calculated()) return;
    ExportFile& f = export_;
    // Names that say what they hold: nozzle-me2-pepo0.8-mach.png.
    const std::string base = "nozzle-me" + fileNamePart(accepted_.me_sup) + "-pepo" +
                             fileNamePart(accepted_.pe_po) + "-" +
                             plotFileName(plot, model_.thirdPlot());
    const std::string stamp = "Me_Sup = " + accepted_.me_sup + " · Amax/At = " + accepted_.amax +
                              " · Pe/Po = " + accepted_.pe_po + " · " + acceptedGasName_ +
                              " (k = " + formatRounded4(acceptedGasK_) + ")";
    const DrawStyle style{projector_};
    const std::string caption = plot == PlotKind::Geometry ? ""
                                : plot == PlotKind::Mach
                                    ? "M"
                                    : std::string(quantityCaption(model_.thirdPlot()));
    f.format = format;
    f.text.clear();
    f.picture = {};
    f.toClipboard = f.painted = false;
    if (format == "thrust" ||
        (format == "csv" && plot == PlotKind::Third && model_.showsThrust())) {
        // The thrust plot's data is the climb's.
        f.format = "thrust";
        if (!engine_) return;
        f.name = "nozzle-me" + fileNamePart(accepted_.me_sup) + "-thrust-over-altitude.csv";
        f.mime = "text/csv";
        f.text = thrustCurveCsv(accepted_, acceptedGasK_, *engine_, units_,
                                climbAltitudes(units_ == UnitSystem::US ? 2500 * kFoot : 1000));
    } else if (format == "csv") {
        // The flow in time writes the cells it shows, as the report does.
        f.name = "nozzle-me" + fileNamePart(accepted_.me_sup) + "-pepo" +
                 fileNamePart(accepted_.pe_po) + (flow_ ? "-cells.csv" : "-stations.csv");
        f.mime = "text/csv";
        f.text = flow_ ? cellsCsv(*flow_) : stationCsv(model_.state());
    } else if (format == "svg") {
        f.name = base + ".svg";
        f.mime = "image/svg+xml";
        f.text = svgText(exportedPlot(plot, scene(plot), caption, style, stamp));
    } else {
        f.format = format == "copy" ? "copy" : "png";
        f.toClipboard = format == "copy";
        f.painted = true;
        f.name = base + ".png";
        f.mime = "image/png";
        f.picture = exportedPlot(plot, scene(plot), caption, style, stamp);
    }
    ++f.serial;
}

} // namespace cdnozzle
