// SPDX-License-Identifier: MIT
// Arbitrary bytes as the texts of the three boxes ("Me_Sup =", "Amax/At =",
// "Pe/Po =", separated by '|'), through validation and, when accepted, the
// calculation and the three scenes. Any crash, sanitizer report, non-finite
// accepted result, or refusal without a proper message is a finding.
#include "audit/audit.h"
#include "text/validation.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void fail(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "finding: %s: %s\n", what, detail.c_str());
    std::abort();
}

cdnozzle::InputTexts split(std::string_view data)
{
    cdnozzle::InputTexts texts{"", "", ""};
    std::string* fields[] = {&texts.me_sup, &texts.amax, &texts.pe_po};
    std::size_t field = 0;
    for (char c : data) {
        if (c == '|' && field < 2) {
            ++field;
            continue;
        }
        fields[field]->push_back(c);
    }
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One model for the whole run, as the window keeps one.
    static cdnozzle::NozzleModel model;
    const cdnozzle::InputTexts texts = split({reinterpret_cast<const char*>(data), size});
    const cdnozzle::FlowState before = model.state();
    bool reported = false;
    const auto refusal = model.calculate(texts, [&](const std::string&) { reported = true; });
    if (refusal) {
        if (refusal->empty() || refusal->find('\n') != std::string::npos)
            fail("bad refusal", *refusal);
        if (!(refusal->starts_with("Me_Sup = ") || refusal->starts_with("Amax/At = ") ||
              refusal->starts_with("Pe/Po = ")))
            fail("refusal names no box", *refusal);
        if (!(model.state() == before)) fail("refusal changed the state", *refusal);
        return 0;
    }
    if (const auto bad = cdnozzle::findNonFinite(model)) fail("non-finite", *bad);
    if (reported)
        fail("iteration did not converge", texts.me_sup + "|" + texts.amax + "|" + texts.pe_po);
    return 0;
}
