// SPDX-License-Identifier: MIT
#include "audit/audit.h"

#include <cmath>

namespace cdnozzle {

namespace {

bool finite(double v)
{
    return std::isfinite(v);
}

std::optional<std::string> auditScene(const PlotScene& scene, const char* name)
{
    if (!finite(scene.left) || !finite(scene.top) || !finite(scene.right) ||
        !finite(scene.bottom)) {
        return std::string(name) + " window";
    }
    for (std::size_t i = 0; i < scene.segments.size(); ++i) {
        const Segment& s = scene.segments[i];
        if (!finite(s.x1) || !finite(s.y1) || !finite(s.x2) || !finite(s.y2)) {
            return std::string(name) + " segment " + std::to_string(i);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> findNonFinite(const NozzleModel& model)
{
    const FlowState& s = model.state();
    for (int i = 1; i <= s.N_tot + 1; ++i) {
        if (!finite(s.x[i]) || !finite(s.M[i]) || !finite(s.PiPo[i])) {
            return "station " + std::to_string(i);
        }
        if (i <= s.N_tot && (!finite(s.y[i]) || !finite(s.AA[i])))
            return "wall at station " + std::to_string(i);
    }
    const double scalars[] = {s.Me,  s.PePo_e, s.PePo,     s.M_max,   s.AA_max,
                              s.AAe, s.Me_sub, s.PePo_sub, s.PePo_NS, s.PePo_OS};
    for (double v : scalars) {
        if (!finite(v)) return std::string("a limit or jump value");
    }
    for (const Mark& m : model.result().marks) {
        if (!finite(m.x1) || !finite(m.y1) || !finite(m.x2) || !finite(m.y2))
            return std::string("a mark");
    }
    for (const std::string& line : model.result().report.lines()) {
        if (line.find("nan") != std::string::npos || line.find("inf") != std::string::npos) {
            return "report line " + line;
        }
    }
    if (auto bad = auditScene(model.geometryScene(), "geometry")) return bad;
    if (auto bad = auditScene(model.machScene(), "Mach")) return bad;
    return auditScene(model.thirdScene(), "pressure");
}

} // namespace cdnozzle
