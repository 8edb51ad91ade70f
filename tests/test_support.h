// What most test files share: a fixture around a started host that checks
// nothing outlives System::exit, and streams that record what a class lists.
#pragma once

#include <gtest/gtest.h>

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

// Lists every plain field a class streams as "type 'label' value" and fails
// the field numbered by budget (-1: none). Floats come back one larger, as
// a reader delivering new values would leave them.
class FieldRecorder : public Stream {
public:
    bool stream() override { return true; }
    bool streamUbyte(unsigned char& value, const char* label) override {
        return add("ubyte", label, std::to_string(value));
    }
    bool streamInt(int& value, const char* label) override {
        return add("int", label, std::to_string(value));
    }
    bool streamBool(bool& value, const char* label) override {
        return add("bool", label, value ? "true" : "false");
    }
    bool streamWchar(unsigned short& value, const char* label) override {
        return add("wchar", label, std::to_string(value));
    }
    bool streamFloat(float& value, const char* label) override {
        bool ok = add("float", label, std::to_string(value));
        value += 1.0f;
        return ok;
    }
    // The permitted numbers follow the value, walked the way an editor lists
    // them: each next number that has a name.
    bool streamIndex(int& value, int (*toIndex)(int), const char* (*toName)(int),
                     const char* label) override {
        std::string choices;
        for (int i = toIndex(0); i != 0 && toName(i); i = toIndex(i))
            choices += std::to_string(i) + ",";
        const char* name = toName(value);
        return add("index", label,
                   std::to_string(value) + " " + (name ? name : "?") + " [" + choices + "]");
    }

    std::vector<std::string> fields;
    int budget = -1;

private:
    bool add(const char* type, const char* label, const std::string& value) {
        fields.push_back(std::string(type) + " '" + label + "' " + value);
        return --budget != 0;
    }
};

// A visiting stream that takes every plain field and records the object
// references it is handed, as "label:required class"; it may replace, drop
// or refuse chosen references, or drop them all.
class ReferenceRecorder : public Stream {
public:
    bool stream() override { return visiting; }
    bool streamObject(System&, Object*& reference, const char* label,
                      RuntimeClass* requiredClass) override {
        seen.push_back(reference);
        labels.push_back(std::string(label) + ":" +
                         (requiredClass ? requiredClass->name() : "null"));
        if (reference && reference == refuse) return false;
        if (reference && reference == replace) reference = replacement;
        if (dropAll || (reference && reference == drop)) reference = nullptr;
        return true;
    }

    std::vector<Object*> seen;
    std::vector<std::string> labels;
    bool visiting = true;
    bool dropAll = false;
    Object* replace = nullptr;
    Object* replacement = nullptr;
    Object* drop = nullptr;
    Object* refuse = nullptr;
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

}  // namespace kova_test
