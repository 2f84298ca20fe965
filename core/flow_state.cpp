#include "flow_state.h"

#include "number_text.h"

namespace cdnozzle {

InputNumbers readInputs(const InputTexts& texts)
{
    return {readLeadingNumber(texts.me_sup), readLeadingNumber(texts.amax),
            readLeadingNumber(texts.pe_po)};
}

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
