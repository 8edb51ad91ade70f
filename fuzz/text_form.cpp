// Reads arbitrary text as the text form, as the kova tool's build does. Every
// input either fails with one located error line ("t.txt:line:column: what")
// and writes nothing, or builds object files that then load without a
// problem in the log, dump to text, and build again to the very same bytes.
// No run may crash, hang, leak or leave an instance alive after exit.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "TextForm.h"
#include "fuzz_support.h"

namespace kova_fuzz {
namespace {

using tarn::kova::text::MemoryHost;
using Files = std::map<std::string, std::string>;

[[noreturn]] void failWith(const char* what, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

bool isDigits(const std::string& text, std::size_t from, std::size_t to) {
    if (from >= to) return false;
    for (std::size_t i = from; i < to; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
}

// "t.txt:12:5: what was expected", on one line.
bool isLocated(const std::string& error) {
    const std::string prefix = "t.txt:";
    if (error.compare(0, prefix.size(), prefix) != 0) return false;
    std::size_t line = prefix.size();
    std::size_t column = error.find(':', line);
    if (column == std::string::npos || !isDigits(error, line, column)) return false;
    std::size_t message = error.find(": ", column + 1);
    if (message == std::string::npos || !isDigits(error, column + 1, message)) return false;
    return message + 2 < error.size() && error.find('\n') == std::string::npos;
}

// Builds text into files (which hold the object files it may refer to).
bool build(Files& files, const std::string& text, std::string& error, const char* what) {
    MemoryHost host;
    host.files = files;
    host.init();
    bool built = tarn::kova::text::buildObjectFile(host, text, "t.txt", "Main", error);
    host.exit();
    requireNothingAlive(what);
    files = host.files;
    return built;
}

std::string dump(const Files& files) {
    MemoryHost host;
    host.files = files;
    host.init();
    std::string text, error;
    if (!tarn::kova::text::dumpObjectFile(host, "Main", false, text, error)) {
        failWith("dump of a built file", error);
    }
    std::vector<std::string> problems = tarn::kova::text::problemLines(host.logLines());
    if (!problems.empty()) failWith("load of a built file", problems.front());
    host.exit();
    requireNothingAlive("dump");
    return text;
}

}  // namespace
}  // namespace kova_fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kova_fuzz;
    std::string text(reinterpret_cast<const char*>(data), size);
    Files files;
    std::string error;
    if (!build(files, text, error, "build")) {
        if (!isLocated(error)) failWith("build error not located", error);
        if (!files.empty()) failWith("failed build wrote", files.begin()->first);
        return 0;
    }
    std::string dumped = dump(files);
    Files rebuilt = files;
    rebuilt.erase("Main");
    if (!build(rebuilt, dumped, error, "rebuild")) failWith("rebuild of the dump", error);
    if (rebuilt != files) failWith("rebuild differs", dumped);
    return 0;
}
