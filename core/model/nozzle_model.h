// SPDX-License-Identifier: MIT
// What a front end holds: the one flow state, the result of the last accepted
// calculation and its three plot scenes.
#pragma once

#include "nozzle/calc_flow.h"
#include "nozzle/flow_state.h"
#include "plots/plot_scene.h"

#include <optional>
#include <string>

namespace cdnozzle {

class NozzleModel {
  public:
    // Start-up with the given box texts: constants and inputs only; nothing
    // is calculated, the report and the scenes stay empty.
    explicit NozzleModel(const InputTexts& texts = {}, double k = kAirK);

    // Another gas: its constants from now on (k must lie in kMinK..kMaxK);
    // the next calculation uses it. The station cache starts afresh.
    void setGas(double k);

    // What the third plot shows; rebuilds that scene at once. The thrust
    // plot needs its figures (setThrustPlot); without them it shows p/p0.
    void setThirdPlot(PlotQuantity quantity);
    PlotQuantity thirdPlot() const { return third_; }
    // The engine's figures over altitude for the thrust plot (nothing: no
    // engine); builds its scene.
    void setThrustPlot(const std::optional<ThrustPlot>& plot);
    bool showsThrust() const { return third_ == PlotQuantity::Thrust && thrustShown_; }

    // Whether calculations reuse the grid's inversions from the previous
    // ones (on by default; the results are the same either way).
    void setStationCacheEnabled(bool enabled) { cacheEnabled_ = enabled; }

    // Validates the texts; a refused input changes nothing and its one-line
    // message is returned. Otherwise runs the calculation, rebuilds the three
    // scenes and returns nothing.
    std::optional<std::string> calculate(const InputTexts& texts,
                                         const NotConvergedHandler& notConverged = {});

    bool calculated() const { return result_.regime != Regime::NotCalculated; }
    const FlowState& state() const { return state_; }
    const CalcResult& result() const { return result_; }
    const PlotScene& geometryScene() const { return geo_; }
    const PlotScene& machScene() const { return mach_; }
    const PlotScene& thirdScene() const { return showsThrust() ? thrust_ : pipo_; }

  private:
    FlowState state_;
    CalcResult result_;
    PlotScene geo_, mach_, pipo_, thrust_;
    bool thrustShown_ = false;
    struct LimitKey {
        std::uint64_t mMax = 0, k = 0;
        bool operator==(const LimitKey&) const = default;
    };
    LimitKey limitsKey_;
    LimitCurves limits_;
    StationCache cache_;
    bool cacheEnabled_ = true;
    PlotQuantity third_ = PlotQuantity::Pressure;
};

} // namespace cdnozzle
