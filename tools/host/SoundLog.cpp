#include "SoundLog.h"

#include <cstdio>

namespace tarn {
namespace kova {
namespace host {

bool SoundLog::play(int handle, float volume, double time) {
    const char* soundName = names_.name(handle);
    if (handle == 0 || !soundName) return false;
    records_.push_back(SoundRecord{soundName, volume, time});
    return true;
}

std::vector<std::string> SoundLog::lines() const {
    std::vector<std::string> lines;
    for (const SoundRecord& record : records_) {
        bool quoted = record.name.find(' ') != std::string::npos;
        char numbers[64];
        std::snprintf(numbers, sizeof(numbers), " %g %g", record.volume, record.time);
        lines.push_back((quoted ? "\"" + record.name + "\"" : record.name) + numbers);
    }
    return lines;
}

}  // namespace host
}  // namespace kova
}  // namespace tarn
