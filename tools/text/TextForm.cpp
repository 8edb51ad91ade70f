#include "TextForm.h"

namespace tarn {
namespace kova {
namespace text {

namespace {

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

bool announcesOldFormat(const std::vector<std::string>& lines, std::size_t i) {
    return startsWith(lines[i], "Kova: Error: Wrong file version(") && i + 1 < lines.size() &&
           startsWith(lines[i + 1], "Kova: Info: Trying old format");
}

// "Kova: Error: ..." and the loader's "Kova: Error reading from istream".
bool isError(const std::string& line) {
    return startsWith(line, "Kova: Error");
}

// A deprecation notice is advice about a class, not a problem of the file:
// such classes still load and save exactly. The engine words them in two
// ways: "DEPRECATED, X should be ..." and "X is deprecated and ...".
bool isDeprecationNotice(const std::string& line) {
    return startsWith(line, "Kova: Warning: DEPRECATED") ||
           (startsWith(line, "Kova: Warning: ") &&
            line.find(" is deprecated ") != std::string::npos);
}

bool isWarning(const std::string& line) {
    return startsWith(line, "Kova: Warning") && !isDeprecationNotice(line);
}

}  // namespace

LogSummary summarizeLog(const std::vector<std::string>& lines) {
    LogSummary summary;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (isError(lines[i]) && !announcesOldFormat(lines, i)) ++summary.errors;
        if (isWarning(lines[i])) ++summary.warnings;
    }
    return summary;
}

std::vector<std::string> problemLines(const std::vector<std::string>& lines) {
    std::vector<std::string> problems;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        bool error = isError(lines[i]) && !announcesOldFormat(lines, i);
        if (error || isWarning(lines[i])) problems.push_back(lines[i]);
    }
    return problems;
}

bool writeText(System& system, Object* root, const char* impliedName, bool inlineOwnFiles,
               std::string& text, std::string& error) {
    TextFormOStream out(inlineOwnFiles);
    bool ok = out.writeRoot(system, root, impliedName);
    text = out.text();
    error = out.error();
    return ok;
}

bool readText(System& system, const std::string& text, const std::string& textName,
              const char* rootName, Object*& root, std::string& error) {
    TextFormIStream in(text, textName);
    bool ok = in.readRoot(system, root, rootName);
    error = in.error();
    return ok;
}

// The steps of the engine's own-file writer, for a root of any class.
bool writeObjectFile(System& system, Object* root, const char* name) {
    if (!root || !name) return false;
    OStream* target = system.createOStream(name);
    if (!target) return false;
    ClassOStream out(target);
    return out.streamStaticString(system, root->actualClass()->fullName(), "Class name") &&
           root->onSave(system, out) && out.streamFinished(system);
}

bool dumpObjectFile(ToolHost& host, const std::string& name, bool inlineOwnFiles, std::string& text,
                    std::string& error) {
    Object* root = nullptr;
    bool loaded = Object::loadNewStream(host, root, name.c_str());
    bool ok = loaded && root;
    if (!ok) {
        error = name + ": cannot load the object file";
    } else if (!writeText(host, root, name.c_str(), inlineOwnFiles, text, error)) {
        error = name + ": " + error;
        ok = false;
    }
    Object::clear(host, root);
    return ok;
}

// Every failure is told at a place in the text: the reader's own errors, and
// the root's or an own file's record when the engine cannot write it (more
// than 511 distinct names or more than 524288 bytes of fields in one file).
bool buildObjectFile(ToolHost& host, const std::string& text, const std::string& textName,
                     const std::string& outName, std::string& error) {
    Object* root = nullptr;
    TextFormIStream in(text, textName);
    host.holdFiles();  // written only once every file of the build is complete
    bool ok = in.readRoot(host, root, outName.c_str());
    error = in.error();
    // A file's root is known by the file's name once loaded: a root named
    // otherwise would lose its name, and references to it would find nothing.
    char rootName[256];
    if (ok && host.copyObjectFullName(root, rootName, sizeof(rootName)) && outName != rootName) {
        error = in.locate(root) + ": the root is named '" + rootName + "' but is written as '" +
                outName + "' (a file's root takes the file's name; leave the name out)";
        ok = false;
    }
    if (ok && !problemLines(host.logLines()).empty()) {
        error = in.locate(root) + ": the engine reported problems while reading the text";
        ok = false;
    }
    if (ok && !writeObjectFile(host, root, outName.c_str())) {
        error = in.locate(root) + ": cannot write this record as the object file '" + outName +
                "' (more than 511 names or 524288 bytes?)";
        ok = false;
    }
    for (Object* owner : in.ownFileObjects()) {
        Object* reference = owner;
        if (ok && !Object::saveNewStream(host, reference)) {
            error = in.locate(owner) + ": cannot write this record as its own object file";
            ok = false;
        }
    }
    Object::clear(host, root);
    host.releaseFiles(ok);
    if (ok && !host.failedFiles().empty()) {
        error = textName + ": cannot write the file '" + host.failedFiles().front() + "'";
        ok = false;
    }
    return ok;
}

}  // namespace text
}  // namespace kova
}  // namespace tarn
