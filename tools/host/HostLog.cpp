#include "HostLog.h"

#include <cstdarg>

namespace tarn {
namespace kova {
namespace host {

int HostLog::writeBuffer(const void* data, int size) {
    if (!data || size <= 0) return 0;
    pending_.append(static_cast<const char*>(data), static_cast<std::size_t>(size));
    std::size_t end;
    while ((end = pending_.find('\n')) != std::string::npos) {
        std::string line = pending_.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        pending_.erase(0, end + 1);
        addLine(std::move(line));
    }
    return size;
}

void HostLog::printf(const char* format, ...) {
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    addLine(std::string("KovaHost: ") + text);
}

void HostLog::addLine(std::string line) {
    if (echo_) std::fprintf(echo_, "%s\n", line.c_str());
    lines_.push_back(std::move(line));
}

}  // namespace host
}  // namespace kova
}  // namespace tarn
