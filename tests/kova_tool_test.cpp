// The kova program as a user runs it on a scratch directory: help on every
// command, build, dump, check, classes, render and view with their exit codes and
// exact output, the files they write, and every command line they refuse.
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

// A text of the tables below with its escapes \n and \xHH put in.
std::string expand(std::string text) {
    for (std::size_t at = 0; (at = text.find('\\', at)) != std::string::npos; ++at) {
        const bool line = text[at + 1] == 'n';
        text.replace(
            at, line ? 2 : 4, 1,
            line ? '\n' : static_cast<char>(std::stoi(text.substr(at + 2, 2), nullptr, 16)));
    }
    return text;
}

class KovaToolTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir / "root"); }
    void TearDown() override { fs::remove_all(dir); }

    // Runs kova in the scratch directory with the given arguments and input:
    // "status|output|errors", the status -1 when it did not exit normally.
    std::string kova(const std::string& arguments, const std::string& input = "") {
        writeFile(dir / "stdin", input);
        int status = std::system(("cd '" + dir.string() + "' && '" KOVA_TOOL_PATH "' " + arguments +
                                  " < stdin > stdout 2> stderr")
                                     .c_str());
        return std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + "|" +
               readFile(dir / "stdout") + "|" + readFile(dir / "stderr");
    }
    // Builds without the reference host have no render command, and builds
    // without SDL2 no viewer.
    bool renders() { return kova("--help").find("\n  render FILE ") != std::string::npos; }
    bool views() { return kova("--help").find("\n  view FILE ") != std::string::npos; }

    fs::path dir = fs::path(::testing::TempDir()) / ("kova_tool_" + std::to_string(::getpid()));
};

TEST_F(KovaToolTest, HelpOnEveryCommand) {
    const std::string program = kova("--help");
    EXPECT_EQ(program.rfind("0|kova: the text form of Kova object files\n", 0), 0u);
    EXPECT_EQ(kova("help") + kova(""), program + "2" + program.substr(1));
    for (std::string command : {"dump", "build", "check", "classes", "render", "view"}) {
        if ((command == "render" && !renders()) || (command == "view" && !views())) continue;
        const std::string help = kova(command + " --help");
        EXPECT_EQ(help.rfind("0|Usage: kova " + command, 0), 0u) << help;
        EXPECT_EQ(kova("help " + command) + kova(command + " -h"), help + help);
    }
    EXPECT_EQ(kova("frob"),
              "2||kova: unknown command 'frob'\n" + program.substr(2, program.size() - 3));
    EXPECT_EQ(kova("help frob"), "2||kova: unknown command 'frob'\n");
}

