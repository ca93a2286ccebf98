#include "cli/cli.h"
#include "cli/csv.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun runCli(std::vector<std::string> args, const std::string& input = {})
{
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = cli::run(args, in, out, err);
    return {status, out.str(), err.str()};
}

struct CliCase {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* out;
    const char* errContains;
};

// Names the case in test listings.
[[maybe_unused]] void PrintTo(const CliCase& c, std::ostream* os)
{
    *os << c.name;
}

// clang-format off
const CliCase cliCases[] = {
    {"design_k075", {"design", "30", "0.4", "50", "6", "0", "50", "40"}, 0,
     "L=31.5450\nQtc=0.5580\nFb=31.39\n", ""},
    {"design_k06", {"design", "30", "0.6", "50", "6", "1", "50", "30"}, 0,
     "L=60.1991\nQtc=1.0631\nFb=27.34\n", ""},
    {"design_leading_blank_kept", {"design", "9", "0.3", "10", "6", "0", "10", "100"}, 0,
     "L=65.9459\nQtc=0.2926\nFb= 6.58\n", ""},
    {"design_negative_length", {"design", "100", "0.3", "10", "6", "0", "10", "100"}, 0,
     "L=-2.2456\nQtc=0.2926\nFb=73.15\n", ""},
    {"design_empty_re", {"design", "30", "0.4", "50", "6", "", "50", "40"}, 1,
     "L=\nQtc=\nFb=\n", "Re is empty"},
    {"design_zero_vb", {"design", "30", "0.4", "50", "6", "0", "50", "0"}, 1,
     "L=\nQtc=\nFb=\n", "Vb is not greater than 0"},
    {"design_negative_re", {"design", "30", "0.4", "50", "6", "-1", "50", "40"}, 1,
     "L=\nQtc=\nFb=\n", "Re is negative"},
    {"design_tiny_fs", {"design", "3e-39", "0.3", "10", "6", "0", "10", "100"}, 1,
     "L=\nQtc=\nFb=\n", "Fb stores as 0"},
    {"design_overflow", {"design", "1e99", "0.4", "50", "6", "0", "50", "40"}, 2,
     "L=\nQtc=\nFb=\n", "Floating point overflow.\n"},
    {"design_json", {"--json", "design", "9", "0.3", "10", "6", "0", "10", "100"}, 0,
     "{\"L\":\"65.9459\",\"Qtc\":\"0.2926\",\"Fb\":\" 6.58\",\"status\":\"ok\"}\n", ""},
    {"design_json_cleared", {"--json", "design", "", "0.3", "10", "6", "0", "10", "100"}, 1,
     "{\"L\":\"\",\"Qtc\":\"\",\"Fb\":\"\",\"status\":\"empty\",\"reason\":\"Fs is empty\"}\n",
     "Fs is empty"},
    // everything after the command is a field text, even an option's name
    {"design_option_as_text", {"design", "--json", "0.4", "50", "6", "0", "50", "40"}, 1,
     "L=\nQtc=\nFb=\n", "Fs is not greater than 0"},
    {"area_circle", {"area", "circle", "2.5"}, 0, "S=19.6350\n", ""},
    {"area_circle_count", {"area", "circle", "5", "2"}, 0, "S=157.0796\n", ""},
    {"area_rectangle", {"area", "rectangle", "0.25", "0.125"}, 0, "S=0.0313\n", ""},
    {"area_square", {"area", "square", "10", "2"}, 0, "S=200.0000\n", ""},
    {"area_triangle", {"area", "triangle", "1000"}, 0, "S=433012.7000\n", ""},
    {"area_count_zero", {"area", "circle", "1", "0"}, 0, "S=0.0000\n", ""},
    {"area_count_negative", {"area", "circle", "1", "-1"}, 0, "S=-3.1416\n", ""},
    {"area_b_empty", {"area", "rectangle", "10", ""}, 1, "S=\n", "side b is empty"},
    {"area_zero_radius", {"area", "circle", "."}, 1, "S=\n", "radius is not greater than 0"},
    {"area_overflow", {"area", "circle", "1e99"}, 2, "S=\n", "Floating point overflow.\n"},
    {"area_json", {"--json", "area", "square", "10"}, 0, "{\"S\":\"100.0000\",\"status\":\"ok\"}\n", ""},
    {"usage_nothing", {}, 64, "", "usage:"},
    {"usage_unknown_command", {"volume"}, 64, "", "unknown command"},
    {"usage_unknown_option", {"--xml", "design"}, 64, "", "unknown option"},
    {"usage_design_arity", {"design", "30", "0.4"}, 64, "", "seven field texts"},
    {"usage_area_shape", {"area", "hexagon", "1"}, 64, "", "needs a shape"},
    {"usage_area_arity", {"area", "rectangle", "1"}, 64, "", "2 dimensions"},
    {"usage_area_too_many", {"area", "circle", "1", "2", "3"}, 64, "", "1 dimension"},
};
// clang-format on

class CliTest : public ::testing::TestWithParam<CliCase> { };

