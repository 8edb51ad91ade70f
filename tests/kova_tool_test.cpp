// The kova program as a user runs it: help on every command, dump, build,
// check and classes on a scratch root directory, exit codes, and no crash on
// damaged files or texts.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

namespace kova_test {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;  // the exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class KovaToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(::testing::TempDir()) / ("kova_tool_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "root");
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs kova in the scratch directory with the given arguments and input.
    ToolRun kova(const std::string& arguments, const std::string& input = "") {
        writeFile(dir / "stdin", input);
        std::string command = "cd '" + dir.string() + "' && '" KOVA_TOOL_PATH "' " + arguments +
                              " < stdin > stdout 2> stderr";
        int status = std::system(command.c_str());
        ToolRun run;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = readFile(dir / "stdout");
        run.err = readFile(dir / "stderr");
        return run;
    }
    std::string file(const std::string& name) { return readFile(dir / "root" / name); }
    bool exists(const std::string& name) { return fs::exists(dir / "root" / name); }

    fs::path dir;
};

const char kScreen[] =
    "Node {\n"
    "    Next node: Node {\n"
    "        Next node: null\n"
    "    }\n"
    "}\n";

const char kEvent[] =
    "ExtendedButtonEvent {\n"
    "    Input index (0 == all indexes): 2\n"
    "    Event type: ButtonRelease\n"
    "    Button type: \"Scroll up\"\n"
    "    Repeat count: 3\n"
    "}\n";

TEST_F(KovaToolTest, HelpOnEveryCommand) {
    ToolRun program = kova("--help");
    EXPECT_EQ(program.status, 0);
    EXPECT_EQ(program.out.rfind("kova: the text form of Kova object files\n", 0), 0u);
    EXPECT_EQ(kova("help").out, program.out);
    for (const char* command : {"dump", "build", "check", "classes"}) {
        ToolRun help = kova(std::string(command) + " --help");
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_EQ(help.out.rfind(std::string("Usage: kova ") + command, 0), 0u) << help.out;
        EXPECT_EQ(kova(std::string("help ") + command).out, help.out);
        EXPECT_EQ(kova(std::string(command) + " -h").out, help.out);
    }
    ToolRun none = kova("");
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.out, program.out);
    EXPECT_EQ(kova("frob").status, 2);
    EXPECT_EQ(kova("help frob").status, 2);
    ToolRun badOption = kova("dump --bogus Main");
    EXPECT_EQ(badOption.status, 2);
    EXPECT_EQ(badOption.err,
              "kova dump: unknown option '--bogus'\nRun \"kova dump --help\" for its usage.\n");
    EXPECT_EQ(kova("build screen.txt").status, 2);  // no -o
    EXPECT_EQ(kova("check").status, 2);
}

TEST_F(KovaToolTest, BuildDumpAndBuildAgainGiveTheSameBytes) {
    writeFile(dir / "screen.txt", kScreen);
    ToolRun built = kova("build --root root screen.txt -o Menus/Main");
    EXPECT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(built.out, "wrote Menus/Main\n");
    EXPECT_EQ(built.err, "");
    EXPECT_EQ(file("Menus/Main").substr(0, 13),
              "\x0c"
              "KovaFile 2.0");

    ToolRun dumped = kova("dump --root root Menus/Main");
    EXPECT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_EQ(dumped.out, kScreen);
    EXPECT_EQ(kova("dump --root=root -o copy.txt Menus/Main").status, 0);
    EXPECT_EQ(readFile(dir / "copy.txt"), kScreen);

    ToolRun rebuilt = kova("build --root root - -o Copy", dumped.out);
    EXPECT_EQ(rebuilt.status, 0) << rebuilt.err;
    EXPECT_EQ(file("Copy"), file("Menus/Main"));

    writeFile(dir / "event.txt", kEvent);
    EXPECT_EQ(kova("build --root root event.txt -o Events/Scroll").status, 0);
    EXPECT_EQ(kova("dump --root root Events\\\\Scroll").out, kEvent);
}

