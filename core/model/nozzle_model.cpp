// SPDX-License-Identifier: MIT
#include "model/nozzle_model.h"

#include "text/validation.h"

namespace cdnozzle {

NozzleModel::NozzleModel(const InputTexts& texts, double k)
{
    Form_Load(state_, texts, k);
}

void NozzleModel::setGas(double k)
{
    static_cast<Gas&>(state_) = gasOf(k);
}

void NozzleModel::setThirdPlot(PlotQuantity quantity)
{
    third_ = quantity;
    if (calculated()) Grafik_Third(state_, third_, pipo_, &limits_);
}

void NozzleModel::setThrustPlot(const std::optional<ThrustPlot>& plot)
{
    thrustShown_ = plot.has_value();
    if (plot)
        Grafik_Thrust(*plot, thrust_);
    else
        thrust_ = {};
}

std::optional<std::string> NozzleModel::calculate(const InputTexts& texts,
                                                  const NotConvergedHandler& notConverged)
{
    InputNumbers numbers;
    if (auto refusal = validateInputs(texts, &numbers)) return refusal;
    Calc_Flow(state_, numbers, result_, notConverged, cacheEnabled_ ? &cache_ : nullptr);
    // The limit flows belong to the nozzle and the gas: a scroll step keeps
    // them.
    const LimitKey key{bitsOf(state_.M_max), bitsOf(state_.k)};
    if (!(key == limitsKey_)) {
        limits_ = limitCurves(state_);
        limitsKey_ = key;
    }
    Grafik_Geo(state_, result_.marks, geo_);
    Grafik_Mach(state_, mach_, &limits_);
    Grafik_Third(state_, third_, pipo_, &limits_);
    return std::nullopt;
}

} // namespace cdnozzle
