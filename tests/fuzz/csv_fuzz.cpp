// Fuzz target: any bytes as the batch mode's CSV input, to the reader alone
// and to `ventbox-calc batch` as a whole.

#include "check.h"

#include "cli/cli.h"
#include "cli/csv.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Records = std::vector<std::vector<std::string>>;

struct Reading {
    Records records;
    std::string error; // empty when the input was read to its end
    std::vector<int> lines;
};

Reading readAll(const std::string& input)
{
    std::istringstream in(input);
    cli::CsvReader reader(in);
    Reading r;
    std::vector<std::string> fields;
    while (reader.next(fields)) {
        r.records.push_back(fields);
        r.lines.push_back(reader.line());
    }
    r.error = reader.error();
    if (r.error.empty())
        FUZZ_CHECK(in.peek() == std::char_traits<char>::eof(),
                   "stopped before the end without an error: " + quoted(input));
    return r;
}

std::string written(const Records& records)
{
    std::string out;
    for (const auto& fields : records)
        out += cli::csvRecord(fields) + "\n";
    return out;
}

std::string show(const Records& records)
{
    std::string out;
    for (const auto& fields : records) {
        out += "[";
        for (const auto& f : fields)
            out += quoted(f) + " ";
        out += "] ";
    }
    return out;
}

// The reader on its own: line numbers that only grow, at least one field a
// record, and every record it returned written back and read again gives
// the same fields, with the line numbers of the text written.
void checkReader(const std::string& input)
{
    const Reading first = readAll(input);
    for (std::size_t i = 0; i < first.records.size(); ++i) {
        FUZZ_CHECK(!first.records[i].empty(), "a record without a field from " + quoted(input));
        FUZZ_CHECK(first.lines[i] >= 1 && (i == 0 || first.lines[i] > first.lines[i - 1]),
                   "record line " + std::to_string(first.lines[i]) + " from " + quoted(input));
    }
    const std::string again = written(first.records);
    const Reading second = readAll(again);
    FUZZ_CHECK(second.error.empty(), "written back, then " + second.error + ": " + quoted(again));
    FUZZ_CHECK(second.records == first.records,
               "read " + show(first.records) + "; written " + quoted(again) + " reads "
                   + show(second.records));
    // Written back, a record takes one line plus the line breaks in its
    // fields (LF, CRLF and a lone CR each end a line).
    int line = 1;
    for (std::size_t i = 0; i < second.records.size(); ++i) {
        FUZZ_CHECK(second.lines[i] == line,
                   "line of record " + std::to_string(i) + " in " + quoted(again));
        const std::string record = cli::csvRecord(second.records[i]);
        int breaks = 0;
        for (std::size_t k = 0; k < record.size(); ++k)
            breaks += record[k] == '\n'
                || (record[k] == '\r' && (k + 1 == record.size() || record[k + 1] != '\n'));
        line += 1 + breaks;
    }
}

// The batch mode: either the data error, or the header with the four
// results added and one row for every non-blank input row, its first seven
// fields those of the input.
void checkBatch(const std::string& input)
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const std::vector<std::string> args{"batch"};
    const cli::ExitStatus status = cli::run(args, in, out, err);
    const std::string where = "batch on " + quoted(input) + ": status " + std::to_string(status)
        + ", out " + quoted(out.str()) + ", err " + quoted(err.str());
    FUZZ_CHECK(status == cli::exitOk || status == cli::exitDataError, where);
    if (status == cli::exitDataError) {
        FUZZ_CHECK(err.str().starts_with("ventbox-calc: line "), where);
        return;
    }
    FUZZ_CHECK(err.str().empty(), where);

    const Reading source = readAll(input);
    FUZZ_CHECK(source.error.empty() && !source.records.empty(), where);
    const Reading result = readAll(out.str());
    FUZZ_CHECK(result.error.empty() && !result.records.empty(), where);
    const std::vector<std::string> header{"fs", "qts", "vas", "rdc", "re",    "s",
                                          "vb", "l",   "qtc", "fb",  "status"};
    FUZZ_CHECK(result.records[0] == header, where);

    std::size_t row = 1;
    for (std::size_t i = 1; i < source.records.size(); ++i) {
        const auto& fields = source.records[i];
        if (fields.size() == 1 && fields[0].empty())
            continue;
        FUZZ_CHECK(row < result.records.size(), "a row missing: " + where);
        const auto& got = result.records[row++];
        FUZZ_CHECK(got.size() == header.size(), where);
        FUZZ_CHECK(std::vector<std::string>(got.begin(), got.begin() + 7) == fields,
                   "row " + std::to_string(row - 1) + " does not repeat its input: " + where);
        const std::string& status4 = got[10];
        FUZZ_CHECK(status4 == "ok" || status4 == "empty" || status4 == "not-positive"
                       || status4 == "overflow",
                   where);
        const bool filled = status4 == "ok";
        for (std::size_t k = 7; k < 10; ++k)
            FUZZ_CHECK(got[k].empty() != filled,
                       "results and status disagree in row " + std::to_string(row - 1) + ": "
                           + where);
    }
    FUZZ_CHECK(row == result.records.size(), "rows added: " + where);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    checkReader(input);
    checkBatch(input);
    return 0;
}