TEST_P(CliTest, OutputAndStatus)
{
    const CliCase& c = GetParam();
    const CliRun r = runCli(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    EXPECT_NE(r.err.find(c.errContains), std::string::npos) << r.err;
    if (c.status == 0) {
        EXPECT_EQ(r.err, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Cli, CliTest, ::testing::ValuesIn(cliCases),
                         [](const auto& tp) { return std::string(tp.param.name); });

TEST(CliBatch, AddsResultsAndStatusPerRow)
{
    const CliRun r = runCli({"batch"},
                            "FS,Qts,vas,rdc,re,s,vb\r\n"
                            "30,0.4,50,6,0,50,40\r\n"
                            "9,0.3,10,6,0,10,100\n"
                            "\n"
                            "\" 30\",0.4,50,6,,50,40\n"
                            "1e99,0.4,50,6,0,50,40\n"
                            "\"30\"\"\",0.4,50,6,0,50,40");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "fs,qts,vas,rdc,re,s,vb,l,qtc,fb,status\n"
              "30,0.4,50,6,0,50,40,31.5450,0.5580,31.39,ok\n"
              "9,0.3,10,6,0,10,100,65.9459,0.2926,\" 6.58\",ok\n"
              "\" 30\",0.4,50,6,,50,40,,,,empty\n"
              "1e99,0.4,50,6,0,50,40,,,,overflow\n"
              "\"30\"\"\",0.4,50,6,0,50,40,31.5450,0.5580,31.39,ok\n");
}

TEST(CliBatch, MalformedInputIsADataError)
{
    struct Case {
        const char* input;
        const char* err;
    };
    // clang-format off
    const Case cases[] = {
        {"", "no header"},
        {"fs,qts\n", "header must be"},
        {"fs,qts,vas,rdc,re,s,vb\n30,0.4\n", "line 2: expected 7 fields, found 2"},
        {"fs,qts,vas,rdc,re,s,vb\n\"30,0.4,50,6,0,50,40\n", "unterminated quoted field"},
        {"fs,qts,vas,rdc,re,s,vb\n\"30\"x,0.4,50,6,0,50,40\n", "after a closing quote"},
        // line breaks inside quotes count, whatever the line ends are
        {"fs,qts,vas,rdc,re,s,vb\n\"3\n0\",0.4,50,6,0,50,40\n1,2\n", "line 4: expected 7"},
        {"fs,qts,vas,rdc,re,s,vb\r\n\"3\r\n0\",0.4,50,6,0,50,40\r\n1,2\r\n", "line 4: expected 7"},
        {"fs,qts,vas,rdc,re,s,vb\r\"3\r0\",0.4,50,6,0,50,40\r1,2\r", "line 4: expected 7"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const CliRun r = runCli({"batch"}, c.input);
        EXPECT_EQ(r.status, cli::exitDataError) << c.input;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
    EXPECT_EQ(runCli({"batch", "/nonexistent/designs.csv"}).status, cli::exitNoInput);
}

TEST(Csv, FieldsQuotedOnlyWhenTheyMustBe)
{
    EXPECT_EQ(cli::csvField("31.39"), "31.39");
    EXPECT_EQ(cli::csvField(" 6.58"), "\" 6.58\"");
    EXPECT_EQ(cli::csvField("a,b"), "\"a,b\"");
    EXPECT_EQ(cli::csvField("say \"x\""), "\"say \"\"x\"\"\"");
    EXPECT_EQ(cli::csvField(""), "");
}

TEST(Csv, ReadsWhatItWrites)
{
    const std::vector<std::string> fields{" 6.58", "a,b", "q\"uote", "two\nlines", "", "x"};
    std::istringstream in(cli::csvRecord(fields) + "\n");
    cli::CsvReader reader(in);
    std::vector<std::string> back;
    ASSERT_TRUE(reader.next(back)) << reader.error();
    EXPECT_EQ(back, fields);
    EXPECT_FALSE(reader.next(back));
    EXPECT_EQ(reader.error(), "");
}

// The real program, once: arguments, streams and exit status end to end.
TEST(CliBinary, RealProgramPrintsTheWindowTexts)
{
    const std::string command =
        std::string(VENTBOX_CALC) + " design 9 0.3 10 6 0 10 100 2>&1; echo status=$?";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    std::array<char, 256> buf{};
    while (std::fgets(buf.data(), static_cast<int>(buf.size()), pipe))
        output += buf.data();
    ASSERT_EQ(pclose(pipe), 0);
    EXPECT_EQ(output, "L=65.9459\nQtc=0.2926\nFb= 6.58\nstatus=0\n");
}

TEST(CliBinary, RealProgramExitStatuses)
{
    const struct {
        const char* args;
        int status;
    } cases[] = {
        {"design '' 0.4 50 6 0 50 40", 1},
        {"design 1e99 0.4 50 6 0 50 40", 2},
        {"area circle 0", 1},
        {"bogus", 64},
        {"--version", 0},
    };
    for (const auto& c : cases) {
        const std::string command = std::string(VENTBOX_CALC) + " " + c.args + " >/dev/null 2>&1";
        const int raw = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(raw)) << c.args;
        EXPECT_EQ(WEXITSTATUS(raw), c.status) << c.args;
    }
}

} // namespace