// Each step in order, one a line: the files hand-made, hand-written or
// damaged, then the runs. "> FILE << BYTES" writes a file. Else the
// arguments, " << " and the standard input when there is one, " => " and the
// result "status|output|errors", or "usage: MESSAGE" for a refused command
// line (status 2, the message and the hint at the command's help). Input,
// bytes and result are written with the escapes \n and \xHH. Steps of render
// and view run only in builds that have them.
const char kSteps[] = R"steps(
> screen.txt << Node {\n    Next node: Node {\n        Next node: null\n    }\n}\n
> owner.txt << Node {\n    Next node: NameNode "Menus/Options" {\n        Next node: null\n    }\n}\n
> spelled.txt << # hand-written\nDataListData{"Data list" :[StringData "S" {String <do not edit>: "\x5Cu00e9\x5Cx41"}  # named\n StringData "S" {this copy is skipped} @"S" WstringData{Wstring <do not edit>:"\x5Cu00e9\x5Cx41"}]}\n
> bad.txt << Style {\n    Size: 12\n}\n
> picture.txt << PictureNode {\n    Next node: null\n    Picture: "none.png"\n}\n
> good.script << press Select\nwait 0.1\nrelease Select\nmove 1 2\ntype "ab"\n
> bad.script << jump\n
> root/Old << \x10tarn::kova::Node\x06\x00\x00\x00\x00\x00
> root/Unknown << \x0cKovaFile 2.0\x10tarn::kova::Node\x07Nothing\x00\x01\x00\x08\x00\x00\x00\x00\x00\x02\x00
> root/Damaged << \x0cKovaFile 2.0\x10tarn::kova::Node\x00\x01\x00\xff\xff\xff\x7f
> root/Short << \x0cKovaFile 2.0\x10tarn::kova::Node\x06Shared\x00\x01\x00\x13\x00\x00\x00\x02\x00\x01\x00\x08\x00\x00\x00\x00\x00\x00\x00\x01\x02\x03
build --root root screen.txt -o Menus/Main => 0|wrote Menus/Main\n|
dump --root root Menus/Main => 0|Node {\n    Next node: Node {\n        Next node: null\n    }\n}\n|
dump --root=root -o copy.txt Menus/Main => 0||
build --root root owner.txt -o Owner => 0|wrote Owner\nwrote Menus/Options\n|
dump --root root Owner => 0|Node {\n    Next node: @"Menus/Options"\n}\n|
dump --root root --all -o inlined.txt Owner => 0||
build --root copies inlined.txt -o Owner => 0|wrote Owner\nwrote Menus/Options\n|
build --root root - -o Copy << Node {\n    Next node: Node {\n        Next node: null\n    }\n}\n => 0|wrote Copy\n|
build --root root - -o Events/Scroll << ExtendedButtonEvent {\n    Input index (0 == all indexes): 2\n    Event type: ButtonRelease\n    Button type: "Scroll up"\n    Repeat count: 3\n}\n => 0|wrote Events/Scroll\n|
dump --root root Events\\Scroll => 0|ExtendedButtonEvent {\n    Input index (0 == all indexes): 2\n    Event type: ButtonRelease\n    Button type: "Scroll up"\n    Repeat count: 3\n}\n|
build --root root spelled.txt -o Spelled => 0|wrote Spelled\n|
dump --root root Spelled => 0|DataListData {\n    Data list: [\n        StringData "S" {\n            String <do not edit>: "éA"\n        }\n        @"S"\n        @"S"\n        WstringData {\n            Wstring <do not edit>: "éA"\n        }\n    ]\n}\n|
build --root root - -o Key << UnicodeEvent{"Input index (0 == all indexes)":1 Event type:5 Unicode:65} => 0|wrote Key\n|
dump --root root Key => 0|UnicodeEvent {\n    Input index (0 == all indexes): 1\n    Event type: UnicodeRelease\n    Unicode: "A"\n}\n|
build --root root - -o Key << UnicodeEvent{"Input index (0 == all indexes)":1 Event type:"No event" Unicode:"é"} => 0|wrote Key\n|
dump --root root Key => 0|UnicodeEvent {\n    Input index (0 == all indexes): 1\n    Event type: "No event"\n    Unicode: "é"\n}\n|
build --root root picture.txt -o Picture => 0|wrote Picture\n|
check --root root Menus/Main Old => 0|Menus/Main: Kova: Loading: Menus/Main\nMenus/Main: ok\nOld: Kova: Error: Wrong file version(tarn::kova::Node)\nOld: Kova: Info: Trying old format "Old"\nOld: Kova: Loading: Old\nOld: ok\n|
check --root root Unknown Missing => 1|Unknown: Kova: Loading: Unknown\nUnknown: Kova: Error: Loading: Unknown class: Nothing\nUnknown: 1 error, 0 warnings\nMissing: Kova: Error: Unable to open istream "Missing"\nMissing: 1 error, 0 warnings\n|
check root/Short => 0|root/Short: Kova: Loading: Short\nroot/Short: Kova: Warning: reading differs from saved file "tarn::kova::Node"\nroot/Short: 0 errors, 1 warning\n|
dump root/Short => 1|Node {\n    Next node: Node {\n        Next node: null\n    }\n}\n|Kova: Warning: reading differs from saved file "tarn::kova::Node"\n
dump --root root Old => 0|Node {\n    Next node: null\n}\n|
dump --root root Unknown => 1|Node {\n    Next node: null\n}\n|Kova: Error: Loading: Unknown class: Nothing\n
dump --root root Damaged => 1||Kova: Error: Reading from istream "tarn::kova::Node(Damaged)"\nDamaged: cannot load the object file\n
dump --root root -o nowhere/copy.txt Menus/Main => 1||kova dump: cannot write 'nowhere/copy.txt'\n
check --root root Damaged => 1|Damaged: Kova: Loading: Damaged\nDamaged: Kova: Error: Reading from istream "tarn::kova::Node(Damaged)"\nDamaged: 1 error, 0 warnings\n|
build --root root bad.txt -o Bad => 1||bad.txt:2:5: expected field 'Font handle', found 'Size'\n
build --root root - -o Bad << Node {\n    Next node: @"Missing"\n}\n => 1||Kova: Error: Unable to open istream "Missing"\n<stdin>:2:16: cannot find or load object 'Missing'\n
build --root root - -o Bad << \x01\xFF\xFE => 1||<stdin>:1:1: the text must hold one full record (a class name, an optional name and '{'), found character 0x01\n
build --root root - -o Menus/Main << Node {\n    Next node: @"Unknown"\n}\n => 1||Kova: Error: Loading: Unknown class: Nothing\n<stdin>:2:16: object file 'Unknown' loaded with problems (the log shows them)\n
build --root root nothere.txt -o Bad => 1||kova build: cannot read 'nothere.txt'\n
classes Style => 0|Style : Object\n    Font handle: font name\n|
classes Nothing Style => 1||kova classes: unknown class 'Nothing'\n
render --root root Menus/Main --size 8x6 --at 0.2,0 --script good.script --out shots => 0|shots/Main-0s.png\nshots/Main-0.2s.png\n|
render --root root Picture --size 4x4 --out shots => 0|shots/Picture-0s.png\n|KovaHost: Error: Picture 'none.png' cannot be read (no file root/none.png); it draws nothing\n
render --root root Menus/Main --script bad.script => 1||bad.script:1: expected press, release, type, move, wait or reload, found 'jump'\n
render --root root --out screen.txt Menus/Main => 1||kova render: screen.txt/Main-0s.png: Not a directory\n
view --root root Menus/Main --headless --screenshot-at 0.2,0 --size 8x6 --script good.script --out shots/v.png => 0|shots/v-0s.png\nshots/v-0.2s.png\n|
view screen.txt --headless --screenshot-at 0 --size 8x6 --players --overlay => 0|screen.png\n|
view bad.txt --headless --screenshot-at 0 => 1||Kova: Error: Unable to open istream "bad"\nkova view: bad.txt:2:5: expected field 'Font handle', found 'Size'\n
view --root root Missing --headless --screenshot-at 0 => 1||Kova: Error: Unable to open istream "Missing"\nkova view: 'Missing' cannot be loaded\n
view --root root Menus/Main --headless --screenshot-at 0 --script bad.script => 1||bad.script:1: expected press, release, type, move, wait or reload, found 'jump'\n
view --root root --headless --screenshot-at 0 --out screen.txt/x.png Menus/Main => 1||kova view: screen.txt/x.png: Not a directory\n
build screen.txt => usage: give one text file and -o FILE
build screen.txt -o => usage: -o needs a name
build --root root screen.txt -o /elsewhere => usage: '/elsewhere' is not below the root 'root'
check => usage: give at least one object file
check Main --root => usage: --root needs a directory
check --root root /elsewhere => usage: '/elsewhere' is not below the root 'root'
check -o x.txt Main => usage: unknown option '-o'
dump --bogus Main => usage: unknown option '--bogus'
dump --root= Main => usage: --root needs a directory
dump --root '' Main => usage: --root needs a directory
dump root/ => usage: 'root/' is not a file name
dump Main Other => usage: give exactly one object file
classes --all => usage: unknown option '--all'
render => usage: give exactly one object file
render --root root /elsewhere => usage: '/elsewhere' is not below the root 'root'
render --bogus => usage: unknown option '--bogus'
render Main --size => usage: --size needs a value
render --out '' Main => usage: --out needs a value
render --size 10 Main => usage: --size takes WxH, from 1x1 to 8192x8192
render --size x10 Main => usage: --size takes WxH, from 1x1 to 8192x8192
render --size 10x Main => usage: --size takes WxH, from 1x1 to 8192x8192
render --size 10x10y Main => usage: --size takes WxH, from 1x1 to 8192x8192
render --size 0x10 Main => usage: --size takes WxH, from 1x1 to 8192x8192
render --size 10x0 Main => usage: --size takes WxH, from 1x1 to 8192x8192
render --size 8193x10 Main => usage: --size takes WxH, from 1x1 to 8192x8192
render --size 10x8193 Main => usage: --size takes WxH, from 1x1 to 8192x8192
render --at 1,,2 Main => usage: --at takes times in seconds from 0, like 0,0.5,2
render --at 1s Main => usage: --at takes times in seconds from 0, like 0,0.5,2
render --at inf Main => usage: --at takes times in seconds from 0, like 0,0.5,2
render --at -1 Main => usage: --at takes times in seconds from 0, like 0,0.5,2
render --at 86401 Main => usage: --at takes times in seconds from 0, like 0,0.5,2
view => usage: give exactly one file
view --root root /elsewhere => usage: '/elsewhere' is not below the root 'root'
view --bogus Main => usage: unknown option '--bogus'
view Main --script => usage: --script needs a value
view --size 8 Main => usage: --size takes WxH, from 1x1 to 8192x8192
view --headless --screenshot-at 1,x Main => usage: --screenshot-at takes times in seconds from 0, like 0,2.5
view --headless Main => usage: --headless and --screenshot-at go together
view --screenshot-at 1 Main => usage: --headless and --screenshot-at go together
view --out x.png Main => usage: --out is for headless runs
)steps";

