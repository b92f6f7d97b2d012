#include "video/debug_trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace trevanto {

bool DebugTraceEnabled() {
    static const bool enabled = std::getenv("TREVANTO_DEBUG") != nullptr;
    return enabled;
}

void DebugTrace(const char* format, ...) {
    if (!DebugTraceEnabled())
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

}  // namespace trevanto
