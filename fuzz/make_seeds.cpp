// Writes the seed corpora of the fuzz targets: real files the engine writes
// for a few small screens, and field programs written by the engine's output
// streams, and caches of the sample menu. Usage: fuzz_seeds <corpus directory>
// (the input_loop and text_form seeds are written by hand)
//
// The seeds are committed; run this again only when a file format changes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "fuzz_support.h"
#include "sample_menu.h"

namespace kova_fuzz {
namespace {

namespace fs = std::filesystem;
using kova_test::FileOStream;
using Files = std::map<std::string, Bytes>;

const char kMarker[] = "=KOVA-FILE=";

void writeSeed(const fs::path& directory, const std::string& name, const Bytes& bytes) {
    fs::create_directories(directory);
    std::ofstream out(directory / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

// The load target's input: "Main" first, then each other file behind the
// marker and its name.
Bytes fileSet(const Files& files) {
    Bytes out = files.at("Main");
    for (const auto& [name, bytes] : files) {
        if (name == "Main") continue;
        out.insert(out.end(), kMarker, kMarker + sizeof(kMarker) - 1);
        out.insert(out.end(), name.begin(), name.end());
        out.push_back('\n');
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

template <class T>
T* made(FuzzHost& host, Object*& slot) {
    Object::create(host, slot, T::absoluteClass());
    return static_cast<T*>(slot);
}

template <class T, class Slot>
T* made(FuzzHost& host, Slot*& slot) {
    Object* object = nullptr;
    Object::create(host, object, T::absoluteClass());
    slot = static_cast<Slot*>(object);
    return static_cast<T*>(object);
}

unsigned short* wide(const char* text) {
    unsigned short* out = Memory::wstringCreate(std::strlen(text) + 1);
    Memory::stringCopy(out, text);
    return out;
}

// One stream-owning node with plain fields only.
Files singleNode() {
    FuzzHost host;
    host.init();
    OwnFileNode* main = new OwnFileNode();
    main->setName("Main");
    main->intField = 42;
    main->floatField = 0.5f;
    main->boolField = true;
    main->stringField = Memory::stringDuplicate("Start game");
    main->wstringField = wide("Wide");
    main->pictureField = host.pictureHandle("button.png");
    host.registerObject(main, nullptr);
    host.save();
    Files files = host.files;
    host.exit();
    return files;
}

// Main owns a child and a list, shares the named style "Title" twice, holds
// an event, and refers by name to the own file of Screens/Other.
Files screenGraph() {
    FuzzHost host;
    host.init();
    Style* title = new Style("Title", host.fontHandle("serif"));
    host.registerStyle(title, nullptr);
    OwnFileNode* main = new OwnFileNode();
    main->setName("Main");
    OwnFileNode* other = new OwnFileNode();
    other->setName("Other");
    host.registerObject(main, nullptr);
    host.registerObject(other, "Screens");
    main->styleField = title;
    other->styleField = title;
    main->nextNode(0) = other;
    FieldNode* child = made<FieldNode>(host, main->childField);
    child->styleField = title;
    child->soundField = host.soundHandle("click.wav");
    made<ButtonEvent>(host, child->eventField);
    for (int i = 0; i < 2; ++i) {
        Object* item = nullptr;
        made<Node>(host, item);
        main->listField.appendObject(host, item);
    }
    host.save();
    Files files = host.files;
    host.exit();
    return files;
}

// The graph again, with the cache file its load records.
Files cachedGraph() {
    Files files = screenGraph();
    FuzzHost host;
    host.init();
    host.files = files;
    host.load("Main", "cache");
    files = host.files;
    host.exit();
    return files;
}

// A chain of engine nodes and event matchers, without any class of the fuzzer.
Files engineClasses() {
    FuzzHost host;
    host.init();
    OwnFileNode* main = new OwnFileNode();
    main->setName("Main");
    host.registerObject(main, nullptr);
    Node* node = made<Node>(host, main->nextNode(0));
    made<Node>(host, node->nextNode(0));
    made<UnicodeEvent>(host, main->eventField);
    made<Pointer>(host, main->objectField);
    FieldNode* child = made<FieldNode>(host, main->childField);
    made<AnyKeyEvent>(host, child->eventField);
    host.save();
    Files files = host.files;
    host.exit();
    return files;
}

// The header-less old format: the root's class name and fields written with
// the plain encoding of texts.
Files oldFormat() {
    FuzzHost host;
    host.init();
    Object* root = nullptr;
    FieldNode* node = made<FieldNode>(host, root);
    node->intField = 7;
    node->stringField = Memory::stringDuplicate("old");
    made<Node>(host, node->childField);
    Files files;
    {
        FileOStream out(files["Main"]);
        out.streamStaticString(host, node->actualClass()->fullName(), "Class name");
        node->onSave(host, out);
    }
    Object::clear(host, root);
    host.exit();
    return files;
}

// Field programs: an operation byte, then the field, as the engine writes it.
class Program {
public:
    Program(FuzzHost& host, unsigned char setup) : host_(host), out_(bytes_) {
        out_.streamUbyte(setup, "Setup");
    }
    OStream& op(unsigned char code) {
        out_.streamUbyte(code, "Operation");
        return out_;
    }
    FuzzHost& host() { return host_; }
    const Bytes& bytes() const { return bytes_; }

private:
    FuzzHost& host_;
    Bytes bytes_;
    FileOStream out_;
};

Bytes numbers() {
    FuzzHost host;
    host.init();
    Program p(host, 0);
    unsigned char ub = 200;
    signed char sb = -3;
    unsigned short us = 60000;
    short ss = -2;
    unsigned int ul = 4000000000u;
    int sl = -70000;
    float f = 1.25f;
    bool b = true;
    unsigned short wc = 0x20AC;
    int index = 3;
    p.op(0).streamUbyte(ub, "");
    p.op(1).streamSbyte(sb, "");
    p.op(2).streamUshort(us, "");
    p.op(3).streamSshort(ss, "");
    p.op(4).streamUlong(ul, "");
    p.op(5).streamSlong(sl, "");
    p.op(6).streamFloat(f, "");
    p.op(7).streamBool(b, "");
    p.op(8).streamInt(sl, "");
    p.op(11).streamWchar(wc, "");
    p.op(15).streamIndex(index, nullptr, nullptr, "");
    p.op(29).streamSbyte(sb, "");  // skip back 3 bytes
    Bytes out = p.bytes();
    host.exit();
    return out;
}

Bytes texts() {
    FuzzHost host;
    host.init();
    Program p(host, 1 | 4);
    char* text = Memory::stringDuplicate("Options");
    unsigned short* wideText = wide("Volume");
    int picture = host.pictureHandle("logo.png");
    int font = host.fontHandle("mono");
    int sound = host.soundHandle("");
    unsigned char max = 20;
    p.op(9).streamString(text, "");
    p.op(10).streamWstring(wideText, "");
    p.op(12).streamPicture(host, picture, "");
    p.op(13 | 0x80).streamFont(host, font, "");
    p.op(14).streamSound(host, sound, "");
    OStream& label = p.op(16);
    label.streamUbyte(max, "");
    label.streamStaticString(host, "Label", "");
    Bytes out = p.bytes();
    Memory::stringDelete(text);
    Memory::wstringDelete(wideText);
    host.exit();
    return out;
}

Bytes objects() {
    FuzzHost host;
    host.init();
    Program p(host, 1 | 2 | 4);
    FieldNode* field = new FieldNode();  // the host's own object, registered by name
    field->setName("Shared");
    host.registerObject(field, nullptr);
    Object* node = field;
    made<Node>(host, field->childField);
    ObjectList list{Node::absoluteClass()};
    Object* item = nullptr;
    made<Node>(host, item);
    list.appendObject(host, item);
    list.appendObject(host, field);
    Event* event = nullptr;
    made<ButtonEvent>(host, event);
    Style* style = host.systemStyle();
    p.op(18).streamObject(host, node, "", nullptr);
    p.op(17).streamList(host, list, "");
    p.op(19).streamEvent(host, event, "", nullptr);
    p.op(25).streamStyle(host, style, "", nullptr);
    p.op(24 | 0x80).streamNode(host, field->childField, "", nullptr);
    Bytes out = p.bytes();
    list.clear(host);
    Object::clear(host, event);
    host.exit();
    return out;
}

// The cache a game records on the sample menu's first load, and the cache
// of the title screen alone (a cache of another root).
Bytes sampleCache(const char* root) {
    FuzzHost host;
    host.init();
    host.files = sampleFiles();
    host.load(root, "cache");
    Bytes cache = host.files["cache"];
    host.exit();
    return cache;
}

}  // namespace
}  // namespace kova_fuzz

int main(int argc, char** argv) {
    using namespace kova_fuzz;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    fs::path corpus = argv[1];
    fs::path load = corpus / "load_object_file";
    writeSeed(load, "single_node", fileSet(singleNode()));
    writeSeed(load, "screen_graph", fileSet(screenGraph()));
    writeSeed(load, "cached_graph", fileSet(cachedGraph()));
    writeSeed(load, "engine_classes", fileSet(engineClasses()));
    writeSeed(load, "old_format", fileSet(oldFormat()));
    fs::path fields = corpus / "stream_fields";
    writeSeed(fields, "numbers", numbers());
    writeSeed(fields, "texts", texts());
    writeSeed(fields, "objects", objects());
    fs::path cache = corpus / "cache_replay";
    writeSeed(cache, "sample_menu", sampleCache("Menus/Main"));
    writeSeed(cache, "title_screen", sampleCache("Screens/Title"));
    requireNothingAlive("seeds");
    return 0;
}
