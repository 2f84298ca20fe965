#include "flow_state.h"

#include "number_text.h"

namespace cdnozzle {

void Form_Load(FlowState& s, const InputTexts& texts)
{
    s.k = 1.4;
    // The order matters: kp1_2km1 comes out as 3.0000000000000004, not 3.
    s.k2_kp1 = 2 / (s.k + 1);
    s.kp1_2km1 = ((s.k + 1) / (s.k - 1)) / 2;
    s.kp1_2km1_inv = 1 / s.kp1_2km1;
    s.km1_2 = (s.k - 1) / 2;
    s.N_conv = 20;
    s.N_div = 80;
    s.N_tot = s.N_div + s.N_conv;
    s.M_max = readLeadingNumber(texts.me_sup);
    s.AA_max = readLeadingNumber(texts.amax);
    s.PePo = readLeadingNumber(texts.pe_po);
}

} // namespace cdnozzle
