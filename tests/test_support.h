// What most test files share: a fixture around a started host that checks
// nothing outlives System::exit, and streams that record what a class lists.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "file_host.h"

namespace kova_test {

// Starts the host before each test; after it, exits the host and requires
// every counted object to be gone.
template <class Host = TestHost>
class HostTest : public ::testing::Test {
protected:
    void SetUp() override { host.init(); }
    void TearDown() override {
        host.exit();
        EXPECT_EQ(RuntimeClass::totalClassInstanceCount(), 0);
    }

    // Creates a counted T into the slot through the slot type's own create,
    // as a loader fills a field.
    template <class T, class Slot>
    T* make(Slot*& slot) {
        EXPECT_TRUE(Slot::create(host, slot, T::absoluteClass()));
        return static_cast<T*>(slot);
    }
    template <class T>
    T* make() {
        Object* object = nullptr;
        return make<T>(object);
    }

    Host host;
};

// A record's values in member order, so one assertion compares them all
// exactly.
inline std::vector<float> valuesOf(const Rectangle& r) {
    return {r.x, r.y, r.width, r.height, r.z};
}
inline std::vector<float> valuesOf(const Color& c) {
    return {c.red, c.green, c.blue, c.alpha};
}
inline std::vector<float> valuesOf(const Vertex& v) {
    return {v.x, v.y, v.z, v.u, v.v, v.red, v.green, v.blue, v.alpha};
}
using Floats = std::vector<float>;

// A visiting stream that records the plain numbers and bools it is handed
// as "type 'label' value".
class FieldRecorder : public Stream {
public:
    bool stream() override { return true; }
    bool streamInt(int& value, const char* label) override {
        return add("int", label, std::to_string(value));
    }
    bool streamBool(bool& value, const char* label) override {
        return add("bool", label, value ? "true" : "false");
    }

    std::vector<std::string> fields;

private:
    bool add(const char* type, const char* label, const std::string& value) {
        fields.push_back(std::string(type) + " '" + label + "' " + value);
        return true;
    }
};

// A visiting stream that records the object references it is handed.
class ReferenceRecorder : public Stream {
public:
    bool stream() override { return true; }
    bool streamObject(System&, Object*& reference, const char*, RuntimeClass*) override {
        seen.push_back(reference);
        return true;
    }

    std::vector<Object*> seen;
};

// Checks a table of "input -> outcome" rows: outcome(input) must give the
// text after the arrow. A failure shows its row.
template <class Outcome>
void expectRows(const std::vector<std::string>& rows, Outcome outcome) {
    for (const std::string& row : rows) {
        std::string input = row.substr(0, row.find(" -> "));
        EXPECT_EQ(input + " -> " + outcome(input), row);
    }
}

// ---- Paint records in one line each -----------------------------------------

// A float as records are described: %g, with values within 1e-5 of 0 written
// as 0, so neither "-0" nor the residue of a turn shows.
inline std::string printed(float value) {
    if (value > -1e-5f && value < 1e-5f) value = 0.0f;
    char text[32];
    std::snprintf(text, sizeof(text), "%g", static_cast<double>(value));
    return text;
}

// The lines joined by ", ", so that one assertion shows a whole sequence.
inline std::string joinedLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines)
        out += (out.empty() ? "" : ", ") + line;
    return out;
}

// An area as "x,y,width,height,depth".
inline std::string describeArea(const Rectangle& r) {
    return printed(r.x) + "," + printed(r.y) + "," + printed(r.width) + "," + printed(r.height) +
           "," + printed(r.z);
}

// A record as "x,y x,y x,y x,y" (the corners in the order the host gets
// them), then only what differs from a plain record: " z" (the depth, when
// the corners share one), " rgba" (once when the corners agree), " uv" (or
// " uv-off" for coordinates the record does not claim), " blend", " clip".
inline std::string describePaint(const PaintData& data) {
    std::string corners, colours, firstColour, uv;
    bool sameColour = true, white = true, textured = data.hasUV, sameZ = true;
    for (int i = 0; i < 4; ++i) {
        const Vertex& v = data.vertex[i];
        std::string colour = printed(v.red) + "," + printed(v.green) + "," + printed(v.blue) + "," +
                             printed(v.alpha);
        if (i == 0) firstColour = colour;
        corners += (i ? " " : "") + printed(v.x) + "," + printed(v.y);
        colours += (i ? "|" : "") + colour;
        uv += (i ? "|" : "") + printed(v.u) + "," + printed(v.v);
        sameColour = sameColour && colour == firstColour;
        white = white && colour == "1,1,1,1";
        textured = textured || v.u != 0.0f || v.v != 0.0f;
        sameZ = sameZ && v.z == data.vertex[0].z;
    }
    std::string out = corners;
    if (!sameZ) out += " z?";
    if (sameZ && data.vertex[0].z != 0.0f) out += " z" + printed(data.vertex[0].z);
    if (!white) out += " rgba " + (sameColour ? firstColour : colours);
    if (textured) out += (data.hasUV ? " uv " : " uv-off ") + uv;
    if (data.sourceBlendFunc != 7 || data.destinationBlendFunc != 8)
        out += " blend " + std::to_string(data.sourceBlendFunc) + "," +
               std::to_string(data.destinationBlendFunc);
    if (data.clipRect) out += " clip " + describeArea(*data.clipRect);
    return out;
}

// A glyph host that names pictures and fonts by number ("7" is handle 7)
// and describes each record while it is painted, as a clip may not outlive
// the call: "picture 7: ..." or "char 65 font 2: ...".
class PaintLogHost : public GlyphHost {
public:
    int pictureHandle(const char* name) override { return name ? std::atoi(name) : 0; }
    int fontHandle(const char* name) override { return name ? std::atoi(name) : 0; }
    bool picturePaint(int picture, PaintData& data) override {
        paints.push_back("picture " + std::to_string(picture) + ": " + describePaint(data));
        return TestHost::picturePaint(picture, data);
    }
    bool charPaint(int character, int font, PaintData& data) override {
        paints.push_back("char " + std::to_string(character) + " font " + std::to_string(font) +
                         ": " + describePaint(data));
        return GlyphHost::charPaint(character, font, data);
    }

    std::vector<std::string> paints;
};

}  // namespace kova_test

// Tests that link the text form may describe what they build as text.
#if __has_include("TextForm.h")
#include "TextForm.h"

namespace kova_test {

// Creates what a text describes, giving the root the name when there is
// one; the reader's error fails the test.
inline Object* readObject(System& system, const std::string& text, const char* name = nullptr) {
    Object* root = nullptr;
    std::string error;
    EXPECT_TRUE(tarn::kova::text::readText(system, text, "test.txt", name, root, error)) << error;
    return root;
}

// The rows of a table written one to a line (blank lines skipped, leading
// spaces dropped), each cut into its fields at " | ".
inline std::vector<std::vector<std::string>> tableRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    size_t start = 0;
    for (size_t end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        if (line.find_first_not_of(' ') == std::string::npos) continue;
        line.erase(0, line.find_first_not_of(' '));
        rows.emplace_back();
        for (size_t at = 0, bar = 0; bar != std::string::npos; at = bar + 3) {
            bar = line.find(" | ", at);
            rows.back().push_back(line.substr(at, bar == std::string::npos ? bar : bar - at));
        }
    }
    return rows;
}

}  // namespace kova_test
#endif
