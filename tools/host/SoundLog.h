// Sounds without an audio device: every sound the engine starts is recorded
// with its volume and the time on the host's clock, for the caller to read.
#pragma once

#include <string>
#include <vector>

#include "NameTable.h"

namespace tarn {
namespace kova {
namespace host {

struct SoundRecord {
    std::string name;
    float volume = 0.0f;
    double time = 0.0;  // seconds of the host's clock when the sound started
};

class SoundLog {
public:
    // Handles of sound names; the empty name is handle 0, no sound.
    int handle(const char* name) { return names_.handle(name); }
    const char* name(int handle) const { return names_.name(handle); }

    // Records a start; false for handle 0 and for unknown handles.
    bool play(int handle, float volume, double time);

    const std::vector<SoundRecord>& records() const { return records_; }
    // The records as lines "NAME VOLUME TIME" (NAME quoted when it holds a
    // space; numbers in the shortest form, %g).
    std::vector<std::string> lines() const;
    void clear() { records_.clear(); }

private:
    NameTable names_;
    std::vector<SoundRecord> records_;
};

}  // namespace host
}  // namespace kova
}  // namespace tarn
