#include "platform/debug.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace platform {
namespace {

std::mutex& SinkLock() {
    static std::mutex lock;
    return lock;
}

std::function<void(const std::string&)>& Sink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}

}  // namespace

bool DebugEnabled() {
    const char* value = std::getenv("ZENTRI_DEBUG");
    return value && *value && std::strcmp(value, "0") != 0;
}

void DebugWrite(const std::string& text) {
    std::lock_guard<std::mutex> guard(SinkLock());
    if (Sink()) {
        Sink()(text);
    } else if (DebugEnabled()) {
        std::fputs(text.c_str(), stderr);
        std::fflush(stderr);
    }
}

void DebugPrintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    DebugWrite(text);
}

void SetDebugSink(std::function<void(const std::string&)> sink) {
    std::lock_guard<std::mutex> guard(SinkLock());
    Sink() = std::move(sink);
}

}  // namespace platform
