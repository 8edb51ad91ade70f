// kova: converts Kova object files to their text form and back, checks them
// with the engine's own loader, lists the classes a text can name, draws
// screen sets as pictures, pictures the sample menu, and shows screens live.
#include <iostream>

#include "KovaCommands.h"

int main(int argc, char** argv) {
    using namespace kova_tool;
    Arguments arguments(argv + (argc > 1 ? 2 : argc), argv + argc);
    std::string command = argc > 1 ? argv[1] : "";
    if (command.empty() || command == "--help" || command == "-h") {
        std::cout << helpText("");
        return command.empty() ? 2 : 0;
    }
    if (command == "help") {
        std::string topic = arguments.empty() ? "" : arguments[0];
        std::string text = helpText(topic);
        if (text.empty() && topic == "view") return runView(arguments);  // says why it has none
        if (text.empty()) {
            std::cerr << "kova: unknown command '" << topic << "'\n";
            return 2;
        }
        std::cout << text;
        return 0;
    }
    if (command == "dump") return runDump(arguments);
    if (command == "build") return runBuild(arguments);
    if (command == "check") return runCheck(arguments);
    if (command == "classes") return runClasses(arguments);
    if (command == "render" && !renderHelp().empty()) return runRender(arguments);
    if (command == "demo" && !demoHelp().empty()) return runDemo(arguments);
    if (command == "view") return runView(arguments);
    std::cerr << "kova: unknown command '" << command << "'\n" << helpText("");
    return 2;
}
