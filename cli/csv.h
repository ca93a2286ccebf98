#pragma once
// A small CSV reader and writer (RFC 4180: "," between fields, CRLF or LF
// between records, quoted fields with "" for a quote) for the batch mode.

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

class CsvReader {
public:
    explicit CsvReader(std::istream& in) : in_(in) { }

    // Reads the next record into `fields`. Returns false at the end of the
    // input or on malformed input; error() then says which (empty at the end).
    bool next(std::vector<std::string>& fields);
    [[nodiscard]] const std::string& error() const { return error_; }
    // The line on which the record last returned (or the error) began.
    [[nodiscard]] int line() const { return recordLine_; }

private:
    std::istream& in_;
    std::string error_;
    int currentLine_ = 1;
    int recordLine_ = 0;
};

// One field as it must stand in a record: quoted when it holds a separator,
// a quote, a line break, or a blank at either end (which some readers trim).
std::string csvField(std::string_view text);
std::string csvRecord(const std::vector<std::string>& fields);

} // namespace cli
