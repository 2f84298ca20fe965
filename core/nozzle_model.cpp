#include "nozzle_model.h"

#include "validation.h"

namespace cdnozzle {

NozzleModel::NozzleModel(const InputTexts& texts)
{
    Form_Load(state_, texts);
}

std::optional<std::string> NozzleModel::calculate(const InputTexts& texts,
                                                  const NotConvergedHandler& notConverged)
{
    InputNumbers numbers;
    if (auto refusal = validateInputs(texts, &numbers)) return refusal;
    Calc_Flow(state_, numbers, result_, notConverged, cacheEnabled_ ? &cache_ : nullptr);
    Grafik_Geo(state_, result_.marks, geo_);
    Grafik_Mach(state_, mach_);
    Grafik_PiPo(state_, pipo_);
    return std::nullopt;
}

} // namespace cdnozzle
