#include "KovaCommands.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "TextForm.h"

namespace kova_tool {

using namespace tarn::kova;
using namespace tarn::kova::text;

namespace {

const char kProgramHelp[] =
    "kova: the text form of Kova object files\n"
    "\n"
    "Usage: kova COMMAND [OPTIONS] [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  dump FILE           write an object file as text\n"
    "  build TEXT -o FILE  write a text as an object file (\"KovaFile 2.0\")\n"
    "  check FILE...       load object files and report every log line\n";

// Listed between check and classes in builds with render and demo.
const char kRenderLines[] =
    "  render FILE         draw a screen set as PNG pictures over time\n"
    "  demo                picture the sample menu at its key moments\n";

// Listed after render and demo in builds with the viewer.
const char kViewLines[] =
    "  view FILE           show screens live in a window, reloading edited files\n";

const char kProgramHelpEnd[] =
    "  classes [CLASS...]  list the classes with their parents and fields\n"
    "  help [COMMAND]      show this help, or the help of one command\n"
    "\n"
    "Object files are paths, absolute or relative to the current directory;\n"
    "the directory of the file is the root that the names of other object\n"
    "files, pictures and fonts inside it are relative to. With --root DIR,\n"
    "object files are named the way the engine names streams, relative to DIR\n"
    "(an absolute path must lie below DIR). Text files and every other file\n"
    "are ordinary paths; \"-\" is standard input or output.\n"
    "Run \"kova COMMAND --help\" for the options of one command.\n";

const char kDumpHelp[] =
    "Usage: kova dump [--root DIR] [--all] [-o TEXT] FILE\n"
    "\n"
    "Loads the object file FILE through the engine and writes it as text, to\n"
    "standard output or to TEXT. Old-format files are read too; building the\n"
    "text gives the file in the \"KovaFile 2.0\" format.\n"
    "\n"
    "  --root DIR  directory that object-file names are relative to (default:\n"
    "              the directory of FILE)\n"
    "  --all       also write, in full, the named objects that keep their own\n"
    "              files (so that build writes those files again); without it\n"
    "              they are written by name\n"
    "  -o TEXT     write the text to TEXT instead of standard output\n"
    "\n"
    "Engine log lines that report errors or warnings go to standard error, and\n"
    "the exit status is then 1: the text may not build the same bytes.\n";

const char kBuildHelp[] =
    "Usage: kova build [--root DIR] TEXT -o FILE\n"
    "\n"
    "Reads the text TEXT and writes its root as the object file FILE\n"
    "(\"KovaFile 2.0\"). Named objects that keep their own files and are\n"
    "written in full in the text are written to their own files, named by\n"
    "their full names. @\"name\" references to objects the text does not\n"
    "define load those objects' files from the root directory.\n"
    "\n"
    "  --root DIR  directory that object-file names are relative to (default:\n"
    "              the directory of FILE)\n"
    "  -o FILE     the object file to write (required)\n"
    "\n"
    "A malformed text is reported as \"TEXT:line:column: message\" and nothing\n"
    "is written; the exit status is then 1.\n";

const char kCheckHelp[] =
    "Usage: kova check [--root DIR] FILE...\n"
    "\n"
    "Loads each object file the way a game does, with a host that keeps the\n"
    "engine's log, and prints every log line as \"FILE: line\", then a verdict\n"
    "line per file. The exit status is 1 when any file logged an error or could\n"
    "not be loaded. The error that announces an old-format file is reported but\n"
    "not counted.\n"
    "\n"
    "  --root DIR  directory that object-file names are relative to (default:\n"
    "              the directory of each FILE)\n";

const char kClassesHelp[] =
    "Usage: kova classes [CLASS...]\n"
    "\n"
    "Lists the run-time classes (or only the named ones) as \"Class : Parent\",\n"
    "each followed by the fields its objects write, in order, as\n"
    "\"label: kind\". Classes that cannot be created by name and classes that\n"
    "are not object classes are marked.\n";

struct Options {
    std::string root;  // empty: each object file's own directory
    std::string output;
    bool hasOutput = false;
    bool all = false;
    bool help = false;
    Arguments positional;
};

// Options may come before or after the arguments.
bool parseOptions(const std::string& command, const Arguments& arguments, bool takesRoot,
                  bool takesOutput, bool takesAll, Options& options) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (takesRoot && argument.compare(0, 7, "--root=") == 0) {
            options.root = argument.substr(7);
            if (options.root.empty()) return usageError(command, "--root needs a directory");
        } else if (takesRoot && argument == "--root") {
            if (++i == arguments.size()) return usageError(command, "--root needs a directory");
            options.root = arguments[i];
            if (options.root.empty()) return usageError(command, "--root needs a directory");
        } else if (takesOutput && argument == "-o") {
            if (++i == arguments.size()) return usageError(command, "-o needs a name");
            options.output = arguments[i];
            options.hasOutput = true;
        } else if (takesAll && argument == "--all") {
            options.all = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            return usageError(command, "unknown option '" + argument + "'");
        } else {
            options.positional.push_back(argument);
        }
    }
    return true;
}

