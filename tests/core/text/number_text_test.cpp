// SPDX-License-Identifier: MIT
#include "test_names.h"
#include "text/number_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <limits>
#include <optional>

namespace cdnozzle {

struct ReadCase {
    const char* text;
    double value;
};

class LeadingNumber : public testing::TestWithParam<ReadCase> {};

TEST_P(LeadingNumber, ReadsTheLeadingNumberOnly)
{
    EXPECT_EQ(readLeadingNumber(GetParam().text), GetParam().value)
        << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingNumber,
    testing::Values(ReadCase{"2", 2}, ReadCase{"", 0}, ReadCase{"-", 0}, ReadCase{"+", 0},
                    ReadCase{".", 0}, ReadCase{"abc", 0}, ReadCase{".5", 0.5},
                    ReadCase{"2.5abc", 2.5}, ReadCase{"2,5", 2}, ReadCase{"1e3", 1000},
                    ReadCase{"1E3", 1000}, ReadCase{"1D-3", 0.001}, ReadCase{"1d+2", 100},
                    ReadCase{"+ 2", 2}, ReadCase{"- 2.5", -2.5}, ReadCase{"-0.5", -0.5},
                    ReadCase{" \t\n 1 2 . 5", 12.5}, ReadCase{"1\t0", 10}, ReadCase{"1.2.3", 1.2},
                    ReadCase{"1e", 1}, ReadCase{"1e+", 1}, ReadCase{"1e 2", 100},
                    ReadCase{"1 e - 2", 0.01}, ReadCase{"2-3", 2}, ReadCase{"--2", 0},
                    ReadCase{"\r2", 0}, ReadCase{"0.51", 0.51}, ReadCase{"0.1e1", 1},
                    ReadCase{"5.", 5}, ReadCase{"1E-400", 0}),
    [](const testing::TestParamInfo<ReadCase>& info) {
        return test::caseName(info.param.text) + "_reads_" +
               test::caseName(formatRoundTrip(info.param.value));
    });

TEST(LeadingNumber, HugeExponentsGiveInfinityNotAFailure)
{
    EXPECT_EQ(readLeadingNumber("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(readLeadingNumber("-1D999999999999999999"), -std::numeric_limits<double>::infinity());
}

struct StrictCase {
    const char* text;
    std::optional<double> value; // none: refused
};

class StrictNumber : public testing::TestWithParam<StrictCase> {};

TEST_P(StrictNumber, TakesTheWholeTextOrNothing)
{
    EXPECT_EQ(readStrictNumber(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StrictNumber,
    testing::Values(StrictCase{"1.2", 1.2}, StrictCase{"-0.5", -0.5}, StrictCase{"+2", 2},
                    StrictCase{".5", 0.5}, StrictCase{"5.", 5}, StrictCase{"1e-4", 1e-4},
                    StrictCase{"1D3", 1000}, StrictCase{"1E+400", HUGE_VAL}, StrictCase{"", {}},
                    StrictCase{"1,2", {}}, StrictCase{"1.2abc", {}}, StrictCase{" 1", {}},
                    StrictCase{"1 ", {}}, StrictCase{"1 2", {}}, StrictCase{".", {}},
                    StrictCase{"-", {}}, StrictCase{"1e", {}}, StrictCase{"1e+", {}},
                    StrictCase{"1.2.3", {}}, StrictCase{"inf", {}}, StrictCase{"nan", {}},
                    StrictCase{"0x10", {}}, StrictCase{"--1", {}}),
    [](const testing::TestParamInfo<StrictCase>& info) {
        return (info.param.value ? "takes_" : "refuses_") + test::caseName(info.param.text);
    });

struct FormatCase {
    double value;
    const char* text;
};

class GeneralFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(GeneralFormat, WritesTheShortestFifteenDigitForm)
{
    EXPECT_EQ(formatGeneral(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GeneralFormat,
    testing::Values(FormatCase{0.51, "0.51"}, FormatCase{1, "1"}, FormatCase{-0.5, "-0.5"},
                    FormatCase{100, "100"}, FormatCase{0, "0"}, FormatCase{-0.0, "0"},
                    FormatCase{(100 - 50) / 100.0 + 0.01, "0.51"},
                    FormatCase{(1000 - 500) / 1000.0 + 0.001, "0.501"},
                    FormatCase{0.1 + 0.2, "0.3"}, FormatCase{2.0 / 3.0, "0.666666666666667"},
                    FormatCase{0.001, "0.001"}, FormatCase{123456.5, "123456.5"},
                    FormatCase{1e20, "1E+20"}, FormatCase{1e-7, "1E-07"}),
    [](const testing::TestParamInfo<FormatCase>& info) {
        // Two rows write 0.51 and two 0: the row number tells them apart.
        return test::caseName(formatRoundTrip(info.param.value)) + "_as_" +
               test::caseName(info.param.text) + "_row" + std::to_string(info.index);
    });

TEST(GeneralFormat, WrittenValuesReadBackUnchanged)
{
    for (int v = 1; v <= 1000; ++v) {
        const double pepo = (1000 - v) / 1000.0 + 0.001;
        const std::string text = formatGeneral(pepo);
        const double back = readLeadingNumber(text);
        ASSERT_EQ(formatGeneral(back), text);
        ASSERT_LE(std::fabs(back - pepo), 1e-15);
    }
    EXPECT_EQ(readLeadingNumber(formatGeneral(0.51)), 0.51);
}

struct RoundCase {
    double value;
    double rounded;
};

class RoundFour : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundFour, RoundsHalfToEvenOnTheExactValue)
{
    EXPECT_EQ(roundHalfEven4(GetParam().value), GetParam().rounded) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundFour,
    testing::Values(RoundCase{0.908757996, 0.9088}, RoundCase{0.37225, 0.3723},
                    RoundCase{0.0006103515625, 0.0006},
                    // Exactly representable ties go to the even digit.
                    RoundCase{0.03125, 0.0312}, RoundCase{0.09375, 0.0938},
                    RoundCase{-0.03125, -0.0312}, RoundCase{1.00005, 1.0001},
                    // 0.12345 is slightly above the tie in binary, so it rounds up.
                    RoundCase{0.12345, 0.1235}, RoundCase{2, 2}, RoundCase{-0.57512, -0.5751}),
    [](const testing::TestParamInfo<RoundCase>& info) {
        return test::caseName(formatRoundTrip(info.param.value)) + "_to_" +
               test::caseName(formatRoundTrip(info.param.rounded));
    });

// One rule for every number a person reads, a function per kind: rows of
// the raw numbers the explanation and the boxes used to show.
struct ShownCase {
    const char* kind; // "ratio", "percent" (of a share), "angle" (radians), "box"
    double value;
    const char* text;
};

class ShownNumber : public testing::TestWithParam<ShownCase> {};

TEST_P(ShownNumber, WritesTheKindsFiguresWithoutExponentOrFalseBoundary)
{
    const ShownCase& c = GetParam();
    const std::string kind = c.kind;
    const std::string text = kind == "ratio"     ? formatRatio(c.value)
                             : kind == "percent" ? formatPercent(c.value)
                             : kind == "angle"   ? formatAngle(c.value)
                                                 : formatBoxNumber(c.value);
    EXPECT_EQ(text, c.text) << formatRoundTrip(c.value);
    if (kind == "box") {
        // A box holds at most 9 characters and reads back within 4 figures.
        EXPECT_LE(text.size(), 9u);
        EXPECT_NEAR(readLeadingNumber(text), c.value, std::fabs(c.value) * 5e-4);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, ShownNumber,
    testing::Values(
        ShownCase{"ratio", 0.000789901698899879, "0.0007899"},
        ShownCase{"ratio", -8.008e-07, "-8.008 × 10⁻⁷"},
        ShownCase{"ratio", 9.7534e-5, "9.753 × 10⁻⁵"}, ShownCase{"ratio", 1e-5, "1 × 10⁻⁵"},
        ShownCase{"ratio", 0.9999999986, "0.999999999"}, ShownCase{"ratio", 1.00004, "1.00004"},
        ShownCase{"ratio", 1 - 1e-14, "just below 1"}, ShownCase{"ratio", 1, "1"},
        ShownCase{"ratio", -0.0, "0"}, ShownCase{"ratio", -0.00004, "-4 × 10⁻⁵"},
        ShownCase{"ratio", 0.908757996, "0.9088"},
        ShownCase{"ratio", 528281787.7172, "5.283 × 10⁸"},
        ShownCase{"percent", 1 - 0.000164, "99.98 %"},
        ShownCase{"percent", 1 - 1e-12, "nearly 100 %"}, ShownCase{"percent", 1, "100.0 %"},
        ShownCase{"percent", 0.0956, "9.6 %"}, ShownCase{"percent", 0.000146, "0.0146 %"},
        ShownCase{"angle", 1e-5, "0.000573°"}, ShownCase{"angle", -1e-7, "-5.73 × 10⁻⁶°"},
        ShownCase{"angle", 0, "0°"}, ShownCase{"angle", 1.2080, "69.2°"},
        ShownCase{"box", 5.47456622999916E-05, "5.475E-05"}, ShownCase{"box", 0.1278, "0.1278"},
        ShownCase{"box", 0.000123456, "0.0001235"}, ShownCase{"box", 2.19723412, "2.197"},
        ShownCase{"box", 12345.6, "12346"}),
    [](const testing::TestParamInfo<ShownCase>& info) {
        return std::string(info.param.kind) + "_row" + std::to_string(info.index);
    });

} // namespace cdnozzle