TEST_F(KovaToolTest, CommandsGiveTheirExactOutput) {
    const bool render = renders(), view = views();
    std::istringstream steps(kSteps);
    for (std::string step; std::getline(steps, step);) {
        std::size_t input = step.find(" << "), arrow = step.find(" => ");
        if (step.rfind("> ", 0) == 0)
            writeFile(dir / step.substr(2, input - 2), expand(step.substr(input + 4)));
        if (arrow == std::string::npos || (step.rfind("render", 0) == 0 && !render) ||
            (step.rfind("view", 0) == 0 && !view)) {
            continue;
        }
        const std::string arguments = step.substr(0, std::min(input, arrow));
        std::string result = expand(step.substr(arrow + 4));
        if (result.rfind("usage: ", 0) == 0) {
            const std::string command = arguments.substr(0, arguments.find(' '));
            result = "2||kova " + command + ": " + result.substr(7) + "\nRun \"kova " + command +
                     " --help\" for its usage.\n";
        }
        const std::string stdinText =
            input < arrow ? step.substr(input + 4, arrow - input - 4) : "";
        EXPECT_EQ(kova(arguments, expand(stdinText)), result) << arguments;
    }
    EXPECT_EQ(readFile(dir / "copy.txt"), readFile(dir / "screen.txt"));
    // Named nodes keep their own files; inlined, they build the same files again.
    EXPECT_EQ(readFile(dir / "inlined.txt"), readFile(dir / "owner.txt"));
    for (const char* file : {"Owner", "Menus/Options"})
        EXPECT_EQ(readFile(dir / "copies" / file), readFile(dir / "root" / file)) << file;
    EXPECT_EQ(readFile(dir / "root" / "Copy"), readFile(dir / "root" / "Menus/Main"));
    EXPECT_EQ(readFile(dir / "root" / "Copy").substr(0, 13), "\x0cKovaFile 2.0");
    EXPECT_FALSE(fs::exists(dir / "root" / "Bad"));
    if (render) {
        EXPECT_EQ(readFile(dir / "shots/Main-0.2s.png").substr(0, 4), "\x89PNG");
    }
    if (view) {  // the size in the picture's header: 8 x 6
        EXPECT_EQ(readFile(dir / "shots/v-0.2s.png").substr(16, 8),
                  std::string("\0\0\0\x08\0\0\0\x06", 8));
    }
    const std::string all = kova("classes");
    EXPECT_NE(all.find("\nNode : Object\n    Next node: Node\n"), std::string::npos) << all;
    EXPECT_NE(all.find("\nSystem : Object (cannot be created by name)\n"), std::string::npos);
    EXPECT_NE(all.find("\nIStream : RuntimeObject (not an object class)\n"), std::string::npos);
}

}  // namespace kova_test