bool readTextFile(const std::string& path, std::string& text) {
    if (path == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return !std::cin.bad();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool writeTextFile(const std::string& path, const std::string& text) {
    if (path == "-") {
        std::cout << text;
        std::cout.flush();
        return static_cast<bool>(std::cout);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << text;
    out.close();
    return !out.fail();
}

void reportProblems(const std::vector<std::string>& lines) {
    for (const std::string& line : problemLines(lines))
        std::cerr << line << "\n";
}

std::string plural(int count, const char* word) {
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

}  // namespace

bool usageError(const std::string& command, const std::string& message) {
    std::cerr << "kova " << command << ": " << message << "\n"
              << "Run \"kova " << command << " --help\" for its usage.\n";
    return false;
}

bool takeOptionValue(const std::string& command, const Arguments& arguments, std::size_t& i,
                     std::string& value) {
    const std::string& option = arguments[i];
    if (++i == arguments.size() || arguments[i].empty())
        return usageError(command, option + " needs a value");
    value = arguments[i];
    return true;
}

bool parseSize(const std::string& text, int& width, int& height) {
    char* end = nullptr;
    long w = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != 'x') return false;
    const char* rest = end + 1;
    long h = std::strtol(rest, &end, 10);
    if (end == rest || *end != 0 || w < 1 || h < 1 || w > 8192 || h > 8192) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool parseTimes(const std::string& text, std::vector<double>& times) {
    times.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        std::string item = text.substr(start, end - start);
        char* stop = nullptr;
        double time = std::strtod(item.c_str(), &stop);
        if (item.empty() || *stop != 0 || !std::isfinite(time) || time < 0.0 || time > 86400.0) {
            return false;
        }
        times.push_back(time);
        start = end + 1;
    }
    return true;
}

bool locateObjectFile(const std::string& root, const std::string& argument, ObjectFile& file,
                      std::string& error) {
    namespace fs = std::filesystem;
    fs::path path(argument);
    if (root.empty()) {
        if (!path.has_filename()) {
            error = "'" + argument + "' is not a file name";
            return false;
        }
        file.root = path.has_parent_path() ? path.parent_path().string() : ".";
        file.name = path.filename().string();
        return true;
    }
    file.root = root;
    file.name = argument;
    if (!path.is_absolute()) return true;
    std::error_code failed;
    fs::path relative =
        fs::weakly_canonical(path, failed)
            .lexically_relative(fs::weakly_canonical(fs::absolute(root, failed), failed));
    if (failed || relative.empty() || *relative.begin() == ".." || relative == ".") {
        error = "'" + argument + "' is not below the root '" + root + "'";
        return false;
    }
    file.name = relative.generic_string();
    return true;
}

std::string helpText(const std::string& command) {
    if (command.empty()) {
        return std::string(kProgramHelp) + (renderHelp().empty() ? "" : kRenderLines) +
               (viewHelp().empty() ? "" : kViewLines) + kProgramHelpEnd;
    }
    if (command == "render") return renderHelp();
    if (command == "demo") return demoHelp();
    if (command == "view") return viewHelp();
    if (command == "dump") return kDumpHelp;
    if (command == "build") return kBuildHelp;
    if (command == "check") return kCheckHelp;
    if (command == "classes") return kClassesHelp;
    return "";
}

int runDump(const Arguments& arguments) {
    Options options;
    if (!parseOptions("dump", arguments, true, true, true, options)) return 2;
    if (options.help) {
        std::cout << kDumpHelp;
        return 0;
    }
    if (options.positional.size() != 1) {
        usageError("dump", "give exactly one object file");
        return 2;
    }
    ObjectFile file;
    std::string text, error;
    if (!locateObjectFile(options.root, options.positional[0], file, error)) {
        usageError("dump", error);
        return 2;
    }
    DirectoryHost host(file.root);
    host.init();
    bool dumped = dumpObjectFile(host, file.name, options.all, text, error);
    host.exit();
    reportProblems(host.logLines());
    if (!dumped) {
        std::cerr << error << "\n";
        return 1;
    }
    std::string target = options.hasOutput ? options.output : "-";
    if (!writeTextFile(target, text)) {
        std::cerr << "kova dump: cannot write '" << target << "'\n";
        return 1;
    }
    return problemLines(host.logLines()).empty() ? 0 : 1;
}

int runBuild(const Arguments& arguments) {
    Options options;
    if (!parseOptions("build", arguments, true, true, false, options)) return 2;
    if (options.help) {
        std::cout << kBuildHelp;
        return 0;
    }
    if (options.positional.size() != 1 || !options.hasOutput) {
        usageError("build", "give one text file and -o FILE");
        return 2;
    }
    const std::string& path = options.positional[0];
    ObjectFile file;
    std::string text, error;
    if (!locateObjectFile(options.root, options.output, file, error)) {
        usageError("build", error);
        return 2;
    }
    if (!readTextFile(path, text)) {
        std::cerr << "kova build: cannot read '" << path << "'\n";
        return 1;
    }
    DirectoryHost host(file.root);
    host.init();
    bool built = buildObjectFile(host, text, path == "-" ? "<stdin>" : path, file.name, error);
    host.exit();
    reportProblems(host.logLines());
    if (!built) {
        std::cerr << error << "\n";
        return 1;
    }
    for (const std::string& file : host.writtenFiles())
        std::cout << "wrote " << file << "\n";
    return 0;
}

int runCheck(const Arguments& arguments) {
    Options options;
    if (!parseOptions("check", arguments, true, false, false, options)) return 2;
    if (options.help) {
        std::cout << kCheckHelp;
        return 0;
    }
    if (options.positional.empty()) {
        usageError("check", "give at least one object file");
        return 2;
    }
    std::vector<ObjectFile> files(options.positional.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::string error;
        if (!locateObjectFile(options.root, options.positional[i], files[i], error)) {
            usageError("check", error);
            return 2;
        }
    }
    bool anyErrors = false;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& name = options.positional[i];
        DirectoryHost host(files[i].root, false);  // with the objects a game starts with
        host.init();
        bool loaded = host.load(files[i].name.c_str(), static_cast<const char*>(nullptr));
        host.exit();
        for (const std::string& line : host.logLines())
            std::cout << name << ": " << line << "\n";
        LogSummary summary = summarizeLog(host.logLines());
        if (!loaded && summary.errors == 0) {
            std::cout << name << ": cannot be loaded\n";
            summary.errors = 1;
        }
        if (summary.errors == 0 && summary.warnings == 0) {
            std::cout << name << ": ok\n";
        } else {
            std::cout << name << ": " << plural(summary.errors, "error") << ", "
                      << plural(summary.warnings, "warning") << "\n";
        }
        anyErrors = anyErrors || summary.errors > 0;
    }
    return anyErrors ? 1 : 0;
}

int runClasses(const Arguments& arguments) {
    Options options;
    if (!parseOptions("classes", arguments, false, false, false, options)) return 2;
    if (options.help) {
        std::cout << kClassesHelp;
        return 0;
    }
    MemoryHost host(false);
    host.init();
    std::string listing, error;
    bool described = describeClasses(host, options.positional, listing, error);
    host.exit();
    if (!described) {
        std::cerr << "kova classes: " << error << "\n";
        return 1;
    }
    std::cout << listing;
    return 0;
}

#ifndef KOVA_TOOL_RENDER
// Without the reference host there is nothing to draw with.
std::string renderHelp() {
    return "";
}
std::string demoHelp() {
    return "";
}
int runRender(const Arguments&) {
    return 2;
}
int runDemo(const Arguments&) {
    return 2;
}
#endif

#ifndef KOVA_TOOL_VIEW
// The viewer needs SDL2 (and the reference host); without them the command
// still answers, so that nobody mistakes it for a typing error.
std::string viewHelp() {
    return "";
}
int runView(const Arguments&) {
    std::cerr << "kova view: this kova was built without SDL2, so it has no viewer; install "
                 "SDL2 (Debian: libsdl2-dev) and build it again\n";
    return 1;
}
#endif

}  // namespace kova_tool
