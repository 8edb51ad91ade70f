// The kova program as a user runs it on a scratch root directory: help on
// every command, build, dump, check and classes, with their exit codes and
// exact output, and no crash on damaged files or texts.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace kova_test {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class KovaToolTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir / "root"); }
    void TearDown() override { fs::remove_all(dir); }

    // Runs kova in the scratch directory with the given arguments and input:
    // its exit status (-1 when it did not exit normally), output and errors.
    std::string kova(const std::string& arguments, const std::string& input = "") {
        writeFile(dir / "stdin", input);
        int status = std::system(("cd '" + dir.string() + "' && '" KOVA_TOOL_PATH "' " + arguments +
                                  " < stdin > stdout 2> stderr")
                                     .c_str());
        return std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + "|" +
               readFile(dir / "stdout") + "|" + readFile(dir / "stderr");
    }

    fs::path dir = fs::path(::testing::TempDir()) / ("kova_tool_" + std::to_string(::getpid()));
};

TEST_F(KovaToolTest, HelpOnEveryCommand) {
    const std::string program = kova("--help");
    EXPECT_EQ(program.rfind("0|kova: the text form of Kova object files\n", 0), 0u);
    EXPECT_EQ(kova("help") + kova(""), program + "2" + program.substr(1));
    for (std::string command : {"dump", "build", "check", "classes"}) {
        const std::string help = kova(command + " --help");
        EXPECT_EQ(help.rfind("0|Usage: kova " + command, 0), 0u) << help;
        EXPECT_EQ(kova("help " + command) + kova(command + " -h"), help + help);
    }
    EXPECT_EQ(kova("frob").substr(0, 2) + kova("help frob").substr(0, 2), "2|2|");
}

// Each run in order, one a line: its arguments, " << " and its standard input
// when it reads one, " => " and what it gives as "status|output|errors". The
// input and result are written with the escapes \n and \xHH.
const char kRuns[] = R"runs(
build --root root screen.txt -o Menus/Main => 0|wrote Menus/Main\n|
dump --root root Menus/Main => 0|Node {\n    Next node: Node {\n        Next node: null\n    }\n}\n|
dump --root=root -o copy.txt Menus/Main => 0||
build --root root - -o Copy << Node {\n    Next node: Node {\n        Next node: null\n    }\n}\n => 0|wrote Copy\n|
build --root root - -o Events/Scroll << ExtendedButtonEvent {\n    Input index (0 == all indexes): 2\n    Event type: ButtonRelease\n    Button type: "Scroll up"\n    Repeat count: 3\n}\n => 0|wrote Events/Scroll\n|
dump --root root Events\\Scroll => 0|ExtendedButtonEvent {\n    Input index (0 == all indexes): 2\n    Event type: ButtonRelease\n    Button type: "Scroll up"\n    Repeat count: 3\n}\n|
check --root root Menus/Main Old => 0|Menus/Main: Kova: Loading: Menus/Main\nMenus/Main: ok\nOld: Kova: Error: Wrong file version(tarn::kova::Node)\nOld: Kova: Info: Trying old format "Old"\nOld: Kova: Loading: Old\nOld: ok\n|
check --root root Unknown Missing => 1|Unknown: Kova: Loading: Unknown\nUnknown: Kova: Error: Loading: Unknown class: Nothing\nUnknown: 1 error, 0 warnings\nMissing: Kova: Error: Unable to open istream "Missing"\nMissing: 1 error, 0 warnings\n|
dump --root root Old => 0|Node {\n    Next node: null\n}\n|
dump --root root Unknown => 1|Node {\n    Next node: null\n}\n|Kova: Error: Loading: Unknown class: Nothing\n
dump --root root Damaged => 1||Kova: Error: Reading from istream "tarn::kova::Node(Damaged)"\nDamaged: cannot load the object file\n
check --root root Damaged => 1|Damaged: Kova: Loading: Damaged\nDamaged: Kova: Error: Reading from istream "tarn::kova::Node(Damaged)"\nDamaged: 1 error, 0 warnings\n|
build --root root bad.txt -o Bad => 1||bad.txt:2:5: expected field 'Font handle', found 'Size'\n
build --root root - -o Bad << Node {\n    Next node: @"Missing"\n}\n => 1||Kova: Error: Unable to open istream "Missing"\n<stdin>:2:16: cannot find or load object 'Missing'\n
build --root root - -o Bad << \x01\xFF\xFE => 1||<stdin>:1:1: the text must hold one full record (a class name, an optional name and '{'), found character 0x01\n
build --root root nothere.txt -o Bad => 1||kova build: cannot read 'nothere.txt'\n
build screen.txt => 2||kova build: give one text file and -o FILE\nRun "kova build --help" for its usage.\n
check => 2||kova check: give at least one object file\nRun "kova check --help" for its usage.\n
dump --bogus Main => 2||kova dump: unknown option '--bogus'\nRun "kova dump --help" for its usage.\n
classes Style => 0|Style : Object\n    Font handle: font name\n|
classes Nothing => 1||kova classes: unknown class 'Nothing'\n
)runs";

const std::string kScreen = "Node {\n    Next node: Node {\n        Next node: null\n    }\n}\n";

// A text of the table with its escapes put in.
std::string expand(std::string text) {
    for (std::size_t at = 0; (at = text.find('\\', at)) != std::string::npos; ++at) {
        const bool line = text[at + 1] == 'n';
        text.replace(
            at, line ? 2 : 4, 1,
            line ? '\n' : static_cast<char>(std::stoi(text.substr(at + 2, 2), nullptr, 16)));
    }
    return text;
}

TEST_F(KovaToolTest, CommandsGiveTheirExactOutput) {
    writeFile(dir / "screen.txt", kScreen);
    writeFile(dir / "bad.txt", "Style {\n    Size: 12\n}\n");
    // An old-format file: the class name in place, then a null record; and a
    // file whose record names a class nobody knows.
    writeFile(dir / "root" / "Old", std::string("\x10tarn::kova::Node\x06\0\0\0\0\0", 23));
    writeFile(dir / "root" / "Unknown",
              std::string("\x0cKovaFile 2.0\x10tarn::kova::Node\x07Nothing\0\x01\0"
                          "\x08\0\0\0\0\0\x02\0",
                          49));
    writeFile(dir / "root" / "Damaged",
              std::string("\x0cKovaFile 2.0\x10tarn::kova::Node\0\x01\0\xff\xff\xff\x7f", 37));
    std::istringstream runs(kRuns);
    for (std::string run; std::getline(runs, run);) {
        std::size_t arrow = run.find(" => "), input = run.find(" << ");
        if (arrow == std::string::npos) continue;
        std::string arguments = run.substr(0, std::min(input, arrow));
        std::string stdinText = input < arrow ? run.substr(input + 4, arrow - input - 4) : "";
        EXPECT_EQ(kova(arguments, expand(stdinText)), expand(run.substr(arrow + 4))) << arguments;
    }
    EXPECT_EQ(readFile(dir / "copy.txt"), kScreen);
    EXPECT_EQ(readFile(dir / "root" / "Copy"), readFile(dir / "root" / "Menus/Main"));
    EXPECT_EQ(readFile(dir / "root" / "Copy").substr(0, 13), "\x0cKovaFile 2.0");
    EXPECT_FALSE(fs::exists(dir / "root" / "Bad"));
    const std::string all = kova("classes");
    EXPECT_NE(all.find("\nNode : Object\n    Next node: Node\n"), std::string::npos) << all;
    EXPECT_NE(all.find("\nSystem : Object (cannot be created by name)\n"), std::string::npos);
}

}  // namespace kova_test
