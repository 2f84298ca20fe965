// SPDX-License-Identifier: MIT
#include "nozzle/flow_state.h"

namespace cdnozzle {

void Form_Load(FlowState& s, const InputTexts& texts, double k)
{
    static_cast<Gas&>(s) = gasOf(k);
    s.N_conv = 20;
    s.N_div = 80;
    s.N_tot = s.N_div + s.N_conv;
    const InputNumbers numbers = readInputs(texts);
    s.M_max = numbers.M_max;
    s.AA_max = numbers.AA_max;
    s.PePo = numbers.PePo;
}

} // namespace cdnozzle
