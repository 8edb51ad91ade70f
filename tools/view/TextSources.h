// Screens written as text, built into object files in memory as the viewer
// needs them. A text source is the file NAME.txt below the root, and it
// stands for the object file NAME: while Screens/Title.txt exists, the
// stream "Screens/Title" is built from it (as `kova build` would build it)
// rather than read from disk, so an author edits texts and never builds by
// hand. Object files without a text source are read from disk as they are.
//
// A text is built again only when its bytes changed, or when its last build
// failed. A text that refers to
// another object file (@"Screens/Options") has that file built first when
// it has a text of its own, so texts may be met in any order. Named objects
// that keep their own files, defined in full in a text, become object files
// of their own in memory too, as `kova build` writes them beside the root.
// Nothing is written to disk.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tarn {
namespace kova {
namespace view {

class TextSources {
public:
    explicit TextSources(std::string root) : root_(std::move(root)) {}

    // The bytes of the object file `name`, built from its text source when
    // there is one; null when the name has none (read it from disk then),
    // and null with a new entry in errors() when its text does not build.
    const std::string* objectFile(const std::string& name);

    // The build failures met since clearErrors, first the innermost (the
    // text that failed, then the texts that refer to it), each as
    // "FILE:LINE:COLUMN: message".
    const std::vector<std::string>& errors() const { return errors_; }
    void clearErrors() { errors_.clear(); }

    // The paths of the text sources built so far, to watch for changes.
    std::vector<std::string> textPaths() const;

private:
    struct Source {
        std::string path;
        std::string text;   // the bytes the last build read
        std::string error;  // why it did not build; empty when it did
    };

    bool build(const std::string& name, Source& source);

    std::string root_;
    std::map<std::string, Source> sources_;     // by stream name
    std::map<std::string, std::string> built_;  // object files by stream name
    std::set<std::string> building_;            // names whose build is under way
    std::vector<std::string> errors_;
};

}  // namespace view
}  // namespace kova
}  // namespace tarn
