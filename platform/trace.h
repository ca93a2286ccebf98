#pragma once
// Timing trace for the benchmarks: when the environment variable
// VENTBOX_TRACE names a file, the program appends one line per event,
// "<event> <window> <CLOCK_MONOTONIC nanoseconds>": each window's first
// show and first paint. Without the variable nothing is installed.

namespace platform {

void installTraceFromEnvironment();

} // namespace platform
