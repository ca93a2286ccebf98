#pragma once
// ventbox-calc: the command-line calculator on the calculation core.

#include <iosfwd>
#include <span>
#include <string>

namespace cli {

// Exit statuses.
inline constexpr int exitFilled = 0;
inline constexpr int exitCleared = 1;
inline constexpr int exitOverflow = 2;
inline constexpr int exitUsage = 64;     // EX_USAGE
inline constexpr int exitDataError = 65; // EX_DATAERR: malformed CSV
inline constexpr int exitNoInput = 66;   // EX_NOINPUT: batch file not readable

// Runs the program on `args` (without the program name).
int run(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace cli
