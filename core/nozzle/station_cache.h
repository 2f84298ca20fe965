// SPDX-License-Identifier: MIT
// Per-station results that depend only on the station grid, not on the back
// pressure: kept from one calculation to the next while the design Mach
// number stays the same, so that a scroll step (which changes only Pe/Po)
// does not redo the area-Mach inversions of the unchanged nozzle.
//
// A cached value is the value the plain computation returns, bit for bit:
// it is stored the first time it is computed, and only when that computation
// reported no failed iteration (so every failure is reported again, each
// time it occurs, exactly as without the cache).
#pragma once

#include "gas/area_mach.h"
#include "nozzle/flow_state.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace cdnozzle {

// The bits of a double, so that a key tells 0 from -0 and each NaN apart.
inline std::uint64_t bitsOf(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

class StationCache {
  public:
    enum Kind { SupersonicMach, ShockExitPressure, ChokedSubsonicMach, kKinds };

    // Binds the cache to the grid of s; forgets everything if the grid
    // differs from the one it was last bound to.
    void bind(const FlowState& s)
    {
        const Key key{bitsOf(s.M_max), bitsOf(s.k), s.N_conv, s.N_tot};
        if (!(key == key_)) {
            key_ = key;
            known_ = {};
        }
    }

    bool lookup(Kind kind, int i, double& value) const
    {
        if (!known_[kind][static_cast<std::size_t>(i)]) return false;
        value = values_[kind][static_cast<std::size_t>(i)];
        return true;
    }

    void store(Kind kind, int i, double value)
    {
        values_[kind][static_cast<std::size_t>(i)] = value;
        known_[kind][static_cast<std::size_t>(i)] = true;
    }

    // The value of compute(handler) for this station, from the cache when it
    // is there; compute receives the handler to pass on to M_iter.
    template <class Compute>
    double get(Kind kind, int i, const NotConvergedHandler& notConverged, Compute compute)
    {
        double value;
        if (lookup(kind, i, value)) return value;
        bool reported = false;
        const NotConvergedHandler watch = [&](const std::string& message) {
            reported = true;
            if (notConverged) notConverged(message);
        };
        value = compute(watch);
        if (!reported) store(kind, i, value);
        return value;
    }

  private:
    struct Key {
        std::uint64_t mMaxBits = 0;
        std::uint64_t gas = ~std::uint64_t{0};
        int nConv = -1, nTot = -1;
        bool operator==(const Key&) const = default;
    };
    Key key_;
    std::array<StationArray, kKinds> values_{};
    std::array<std::array<bool, kStationCapacity>, kKinds> known_{};
};

// M_iter(AA(i), 1, rejim) at station i, through the cache when one is given
// (kind names which of the two inversions it is).
inline double stationInversion(const FlowState& s, int i, std::string_view rejim,
                               StationCache::Kind kind, const NotConvergedHandler& notConverged,
                               StationCache* cache)
{
    auto compute = [&](const NotConvergedHandler& handler) {
        return M_iter(s, s.AA[i], 1, rejim, handler);
    };
    if (!cache) return compute(notConverged);
    return cache->get(kind, i, notConverged, compute);
}

} // namespace cdnozzle
