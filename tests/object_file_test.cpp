// Object files: exact bytes written, what loads from hand-made files, sharing
// of named objects, own files of stream owners, the old format, cache files,
// and every failure path with its log line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_host.h"

namespace kova_test {

// A node with a field of each common kind, which keeps its own name so it can
// be registered, and which records the show events that reach it.
class FileNode : public Node {
    KOVA_RUNTIME_CLASS(FileNode)
public:
    ~FileNode() override {
        Memory::stringDelete(name_);
        Memory::stringDelete(text);
    }
    const char* name() override { return name_; }
    bool setName(const char* name) override {
        char* copy = Memory::stringDuplicate(name);
        Memory::stringDelete(name_);
        name_ = copy;
        return true;
    }
    bool onStream(System& system, Stream& stream) override {
        return Node::onStream(system, stream) && stream.streamInt(number, "Number") &&
               stream.streamString(text, "Text") &&
               stream.streamStyle(system, style, "Style", nullptr) &&
               stream.streamNode(system, child, "Child", nullptr);
    }
    bool onPreWaitShow(System& system, Rectangle&, Mode&) override {
        return note(system, "PreWaitShow");
    }
    bool onPreShow(System& system, Rectangle&, Mode&) override { return note(system, "PreShow"); }
    bool onPostShow(System& system, Rectangle&, Mode&) override { return note(system, "PostShow"); }

    int number = 0;
    char* text = nullptr;
    Style* style = nullptr;
    Node* child = nullptr;

private:
    bool note(System& system, const char* event) {
        static_cast<TestHost&>(system).calls.push_back(std::string(event) + " " +
                                                       std::to_string(number));
        return false;
    }
    char* name_ = nullptr;
};
KOVA_IMPLEMENT_CLASS_NAMED(FileNode, "kova_test::FileNode", &Node::absoluteClass)

// The same, saved into a file of its own when it is named.
class OwnFileNode : public FileNode {
    KOVA_RUNTIME_CLASS(OwnFileNode)
public:
    bool isStreamOwner() override { return true; }
};
KOVA_IMPLEMENT_CLASS_NAMED(OwnFileNode, "kova_test::OwnFileNode", &FileNode::absoluteClass)

class ObjectFileTest : public ::testing::Test {
protected:
    void SetUp() override { host.init(); }
    void TearDown() override {
        host.exit();
        EXPECT_EQ(RuntimeClass::totalClassInstanceCount(), 0);
    }

    template <class T>
    T* make(const char* name, int number, const char* text = nullptr) {
        T* node = new T();
        node->setName(name);
        node->number = number;
        node->text = Memory::stringDuplicate(text);
        return node;
    }

    FileHost host;
};

Bytes nullRecord() {
    Bytes out;
    appendU32(out, 8);
    appendU16(out, 0);
    appendU16(out, 0);
    return out;
}

TEST_F(ObjectFileTest, SavesAnOwnFileByteForByte) {
    OwnFileNode* menu = make<OwnFileNode>("Menu", 5, "Hi");
    ASSERT_EQ(host.registerObject(menu, nullptr), menu);
    EXPECT_TRUE(host.save());
    EXPECT_EQ(host.created, std::vector<std::string>{"Menu"});

    Bytes expected = fileHeader({"kova_test::OwnFileNode"});
    appendU16(expected, 1);  // root class
    Bytes none = nullRecord();
    expected.insert(expected.end(), none.begin(), none.end());  // next node
    appendU32(expected, 5);                                     // number
    appendU32(expected, 2);                                     // text
    append(expected, {'H', 'i'});
    expected.insert(expected.end(), none.begin(), none.end());  // style
    expected.insert(expected.end(), none.begin(), none.end());  // child
    EXPECT_EQ(host.files["Menu"], expected);
    EXPECT_EQ(host.log.text, "");
}

}  // namespace kova_test
