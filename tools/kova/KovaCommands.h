// The commands of the kova program. Each takes the arguments after its name
// and returns the exit status: 0 done, 1 the input or the engine reported a
// problem, 2 the command line was wrong.
#pragma once

#include <string>
#include <vector>

namespace kova_tool {

using Arguments = std::vector<std::string>;

int runDump(const Arguments& arguments);
int runBuild(const Arguments& arguments);
int runCheck(const Arguments& arguments);
int runClasses(const Arguments& arguments);
// Only in builds with the reference host (KovaHost).
int runRender(const Arguments& arguments);
int runDemo(const Arguments& arguments);
// Only in builds with SDL2; in others it says so and fails.
int runView(const Arguments& arguments);

// The help texts of render, demo and view; empty in builds without them.
std::string renderHelp();
std::string demoHelp();
std::string viewHelp();

// A picture size "WxH", from 1x1 to 8192x8192.
bool parseSize(const std::string& text, int& width, int& height);
// Times in seconds "T1,T2,...", each from 0 to a day.
bool parseTimes(const std::string& text, std::vector<double>& times);

// Where an object file named on the command line lies: the root directory
// that stream names are relative to, and the file's own stream name.
// Without --root (root empty) the argument is a path, absolute or relative
// to the current directory, and its directory becomes the root. With
// --root, a relative argument is a stream name below the root, and an
// absolute one must lie below the root. False, with a message, otherwise.
struct ObjectFile {
    std::string root;
    std::string name;
};
bool locateObjectFile(const std::string& root, const std::string& argument, ObjectFile& file,
                      std::string& error);

// Prints "kova COMMAND: MESSAGE" and where to find the usage; false.
bool usageError(const std::string& command, const std::string& message);

// Moves past the option at arguments[i] to its value and copies it; false
// (after the usage error) when the value is missing or empty.
bool takeOptionValue(const std::string& command, const Arguments& arguments, std::size_t& i,
                     std::string& value);

// The help text of one command, or of the program for an empty name; empty
// for a name that is no command.
std::string helpText(const std::string& command);

}  // namespace kova_tool
