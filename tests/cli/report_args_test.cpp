// SPDX-License-Identifier: MIT
// The report command's argument grammar, one row per way of writing it.
#include "report_args.h"
#include "report_output.h"
#include "test_names.h"

#include <gtest/gtest.h>

namespace cdnozzle {

namespace {

struct ArgsCase {
    std::vector<std::string> argv;
    std::string error; // empty: understood
    std::string me = "2", amax = "3", pepo = "1";
    std::optional<std::string> csv = std::nullopt;
    bool json = false;
};

std::ostream& operator<<(std::ostream& out, const ArgsCase& c)
{
    for (const std::string& a : c.argv) out << '[' << a << ']';
    return out;
}

} // namespace

class ReportArgsGrammar : public testing::TestWithParam<ArgsCase> {};

TEST_P(ReportArgsGrammar, ReadsWhatWasMeant)
{
    const ArgsCase& c = GetParam();
    const ParsedArgs parsed = parseReportArgs(c.argv);
    EXPECT_EQ(parsed.error, c.error);
    if (!c.error.empty()) return;
    EXPECT_EQ(parsed.args.texts.me_sup, c.me);
    EXPECT_EQ(parsed.args.texts.amax, c.amax);
    EXPECT_EQ(parsed.args.texts.pe_po, c.pepo);
    EXPECT_EQ(parsed.args.csv, c.csv);
    EXPECT_EQ(parsed.args.json, c.json);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReportArgsGrammar,
    testing::Values(
        ArgsCase{{}, ""}, ArgsCase{{"--me-sup", "2.5", "--pe-po", "0.6"}, "", "2.5", "3", "0.6"},
        ArgsCase{{"--me-sup=2.5", "--amax=-5"}, "", "2.5", "-5"},
        // A negative number is a value, not an option.
        ArgsCase{{"--amax", "-0.5"}, "", "2", "-0.5"},
        // "--x=" is the empty text, and never takes the next argument.
        ArgsCase{{"--amax=", "--pe-po=0.5"}, "", "2", "", "0.5"},
        ArgsCase{{"--pe-po="}, "", "2", "3", ""},
        ArgsCase{{"--pe-po", "0.5=x"}, "", "2", "3", "0.5=x"},
        ArgsCase{{"--me-sup", "--pe-po", "0.5"},
                 "--me-sup needs a value (--name= for an empty box)"},
        ArgsCase{{"--pe-po"}, "--pe-po needs a value (--name= for an empty box)"},
        ArgsCase{{"--csv", "--json"}, "--csv needs a file name (- for standard output)"},
        ArgsCase{{"--csv=", "--json"}, "--csv needs a file name (- for standard output)"},
        ArgsCase{{"--png", ""}, "--png needs a file name (- for standard output)"},
        // Standard output carries the file alone: nothing else is asked of it.
        ArgsCase{{"--csv", "-", "--json"},
                 "--json cannot go with --csv -, which writes that file alone to standard output"},
        ArgsCase{{"--png=-", "--explain"},
                 "--explain cannot go with --png -, which writes that "
                 "file alone to standard output"},
        ArgsCase{{"--csv=-", "--svg", "-"},
                 "only one of --png, --svg and --csv can write to standard output"},
        // Two outputs under one name would keep only the second.
        ArgsCase{{"--png", "a.out", "--svg", "./a.out"},
                 "--png and --svg name the same file a.out; give each its own"},
        ArgsCase{{"--svg", "/tmp/../tmp/b", "--csv", "/tmp/b"},
                 "--svg and --csv name the same file /tmp/../tmp/b; give each its own"},
        ArgsCase{{"--png", "/dev/null", "--csv", "/dev/null"}, "", "2", "3", "1", "/dev/null"},
        ArgsCase{{"--pe-po", "0.5", "--pe-po", "0.6"}, "--pe-po is given more than once"},
        ArgsCase{{"--json", "--json"}, "--json is given more than once"},
        ArgsCase{{"--json=yes"}, "--json takes no value"},
        ArgsCase{{"--mesup", "2"}, "unknown option --mesup"}, ArgsCase{{"-x"}, "unknown option -x"},
        ArgsCase{{"2"}, "unexpected argument \"2\" (options start with --)"},
        ArgsCase{{"--csv", "t.csv", "--json"}, "", "2", "3", "1", "t.csv", true},
        ArgsCase{{"--explain", "--json"}, "", "2", "3", "1", std::nullopt, true},
        ArgsCase{{"--sweep", "1:0.5:0.01", "--frames", "out"}, ""},
        ArgsCase{{"--sweep", "1:0.5:0.01"}, "--sweep and --frames go together"},
        ArgsCase{{"--sweep=", "--frames", "out"}, "--sweep needs a value"},
        ArgsCase{{"--sweep", "1:0.5:0.01", "--frames", "-"},
                 "--frames needs a folder, not standard output"},
        ArgsCase{{"--gas", "air", "--k", "1.4"}, "give the gas by --gas or by --k, not both"},
        ArgsCase{{"--throat-area", "1", "--throat-diameter", "1"},
                 "give the throat by --throat-area or by --throat-diameter, not both"},
        ArgsCase{{"--pe-po", "0.5", "--altitude", "1"},
                 "give the back pressure by --pe-po or by --altitude, not both"},
        ArgsCase{{"--me-sup", "2", "--area-ratio", "2"},
                 "give the design by --me-sup or by --area-ratio, not both"},
        ArgsCase{{"--altitude-table", "0:86:1", "--json"},
                 "--json cannot go with --altitude-table, which writes the table only"},
        ArgsCase{{"--sweep", "1:0.5:0.01", "--frames", "out", "--pe-po=xyz"},
                 "--pe-po cannot go with --sweep, which sets Pe/Po itself"},
        ArgsCase{{"--sweep", "1:0.5:0.01", "--frames", "out", "--p0", "7MPa"},
                 "--p0 cannot go with --sweep, which writes frames only"},
        ArgsCase{{"--altitude-table", "0:86:1", "--pe-po", "0.5"},
                 "--pe-po cannot go with --altitude-table, which takes the back pressure from "
                 "each altitude"},
        ArgsCase{{"--altitude-table", "0:86:1", "--altitude", "3"},
                 "--altitude cannot go with --altitude-table, which writes the table only"}),
    [](const testing::TestParamInfo<ArgsCase>& info) {
        std::string name;
        for (const std::string& a : info.param.argv)
            name += (name.empty() ? "" : "_") + test::caseName(a);
        return (info.param.error.empty() ? "reads_" : "refuses_") +
               (name.empty() ? "nothing" : name);
    });

struct SweepCase {
    std::string text;
    std::vector<std::string> values; // empty: refused
};

TEST(ReportArgs, SweepValuesAreWhatABoxWouldShow)
{
    const std::vector<SweepCase> cases{
        {"0.5:0.53:0.01", {"0.5", "0.51", "0.52", "0.53"}},
        {"1:0.97:0.01", {"1", "0.99", "0.98", "0.97"}},
        {"0.3:0.3:0.1", {"0.3"}},
        {"0.1:0.2:0.03", {"0.1", "0.13", "0.16", "0.19"}},
        // Decimal steps come out as the decimals a person writes.
        {"0.001:0:0.0001",
         {"0.001", "0.0009", "0.0008", "0.0007", "0.0006", "0.0005", "0.0004", "0.0003", "0.0002",
          "0.0001", "0"}},
        {"1e-2:1E-3:1d-3",
         {"0.01", "0.009", "0.008", "0.007", "0.006", "0.005", "0.004", "0.003", "0.002", "0.001"}},
        {"1:0.5", {}},
        {"1:0.5:0", {}},
        {"1:0.5:-0.1", {}},
        {"a:0.5:0.1", {}},
        {"1:0:1e-9", {}}, // more frames than anyone wants
    };
    for (const SweepCase& c : cases) {
        std::string error;
        EXPECT_EQ(sweepValues(c.text, error), c.values) << c.text;
        EXPECT_EQ(error.empty(), !c.values.empty()) << c.text << ": " << error;
    }
    std::string error;
    EXPECT_EQ(sweepValues("1:0.5:0.01", error).size(), 51u);
}

// The help follows what the report writes, also when a key is added.
TEST(ReportArgs, HelpNamesEveryTableColumnAndJsonKey)
{
    const std::string usage = reportUsage();
    const InputTexts texts{"2", "3", "0.8"};
    NozzleModel model(texts);
    ASSERT_FALSE(model.calculate(texts));
    const nlohmann::json json = reportJson(model, {});
    std::vector<std::string> names{"explanation", "engine"};
    for (const auto& item : json.items()) names.push_back(item.key());
    for (const auto& item : json["stations"][0].items()) names.push_back(item.key());
    for (const std::string& name : names)
        EXPECT_NE(usage.find("\n  " + name + " "), std::string::npos) << name;
    EXPECT_EQ(names.size(), kReportJsonKeys.size() + kStationColumns.size());
    EXPECT_EQ(usage.find("k = 1.4"), std::string::npos) << "k follows --k";
}

TEST(ReportArgs, HelpAndVersion)
{
    EXPECT_TRUE(parseReportArgs({"-h"}).args.help);
    EXPECT_TRUE(parseReportArgs({"--version"}).args.version);
    const std::string usage = reportUsage();
    for (const char* option :
         {"--me-sup", "--amax", "--pe-po", "--json", "--png", "--svg", "--csv", "--unsteady"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

} // namespace cdnozzle
