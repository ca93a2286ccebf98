#pragma once
// ventbox-calc: the command-line calculator on the calculation core.

#include <iosfwd>
#include <span>
#include <string>

namespace cli {

// Exit statuses.
enum ExitStatus : int {
    exitOk = 0,         // results filled; also help, version and a batch run
    exitCleared = 1,    // results cleared, the reason on standard error
    exitOverflow = 2,   // floating point overflow
    exitUsage = 64,     // EX_USAGE
    exitDataError = 65, // EX_DATAERR: malformed CSV
    exitNoInput = 66,   // EX_NOINPUT: batch file not readable
    exitIoError = 74,   // EX_IOERR: the results did not get out
};

// Runs the program on `args` (without the program name).
ExitStatus run(std::span<const std::string> args, std::istream& in, std::ostream& out,
               std::ostream& err);

} // namespace cli
