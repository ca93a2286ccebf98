#include "tables.h"

#include "cli/cli.h"
#include "cli/csv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#elif !defined(_WIN32)
#include <sys/wait.h>
#endif

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

// One argument for the shell that std::system runs: sh, or cmd.exe, whose
// quotes the C runtime of the program reads.
std::string quoted(const std::string& arg)
{
#ifdef _WIN32
    std::string q = "\"";
    for (const char c : arg)
        q += c == '"' ? std::string("\\\"") : std::string(1, c);
    return q + '"';
#else
    std::string q = "'";
    for (const char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + '\'';
#endif
}

std::string fileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

#ifdef __EMSCRIPTEN__
// Under Node a WebAssembly program has no shell of its own: the host's
// runs the command, and gives its exit status.
// clang-format off
EM_JS(int, hostShell, (const char* command), {
    const r = require('child_process').spawnSync('/bin/sh', ['-c', UTF8ToString(command)]);
    return r.status === null ? -1 : r.status;
})
// clang-format on
#endif

// The real program (ventbox-calc, ventbox-calc.exe under Wine, or
// ventbox-calc.js under Node), run as a shell runs it, with standard output
// and error in files. `redirect`, if
// given, sends standard output elsewhere instead.
CliRun runProgram(const std::vector<std::string>& args, const std::string& redirect = {})
{
    const auto base = std::filesystem::temp_directory_path()
        / ("ventbox-cli-test-" + std::to_string(std::random_device{}()));
    const auto out = base.string() + ".out";
    const auto err = base.string() + ".err";
    std::string command = quoted(VENTBOX_CALC);
    for (const std::string& arg : args) {
        command += ' ';
        command += quoted(arg);
    }
    command += " > ";
    command += redirect.empty() ? quoted(out) : redirect;
    command += " 2> ";
    command += quoted(err);
#ifdef _WIN32
    // cmd.exe /c takes the first and the last quote away.
    command.insert(command.begin(), '"');
    command += '"';
    const int status = std::system(command.c_str());
#elif defined(__EMSCRIPTEN__)
    const int status = hostShell(command.c_str());
#else
    const int raw = std::system(command.c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    CliRun run{status, fileText(out), fileText(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return run;
}

// Text as the real program writes it: lines end in CR LF on Windows.
std::string written(const std::string& text)
{
#ifdef _WIN32
    std::string crlf;
    for (const char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return crlf;
#else
    return text;
#endif
}

// Runs in process, and then the real program, which must print and return
// the same.
CliRun runBoth(const std::vector<std::string>& args)
{
    const CliRun r = runCli(args);
    const CliRun real = runProgram(args);
    EXPECT_EQ(real.status, r.status) << "the real program's status";
    EXPECT_EQ(real.out, written(r.out)) << "the real program's output";
    EXPECT_EQ(real.err, written(r.err)) << "the real program's errors";
    return r;
}

std::vector<std::string> designArgs(const tables::Design& d)
{
    std::vector<std::string> args{"design"};
    args.insert(args.end(), d.in.begin(), d.in.end());
    return args;
}

// The example designs: the window's texts, nothing on standard error.
class CliDesignTest : public ::testing::TestWithParam<tables::Design> { };

TEST_P(CliDesignTest, PrintsTheWindowsTexts)
{
    const tables::Design& d = GetParam();
    const CliRun r = runBoth(designArgs(d));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, std::string("L=") + d.length + "\nQtc=" + d.qtc + "\nFb=" + d.fb + "\n");
    EXPECT_EQ(r.err, "");
}

INSTANTIATE_TEST_SUITE_P(Typed, CliDesignTest, ::testing::ValuesIn(tables::designs),
                         tables::ByName());
INSTANTIATE_TEST_SUITE_P(Untyped, CliDesignTest, ::testing::ValuesIn(tables::untypedDesigns),
                         tables::ByName());

// The example areas: the window's text, or no area with status 1 and the
// reason on standard error.
class CliAreaTest : public ::testing::TestWithParam<tables::Area> { };

TEST_P(CliAreaTest, PrintsTheWindowsText)
{
    static const char* const shapes[] = {"circle", "rectangle", "square", "triangle"};
    const tables::Area& a = GetParam();
    std::vector<std::string> args{"area", shapes[static_cast<int>(a.shape)]};
    for (const char* d : a.dims)
        if (d)
            args.emplace_back(d);
    args.emplace_back(a.count);
    const CliRun r = runBoth(args);
    const bool filled = a.outcome == calc::Outcome::Filled;
    EXPECT_EQ(r.status, filled ? 0 : 1);
    EXPECT_EQ(r.out, std::string("S=") + a.text + "\n");
    EXPECT_EQ(r.err.empty(), filled) << r.err;
}

INSTANTIATE_TEST_SUITE_P(Typed, CliAreaTest, ::testing::ValuesIn(tables::areas), tables::ByName());
INSTANTIATE_TEST_SUITE_P(Untyped, CliAreaTest, ::testing::ValuesIn(tables::untypedAreas),
                         tables::ByName());

struct CliCase : tables::Row {
    std::vector<std::string> args;
    int status;
    const char* out;
    const char* errContains; // "": nothing on standard error
};

// clang-format off
const CliCase cliCases[] = {
    {"design_empty_re", {"design", "30", "0.4", "50", "6", "", "50", "40"}, 1, "L=\nQtc=\nFb=\n", "Re is empty"},
    {"design_zero_vb", {"design", "30", "0.4", "50", "6", "0", "50", "0"}, 1, "L=\nQtc=\nFb=\n", "Vb is not greater than 0"},
    {"design_negative_re", {"design", "30", "0.4", "50", "6", "-1", "50", "40"}, 1, "L=\nQtc=\nFb=\n", "Re is negative"},
    {"design_tiny_fs", {"design", "3e-39", "0.3", "10", "6", "0", "10", "100"}, 1, "L=\nQtc=\nFb=\n", "Fb stores as 0"},
    {"design_overflow", {"design", "1e99", "0.4", "50", "6", "0", "50", "40"}, 2, "L=\nQtc=\nFb=\n", "Floating point overflow.\n"},
    {"design_json", {"--json", "design", "9", "0.3", "10", "6", "0", "10", "100"}, 0, "{\"L\":\"65.9459\",\"Qtc\":\"0.2926\",\"Fb\":\" 6.58\",\"status\":\"ok\"}\n", ""},
    {"design_json_cleared", {"--json", "design", "", "0.3", "10", "6", "0", "10", "100"}, 1, "{\"L\":\"\",\"Qtc\":\"\",\"Fb\":\"\",\"status\":\"empty\",\"reason\":\"Fs is empty\"}\n", "Fs is empty"},
    // everything after the command is a field text, even an option's name
    {"design_option_as_text", {"design", "--json", "0.4", "50", "6", "0", "50", "40"}, 1, "L=\nQtc=\nFb=\n", "Fs is not greater than 0"},
    {"area_b_empty", {"area", "rectangle", "10", ""}, 1, "S=\n", "side b is empty"},
    {"area_zero_radius", {"area", "circle", "."}, 1, "S=\n", "radius is not greater than 0"},
    {"area_overflow", {"area", "circle", "1e99"}, 2, "S=\n", "Floating point overflow.\n"},
    {"area_count_left_out", {"area", "circle", "5"}, 0, "S=78.5398\n", ""},
    {"area_json", {"--json", "area", "square", "10"}, 0, "{\"S\":\"100.0000\",\"status\":\"ok\"}\n", ""},
    {"usage_nothing", {}, 64, "", "usage:"},
    {"usage_unknown_command", {"volume"}, 64, "", "unknown command"},
    {"usage_unknown_option", {"--xml", "design"}, 64, "", "unknown option"},
    {"usage_design_too_few", {"design", "30", "0.4"}, 64, "", "seven field texts"},
    {"usage_design_too_many", {"design", "30", "0.4", "50", "6", "0", "50", "40", "1"}, 64, "", "seven field texts"},
    {"usage_area_shape", {"area", "hexagon", "1"}, 64, "", "needs a shape"},
    {"usage_area_arity", {"area", "rectangle", "1"}, 64, "", "2 dimensions"},
    {"usage_area_too_many", {"area", "circle", "1", "2", "3"}, 64, "", "1 dimension"},
    {"usage_json_batch", {"--json", "batch"}, 64, "", "--json does not apply to batch"},
    // The response's values were worked out apart from this program, in Python
    // (cmath) from Small's G(s) with the design's Fb, F3 by bisection on |G|.
    {"response_k075", {"response", "30", "0.4", "50", "6", "0", "50", "40", "--points", "3", "--from", "20", "--to", "80"}, 0,
     "L=31.5450\nQtc=0.5580\nFb=31.39\nF3=32.14\nPeak=0.23 dB at 62.75 Hz\n       Hz       dB       ms\n"
     "    20.00   -15.63    16.84\n    40.00    -0.60    11.77\n    80.00     0.19     2.24\n", ""},
    {"response_hump_json", {"--json", "--points", "3", "--from", "20", "--to", "80", "response", "30", "0.6", "50", "6", "1", "50", "30"}, 0,
     "{\"L\":\"60.1991\",\"Qtc\":\"1.0631\",\"Fb\":\"27.34\",\"status\":\"ok\",\"f3\":34.3231,\"peak\":{\"db\":4.03974,\"hz\":58.8794},"
     "\"points\":[{\"hz\":20,\"db\":-11.441,\"delay_ms\":19.6386},{\"hz\":40,\"db\":-0.132789,\"delay_ms\":8.87549},{\"hz\":80,\"db\":2.89162,\"delay_ms\":2.66102}]}\n", ""},
    {"response_ql_csv", {"response", "30", "0.4", "50", "6", "0", "50", "40", "--csv", "--ql", "3", "--points", "3", "--from", "20", "--to", "80"}, 0,
     "hz,db,delay_ms\n20,-16.6628,16.993\n40,-2.42699,10.506\n80,-0.0167044,2.46581\n", ""},
    {"response_cleared", {"response", "30", "0.4", "50", "6", "", "50", "40"}, 1, "L=\nQtc=\nFb=\n", "Re is empty"},
    {"response_overflow", {"response", "1e99", "0.4", "50", "6", "0", "50", "40"}, 2, "L=\nQtc=\nFb=\n", "Floating point overflow.\n"},
    {"response_from_above_to", {"response", "30", "0.4", "50", "6", "0", "50", "40", "--from", "200", "--to", "100"}, 64, "", "--from must lie below --to"},
    {"response_from_zero", {"response", "30", "0.4", "50", "6", "0", "50", "40", "--from", "0"}, 64, "", "--from needs a positive number"},
    {"response_one_point", {"response", "30", "0.4", "50", "6", "0", "50", "40", "--points", "1"}, 64, "", "from 2 to 10000"},
    {"response_too_many_points", {"response", "30", "0.4", "50", "6", "0", "50", "40", "--points", "10001"}, 64, "", "from 2 to 10000"},
    {"response_ql_trailing", {"response", "30", "0.4", "50", "6", "0", "50", "40", "--ql", "7x"}, 64, "", "--ql needs a positive number, not \"7x\""},
    {"response_ql_empty", {"response", "30", "0.4", "50", "6", "0", "50", "40", "--ql", ""}, 64, "", "--ql needs a positive number"},
    {"response_ql_nan", {"response", "30", "0.4", "50", "6", "0", "50", "40", "--ql", "nan"}, 64, "", "--ql needs a positive number"},
    {"response_ql_inf", {"response", "30", "0.4", "50", "6", "0", "50", "40", "--ql", "inf"}, 64, "", "--ql needs a positive number"},
    {"response_unknown_option", {"response", "30", "0.4", "50", "6", "0", "50", "40", "--xml"}, 64, "", "unknown option --xml"},
    {"response_option_among_texts", {"response", "--ql", "5", "30", "0.4", "50", "6", "0", "50"}, 64, "", "seven field texts, then its options"},
    {"response_json_and_csv", {"--json", "response", "30", "0.4", "50", "6", "0", "50", "40", "--csv"}, 64, "", "exclude each other"},
    {"response_svg_unwritable", {"response", "30", "0.4", "50", "6", "0", "50", "40", "--svg", "no-such-dir/box.svg"}, 74, "", "cannot write no-such-dir/box.svg"},
    {"batch_ql_without_response", {"batch", "--ql", "5"}, 64, "", "--ql applies only with --response"},
    {"design_takes_no_ql", {"--ql", "5", "design", "30", "0.4", "50", "6", "0", "50", "40"}, 64, "", "--ql does not apply to design"},
};
// clang-format on

class CliTest : public ::testing::TestWithParam<CliCase> { };

TEST_P(CliTest, OutputAndStatus)
{
    const CliCase& c = GetParam();
    const CliRun r = runBoth(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    if (*c.errContains == '\0')
        EXPECT_EQ(r.err, "");
    else
        EXPECT_NE(r.err.find(c.errContains), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(Cli, CliTest, ::testing::ValuesIn(cliCases), tables::ByName());

// From standard input, named "-" or not named at all.
TEST(CliBatch, AddsResultsAndStatusPerRow)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"batch"}, {"batch", "-"}}) {
        const CliRun r = runCli(args,
                                "FS,Qts,vas,rdc,re,s,vb\r\n"
                                "30,0.4,50,6,0,50,40\r\n"
                                "9,0.3,10,6,0,10,100\n"
                                "\n"
                                "\" 30\",0.4,50,6,,50,40\n"
                                "1e99,0.4,50,6,0,50,40\n"
                                "30,0.4,50,6,0,50,\"40\"\r\n"
                                "\"30\"\"\",0.4,50,6,0,50,40");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out,
                  "fs,qts,vas,rdc,re,s,vb,l,qtc,fb,status\n"
                  "30,0.4,50,6,0,50,40,31.5450,0.5580,31.39,ok\n"
                  "9,0.3,10,6,0,10,100,65.9459,0.2926,\" 6.58\",ok\n"
                  "\" 30\",0.4,50,6,,50,40,,,,empty\n"
                  "1e99,0.4,50,6,0,50,40,,,,overflow\n"
                  "30,0.4,50,6,0,50,40,31.5450,0.5580,31.39,ok\n"
                  "\"30\"\"\",0.4,50,6,0,50,40,31.5450,0.5580,31.39,ok\n");
    }
}

// With --response, F3 and the peak's level (the values from Python, as for
// the response rows above); none for a cleared design.
TEST(CliBatch, ResponseAddsF3AndPeak)
{
    const CliRun r = runCli({"batch", "--response"},
                            "fs,qts,vas,rdc,re,s,vb\n30,0.4,50,6,0,50,40\n30,0.4,50,6,,50,40\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "fs,qts,vas,rdc,re,s,vb,l,qtc,fb,status,f3,peak_db\n"
              "30,0.4,50,6,0,50,40,31.5450,0.5580,31.39,ok,32.141,0.232157\n"
              "30,0.4,50,6,,50,40,,,,empty,,\n");
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
    EXPECT_EQ(cli::csvField("3\r0"), "\"3\r0\"");
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

// The real program where the tables cannot show it: its version, and
// results that cannot be written.
TEST(CliBinary, VersionAndUnwritableOutput)
{
    const CliRun version = runProgram({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, written(runCli({"--version"}).out));
#ifndef _WIN32
    EXPECT_EQ(runProgram({"design", "30", "0.4", "50", "6", "0", "50", "40"}, "/dev/full").status,
              cli::exitIoError);
#endif
}

} // namespace
