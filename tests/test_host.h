// Shared test doubles: a recording output stream and a host that records
// every hook the engine calls.
#pragma once

#include <string>
#include <vector>

#include "kova/kova.h"

namespace kova_test {

using namespace tarn::kova;

// Collects everything written to it.
class TextOStream : public OStream {
public:
    int writeBuffer(const void* data, int size) override {
        text.append(static_cast<const char*>(data), static_cast<std::size_t>(size));
        return size;
    }
    std::string text;
};

// A host that logs to a string and records the hooks it is asked to run, in
// order, so tests can check the engine's fixed step order.
class TestHost : public System {
public:
    explicit TestHost(float width = 640.0f, float height = 480.0f) : System(width, height) {}

    OStream* infoOStream() override { return logging ? &log : nullptr; }
    bool onPreUpdate(float) override {
        calls.push_back("onPreUpdate");
        return preUpdateResult;
    }
    bool onPostUpdate(float) override {
        calls.push_back("onPostUpdate");
        return postUpdateResult;
    }
    void onPrePaint() override { calls.push_back("onPrePaint"); }
    void onPostPaint() override { calls.push_back("onPostPaint"); }
    void onSetSize(Coordinate2& oldSize, Coordinate2& newSize) override {
        calls.push_back("onSetSize");
        oldSizeSeen = oldSize;
        newSizeSeen = newSize;
    }
    bool charPaint(int character, int font, PaintData& data) override {
        calls.push_back("charPaint " + std::to_string(character) + " " + std::to_string(font));
        painted.push_back(data);
        return true;
    }
    bool picturePaint(int picture, PaintData& data) override {
        calls.push_back("picturePaint " + std::to_string(picture));
        painted.push_back(data);
        return true;
    }
    bool setPointerPosition(float& x, float& y) override {
        calls.push_back("setPointerPosition");
        hostPointer = Coordinate2{x, y};
        x = 0.0f;  // a host that corrects the position in its own copy
        y = 0.0f;
        return true;
    }

    bool logging = true;
    bool preUpdateResult = true;
    bool postUpdateResult = true;
    TextOStream log;
    std::vector<std::string> calls;
    std::vector<PaintData> painted;
    Coordinate2 oldSizeSeen;
    Coordinate2 newSizeSeen;
    Coordinate2 hostPointer;
};

// A host with one fixed font: glyphs are 8 wide ('W' 14) with 1 before and 1
// after, 12 + font high with the base line 10 below their top; lines are
// 16 + font apart, so the font used shows in every position. It lists the
// characters it paints and refuses the glyph numbered refuseGlyph.
class GlyphHost : public TestHost {
public:
    bool charMetrics(int character, int font, CharacterMetrics& m) override {
        measured.push_back(character);
        measuredFont = font;
        m.before = 1.0f;
        m.width = character == 'W' ? 14.0f : 8.0f;
        m.after = 1.0f;
        m.height = 12.0f + static_cast<float>(font);
        m.ascent = 10.0f;
        return true;
    }
    float fontHeight(int font) override { return 16.0f + static_cast<float>(font); }
    bool charPaint(int character, int font, PaintData& data) override {
        TestHost::charPaint(character, font, data);
        glyphs.push_back(character);
        return static_cast<int>(glyphs.size()) - 1 != refuseGlyph;
    }

    std::vector<int> measured;
    int measuredFont = -1;
    std::vector<int> glyphs;
    int refuseGlyph = -1;
};

// Gives a test class a name of its own, as host-made objects that are
// registered by name keep one. It has no run-time record: the class built on
// it declares its own.
template <class Base>
class Named : public Base {
public:
    explicit Named(const char* name = nullptr) : name_(Memory::stringDuplicate(name)) {}
    ~Named() override { Memory::stringDelete(name_); }
    const char* name() override { return name_; }
    bool setName(const char* name) override {
        char* copy = Memory::stringDuplicate(name);
        Memory::stringDelete(name_);
        name_ = copy;
        return true;
    }

private:
    char* name_;
};

}  // namespace kova_test
