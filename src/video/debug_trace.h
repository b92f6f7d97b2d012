#pragma once
// Diagnostics the user never sees. They go to stderr only when the
// environment variable TREVANTO_DEBUG is set, so that they never mix with a
// front end's own output.
namespace trevanto {

bool DebugTraceEnabled();
void DebugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace trevanto