TEST_F(KovaToolTest, CheckReportsEveryLogLine) {
    writeFile(dir / "screen.txt", kScreen);
    ASSERT_EQ(kova("build --root root screen.txt -o Main").status, 0);
    // An old-format file: the class name in place, then a null record.
    writeFile(dir / "root" / "Old", std::string("\x10tarn::kova::Node\x06\0\0\0\0\0", 23));
    // A file whose record names a class nobody knows.
    writeFile(dir / "root" / "Unknown",
              std::string("\x0cKovaFile 2.0\x10tarn::kova::Node\x07Nothing\0\x01\0"
                          "\x08\0\0\0\0\0\x02\0",
                          49));

    ToolRun good = kova("check --root root Main Old");
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.out,
              "Main: Kova: Loading: Main\n"
              "Main: ok\n"
              "Old: Kova: Error: Wrong file version(tarn::kova::Node)\n"
              "Old: Kova: Info: Trying old format \"Old\"\n"
              "Old: Kova: Loading: Old\n"
              "Old: ok\n");

    ToolRun bad = kova("check --root root Main Unknown Missing");
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out,
              "Main: Kova: Loading: Main\n"
              "Main: ok\n"
              "Unknown: Kova: Loading: Unknown\n"
              "Unknown: Kova: Error: Loading: Unknown class: Nothing\n"
              "Unknown: 1 error, 0 warnings\n"
              "Missing: Kova: Error: Unable to open istream \"Missing\"\n"
              "Missing: 1 error, 0 warnings\n");

    // The old file dumps as the current format would hold it.
    ToolRun old = kova("dump --root root Old");
    EXPECT_EQ(old.status, 0) << old.err;
    EXPECT_EQ(old.out, "Node {\n    Next node: null\n}\n");
    ToolRun unknown = kova("dump --root root Unknown");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "Kova: Error: Loading: Unknown class: Nothing\n");
}

TEST_F(KovaToolTest, BadTextsAreLocatedAndWriteNothing) {
    writeFile(dir / "bad.txt", "Style {\n    Size: 12\n}\n");
    ToolRun bad = kova("build --root root bad.txt -o Bad");
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "bad.txt:2:5: expected field 'Font handle', found 'Size'\n");
    EXPECT_FALSE(exists("Bad"));

    ToolRun piped =
        kova("build --root root - -o Bad", "Node {\n    Next node: @\"Elsewhere\"\n}\n");
    EXPECT_EQ(piped.status, 1);
    EXPECT_EQ(piped.err,
              "Kova: Error: Unable to open istream \"Elsewhere\"\n"
              "<stdin>:2:16: cannot find or load object 'Elsewhere'\n");
    EXPECT_FALSE(exists("Bad"));

    const std::regex located("^<stdin>:[0-9]+:[0-9]+: [^\n]+\n$");
    const char* texts[] = {"",
                           "{",
                           "Node",
                           "Node {",
                           "Node { Next node: }",
                           "\"\\",
                           "Node { Next node: Node { Next node: [ ] } }",
                           "\x01\xFF\xFE"};
    for (const char* text : texts) {
        ToolRun run = kova("build --root root - -o Bad", text);
        EXPECT_EQ(run.status, 1) << text;
        EXPECT_TRUE(std::regex_match(run.err, located)) << run.err;
    }
    EXPECT_FALSE(exists("Bad"));
    EXPECT_EQ(kova("build --root root nothere.txt -o Bad").err,
              "kova build: cannot read 'nothere.txt'\n");
}

TEST_F(KovaToolTest, DamagedObjectFilesNeverCrashTheTool) {
    const std::string files[] = {
        "",
        "\x0cKovaFile 2.0",
        std::string("\x0cKovaFile 2.0\x10tarn::kova::Node\0\x01\0\xff\xff\xff\x7f", 37),
        std::string("\x0cKovaFile 2.0\0\x09\0", 16),
        "\xff\xfe\xfd\xfc\xfb\xfa",
        std::string(600, '\x05'),
    };
    for (const std::string& bytes : files) {
        writeFile(dir / "root" / "Damaged", bytes);
        ToolRun dump = kova("dump --root root Damaged");
        EXPECT_EQ(dump.status, 1) << dump.out;
        ToolRun check = kova("check --root root Damaged");
        EXPECT_EQ(check.status, 1) << check.out;
    }
}

TEST_F(KovaToolTest, ClassesListsTheChain) {
    ToolRun all = kova("classes");
    EXPECT_EQ(all.status, 0);
    EXPECT_NE(all.out.find("Node : Object\n    Next node: Node\n"), std::string::npos) << all.out;
    EXPECT_NE(all.out.find("System : Object (cannot be created by name)\n"), std::string::npos);
    ToolRun one = kova("classes Style");
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.out, "Style : Object\n    Font handle: font name\n");
    ToolRun unknown = kova("classes Nothing");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "kova classes: unknown class 'Nothing'\n");
}

}  // namespace kova_test
