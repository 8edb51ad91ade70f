// The host's log: the engine's information stream kept line by line, with
// the host's own lines among them in the order they happened. Engine lines
// begin with "Kova: "; the host's begin with "KovaHost: ".
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace host {

class HostLog : public OStream {
public:
    // echo, when not null, also receives every line as it completes.
    explicit HostLog(std::FILE* echo = nullptr) : echo_(echo) {}

    // The engine writes its lines here, "\r\n" at their ends.
    int writeBuffer(const void* data, int size) override;

    // Adds one line of the host's own: "KovaHost: " and the formatted text.
    void printf(const char* format, ...) KOVA_PRINTF_FORMAT(2, 3);

    // Every complete line so far, without its line end.
    const std::vector<std::string>& lines() const { return lines_; }
    void clear() { lines_.clear(); }
    void setEcho(std::FILE* echo) { echo_ = echo; }

private:
    void addLine(std::string line);

    std::FILE* echo_;
    std::string pending_;
    std::vector<std::string> lines_;
};

}  // namespace host
}  // namespace kova
}  // namespace tarn
