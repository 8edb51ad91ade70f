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

// The help text of one command, or of the program for an empty name; empty
// for a name that is no command.
std::string helpText(const std::string& command);

}  // namespace kova_tool
