#pragma once
// The platform's debug output: lines go to stderr when ZENTRI_DEBUG is set (to anything but
// "0"), otherwise nowhere. Tests may capture them with SetDebugSink.

#include <functional>
#include <string>

namespace platform {

bool DebugEnabled();
// printf-style, as the program's debug lines are written ("save cab to %s\n").
void DebugPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void DebugWrite(const std::string& text);

// Receives every debug line, whether or not ZENTRI_DEBUG is set; null restores stderr.
void SetDebugSink(std::function<void(const std::string&)> sink);

}  // namespace platform
