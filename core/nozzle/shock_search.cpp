// SPDX-License-Identifier: MIT
#include "nozzle/shock_search.h"

#include "nozzle/shock_exit.h"

namespace cdnozzle {

double supersonicMachAt(const FlowState& s, int i, const NotConvergedHandler& notConverged,
                        StationCache* cache)
{
    return stationInversion(s, i, kSesUstu, StationCache::SupersonicMach, notConverged, cache);
}

double exitPressureWithShockAt(const FlowState& s, int i, const NotConvergedHandler& notConverged,
                               StationCache* cache)
{
    auto compute = [&](const NotConvergedHandler& handler) {
        const auto subsonicMachOf = [&](double area) {
            return M_iter(s, area, 1, kSesAlti, handler);
        };
        return shockExit(s, supersonicMachAt(s, i, handler, cache), s.AAe / s.AA[i], subsonicMachOf)
            .PePo;
    };
    if (!cache) return compute(notConverged);
    return cache->get(StationCache::ShockExitPressure, i, notConverged, compute);
}

void NS_icin_iterasyon(const FlowState& s, double PePo, int& iNS,
                       const NotConvergedHandler& notConverged, StationCache* cache)
{
    const int first = s.N_conv + 1;
    const int last = s.N_tot;
    int i = first;
    for (; i <= last; ++i) {
        if (exitPressureWithShockAt(s, i, notConverged, cache) < PePo) break;
    }
    iNS = i - 1;
}

} // namespace cdnozzle
