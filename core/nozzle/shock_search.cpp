#include "nozzle/shock_search.h"

#include "gas/isentropic.h"
#include "gas/normal_shock.h"

namespace cdnozzle {

namespace {

double exitPressureBehindShock(const FlowState& s, int i, double M1,
                               const NotConvergedHandler& notConverged)
{
    const double M2 = NS(s, M1);
    const double r1 = PoP(s, M1);      // p01/p1
    const double r21 = P2P1fM1(s, M1); // p2/p1
    const double r2 = PoP(s, M2);      // p02/p2
    const double a2 = AAfM(s, M2);     // A_i/A2*
    const double ae = (s.AAe / s.AA[i]) * a2;
    const double Mx = M_iter(s, ae, 1, kSesAlti, notConverged);
    const double rx = PoP(s, Mx); // p02/pe
    return (((1 / rx) * r2) * r21) / r1;
}

} // namespace

double supersonicMachAt(const FlowState& s, int i, const NotConvergedHandler& notConverged,
                        StationCache* cache)
{
    return stationInversion(s, i, kSesUstu, StationCache::SupersonicMach, notConverged, cache);
}

double exitPressureWithShockAt(const FlowState& s, int i, const NotConvergedHandler& notConverged,
                               StationCache* cache)
{
    auto compute = [&](const NotConvergedHandler& handler) {
        return exitPressureBehindShock(s, i, supersonicMachAt(s, i, handler, cache), handler);
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
