#include "TextSources.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "TextForm.h"

namespace tarn {
namespace kova {
namespace view {

namespace {

bool readWholeFile(const std::string& path, std::string& bytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// The host a text is built in: object files the text refers to come from
// the other text sources first and from disk otherwise; the files the build
// writes stay in memory.
class BuildHost : public text::DirectoryHost {
public:
    BuildHost(const std::string& root, TextSources& sources,
              std::map<std::string, std::string>& written)
        : DirectoryHost(root), sources_(sources), written_(written) {}

    bool readFile(const std::string& name, std::string& bytes) override {
        std::size_t failures = sources_.errors().size();
        const std::string* built = sources_.objectFile(name);
        if (built) {
            bytes = *built;
            return true;
        }
        return sources_.errors().size() == failures && DirectoryHost::readFile(name, bytes);
    }
    bool writeFile(const std::string& name, const std::string& bytes) override {
        written_[name] = bytes;
        return true;
    }

private:
    TextSources& sources_;
    std::map<std::string, std::string>& written_;
};

}  // namespace

const std::string* TextSources::objectFile(const std::string& name) {
    std::string path;
    std::string text;
    if (text::streamNamePath(root_, name + ".txt", path)) {
        path = std::filesystem::path(path).lexically_normal().string();  // "./a.txt" is "a.txt"
    }
    if (path.empty() || !readWholeFile(path, text)) {
        // No text of its own; it may still have been written by the build
        // of a text that defines it.
        auto found = built_.find(name);
        return found == built_.end() ? nullptr : &found->second;
    }
    if (building_.count(name)) {
        errors_.push_back(path + ":1:1: the text refers back to itself through other files");
        return nullptr;
    }
    // A text that failed is built again even when it is the same: it may
    // have failed for a file it refers to, which may build now.
    auto known = sources_.find(name);
    if (known != sources_.end() && known->second.text == text && known->second.error.empty()) {
        return &built_[name];
    }
    Source& source = sources_[name];
    source.path = path;
    source.text = text;
    if (!build(name, source)) {
        errors_.push_back(source.error);
        return nullptr;
    }
    return &built_[name];
}

std::vector<std::string> TextSources::textPaths() const {
    std::vector<std::string> paths;
    for (const auto& source : sources_)
        paths.push_back(source.second.path);
    return paths;
}

bool TextSources::build(const std::string& name, Source& source) {
    building_.insert(name);
    std::map<std::string, std::string> written;
    BuildHost host(root_, *this, written);
    host.init();
    std::string error;
    bool built = text::buildObjectFile(host, source.text, source.path, name, error);
    std::vector<std::string> problems = text::problemLines(host.logLines());
    host.exit();
    building_.erase(name);
    if (!built) {
        // The engine's own line tells what the place in the text met.
        source.error = error + (problems.empty() ? "" : " (" + problems.front() + ")");
        return false;
    }
    source.error.clear();
    for (auto& file : written)
        built_[file.first] = std::move(file.second);
    return true;
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
