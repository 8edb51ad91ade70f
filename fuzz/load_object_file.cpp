// Loads arbitrary bytes as an object file set. The input is the file "Main",
// optionally followed by more files, each introduced by the marker and its
// name on one line:
//
//   <bytes of Main>=KOVA-FILE=Screens/Other\n<bytes of Screens/Other>...
//
// Each input is loaded three times, each time by a fresh host: directly, then
// recording the cache file "cache", then replaying that cache. Every run also
// drives a few frames of input, and the direct run saves what it loaded. No
// run may crash, hang, leak or leave an instance alive after exit.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "fuzz_support.h"

namespace kova_fuzz {
namespace {

const char kMarker[] = "=KOVA-FILE=";
const std::size_t kMarkerLength = sizeof(kMarker) - 1;
const int kMostFiles = 8;
const std::size_t kLongestName = 200;

using Files = std::map<std::string, Bytes>;

const unsigned char* findMarker(const unsigned char* from, const unsigned char* end) {
    for (const unsigned char* p = from; p + kMarkerLength <= end; ++p) {
        if (std::memcmp(p, kMarker, kMarkerLength) == 0) return p;
    }
    return end;
}

Files splitFiles(const unsigned char* data, std::size_t size) {
    Files files;
    const unsigned char* end = data + size;
    const unsigned char* part = data;
    const unsigned char* next = findMarker(part, end);
    files["Main"] = Bytes(part, next);
    for (int count = 1; next < end && count < kMostFiles; ++count) {
        part = next + kMarkerLength;
        next = findMarker(part, end);
        const unsigned char* newline = part;
        while (newline < next && *newline != '\n')
            ++newline;
        std::string name(part, newline);
        if (name.size() > kLongestName) name.resize(kLongestName);
        const unsigned char* body = newline < next ? newline + 1 : next;
        files[name] = Bytes(body, next);
    }
    return files;
}

// A few frames of every kind of input, as a host would send them.
void driveFrames(System& host) {
    host.pointerMove(10.0f, 10.0f);
    host.buttonPress(1, 0, 1);
    host.update(0.1f);
    host.paint();
    host.buttonRelease(1, 0);
    host.unicodePress('a', 1, 1);
    host.unicodeRelease('a', 1);
    host.pointerMove(-500.0f, 30.0f);
    host.update(0.5f);
    host.paint();
}

Files run(const Files& files, const char* cacheName, bool save, const char* what) {
    FuzzHost host;
    host.init();
    host.files = files;
    host.opened.clear();
    host.load("Main", cacheName);
    driveFrames(host);
    if (save) host.save();
    Files after = host.files;
    std::vector<std::string> opened = host.opened;
    host.exit();
    requireNothingAlive(what);
    // A replay reads the cache alone and never opens an object file.
    if (cacheName && files.count(cacheName) && opened != std::vector<std::string>{cacheName}) {
        std::fprintf(stderr, "%s: the host was asked for %zu streams\n", what, opened.size());
        std::abort();
    }
    return after;
}

}  // namespace
}  // namespace kova_fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kova_fuzz;
    Files files = splitFiles(data, size);
    run(files, nullptr, true, "direct load");
    Files recorded = run(files, "cache", false, "recording load");
    run(recorded, "cache", false, "replayed load");
    return 0;
}
