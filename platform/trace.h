#pragma once
// Timing trace for the benchmarks: when the environment variable
// VENTBOX_TRACE names a file, the program appends one line per event,
// "<event> <window> <CLOCK_MONOTONIC nanoseconds>": each window's first
// show ("shown") and first paint ("painted"), the window named by its
// object name. Without the variable nothing is installed; a file that
// cannot be opened is reported on stderr and the program runs untraced.
// The benchmarks' minimal Qt program uses the same trace.

namespace platform {

void installTraceFromEnvironment();

} // namespace platform
