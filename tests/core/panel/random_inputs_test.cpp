// SPDX-License-Identifier: MIT
// Ten thousand text triples from a fixed seed, crowded around the regime
// limits and the edges of the accepted ranges: every accepted one yields a
// finite, classified result without a failed iteration; every refused one a
// one-line message and an unchanged state.
#include "audit/audit.h"
#include "text/number_text.h"
#include "text/validation.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace cdnozzle {

namespace {

class TextGenerator {
  public:
    explicit TextGenerator(std::uint32_t seed) : rng_(seed) {}

    std::string design()
    {
        switch (pick(8)) {
        case 0: return number(std::pow(10.0, uniform(-2, 2)));
        case 1: return number(1 + uniform(-1e-3, 1e-3));
        case 2: return number(uniform(0.3, 3));
        case 3:
            return oneOf({"0", "-0", "1", "100", "100.0000001", "0.01", "0.00999", "1e308",
                          "1e-320", "-1", "", "-", ".", "2.", "1E2", "1D-6"});
        case 4: return junk();
        case 5: return number(uniform(1, 6)) + junkTail();
        default: return number(uniform(1, 6));
        }
    }

    std::string amax()
    {
        switch (pick(5)) {
        case 0: return number(-0.1 + uniform(-1e-14, 1e-14));
        case 1:
            return oneOf({"-0.1", "0", "", "1000", "-1000", "1000.0001", "1e300", "-1e300", "abc"});
        case 2: return number(uniform(-1000, 1000));
        default: return number(uniform(0.5, 10));
        }
    }

    // Near one of the limits of the given nozzle, or near the range edges.
    std::string backPressure(const FlowState& limits)
    {
        const double nearLimits[] = {limits.PePo_sub, limits.PePo_NS, limits.PePo_OS,
                                     limits.PePo_NS + 0.0001, limits.PePo_NS - 0.0001};
        switch (pick(7)) {
        case 0: {
            const double limit = nearLimits[pick(5)];
            const int ulps = static_cast<int>(pick(5)) - 2;
            double v = limit;
            for (int i = 0; i < std::abs(ulps); ++i) v = std::nextafter(v, ulps > 0 ? 2.0 : -2.0);
            return formatRoundTrip(v);
        }
        case 1: return formatRoundTrip(nearLimits[pick(5)] * (1 + uniform(-1e-6, 1e-6)));
        case 2:
            return oneOf({"1", "0", "1.0000000000000002", "0.9999999999999999",
                          "2.2250738585072014e-308", "2.2250738585072009e-308", "1e-300", "5e-324",
                          "-0.5", "", "1e-9", "0.001"});
        case 3: return junk();
        default: return number(uniform(0.001, 1));
        }
    }

  private:
    std::size_t pick(std::size_t n)
    {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
    }
    double uniform(double a, double b)
    {
        return std::uniform_real_distribution<double>(a, b)(rng_);
    }
    std::string oneOf(std::initializer_list<const char*> texts)
    {
        return *(texts.begin() + static_cast<std::ptrdiff_t>(pick(texts.size())));
    }
    std::string number(double v)
    {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*g", static_cast<int>(2 + pick(16)), v);
        return buffer;
    }
    std::string junk()
    {
        static const char alphabet[] = "0123456789.,+-eEdD \t\nx";
        std::string text;
        const std::size_t length = pick(12);
        for (std::size_t i = 0; i < length; ++i)
            text.push_back(alphabet[pick(sizeof alphabet - 1)]);
        return text;
    }
    std::string junkTail() { return oneOf({"", "abc", " ", ",5", "e", "e+", "E-2", "D3", "\n"}); }

    std::mt19937 rng_;
};

} // namespace

TEST(RandomInputs, AcceptedResultsAreFiniteAndRefusalsChangeNothing)
{
    TextGenerator gen(20261208);
    int accepted = 0;
    for (int n = 0; n < 10000; ++n) {
        InputTexts texts{gen.design(), gen.amax(), "1"};
        NozzleModel model(texts);
        // The limits of this nozzle, when it can be built.
        if (!model.calculate(texts))
            texts.pe_po = gen.backPressure(model.state());
        else
            texts.pe_po = gen.backPressure(FlowState{});

        const FlowState before = model.state();
        std::vector<std::string> messages;
        const auto refusal =
            model.calculate(texts, [&](const std::string& m) { messages.push_back(m); });
        const std::string where =
            "\"" + texts.me_sup + "\" \"" + texts.amax + "\" \"" + texts.pe_po + "\"";
        if (refusal) {
            ASSERT_FALSE(refusal->empty()) << where;
            ASSERT_EQ(refusal->find('\n'), std::string::npos) << where;
            ASSERT_TRUE(refusal->starts_with("Me_Sup = ") || refusal->starts_with("Amax/At = ") ||
                        refusal->starts_with("Pe/Po = "))
                << *refusal;
            ASSERT_EQ(model.state(), before) << where;
            continue;
        }
        ++accepted;
        const auto bad = findNonFinite(model);
        ASSERT_FALSE(bad) << where << ": " << *bad;
        ASSERT_TRUE(messages.empty()) << where;
        ASSERT_NE(model.result().regime, Regime::NotClassified) << where;
        ASSERT_GE(model.state().i_NS, model.state().N_conv) << where;
        ASSERT_LE(model.state().i_NS, model.state().N_tot) << where;
        // Without a shock inside, the divergent part is supersonic throughout
        // as soon as the exit pressure is below the normal-shock limit.
        const Regime regime = model.result().regime;
        if (regime == Regime::ObliqueExitShocks || regime == Regime::NormalShockAtExit ||
            regime == Regime::ExitExpansion) {
            const FlowState& s = model.state();
            for (int i = s.N_conv + 1; i <= s.N_tot; ++i)
                ASSERT_GE(s.M[i], 1 - 1e-5) << where << " station " << i;
        }
    }
    // Most triples are meant to be calculable.
    EXPECT_GT(accepted, 3500);
}

} // namespace cdnozzle
