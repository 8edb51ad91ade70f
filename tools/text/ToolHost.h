// Hosts for tools: a System whose streams are whole files read into memory,
// whose log is kept line by line, and whose fonts, pictures and sounds are
// plain names interned to handles, so every name survives a load and a save.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace text {

// Names interned to handles one to one; the empty name is handle 0, so a
// handle nobody set still has a name.
class ResourceNames {
public:
    ResourceNames() { names_.push_back(""); }
    int handle(const char* name);
    const char* name(int handle) const;

private:
    std::deque<std::string> names_;  // a deque keeps the texts in place
    std::map<std::string, int> handles_{{"", 0}};
};

class ToolHost : public System {
public:
    // With setAsideStartObjects, the named objects that init registers (the
    // system style "System") leave the name directory until exit. A file's
    // record of the same name is then read rather than skipped as shared, so
    // its fields reach the text exactly. A game-like check keeps them.
    explicit ToolHost(bool setAsideStartObjects = true);

    bool init() override;
    bool exit() override;

    OStream* infoOStream() override { return &log_; }
    IStream* createIStream(const char* name) override;
    OStream* createOStream(const char* name) override;
    int fontHandle(const char* name) override { return fonts_.handle(name); }
    const char* fontName(int handle) override { return fonts_.name(handle); }
    int pictureHandle(const char* name) override { return pictures_.handle(name); }
    const char* pictureName(int handle) override { return pictures_.name(handle); }
    int soundHandle(const char* name) override { return sounds_.handle(name); }
    const char* soundName(int handle) override { return sounds_.name(handle); }

    // Every log line so far, without its line end.
    const std::vector<std::string>& logLines() const { return log_.lines; }
    void clearLog() { log_.lines.clear(); }

    // Object files by stream name.
    virtual bool readFile(const std::string& name, std::string& bytes) = 0;
    virtual bool writeFile(const std::string& name, const std::string& bytes) = 0;

    // The names of the files written so far, and of those that failed.
    const std::vector<std::string>& writtenFiles() const { return written_; }
    const std::vector<std::string>& failedFiles() const { return failed_; }

    // Called when an output stream is released: its bytes become the file,
    // unless files are held.
    void commitFile(const std::string& name, const std::string& bytes);

    // While files are held, released output streams are kept back until
    // releaseFiles writes them all, or drops them all after a failed build,
    // so that a build that fails leaves the files it would replace alone.
    void holdFiles() { holding_ = true; }
    void releaseFiles(bool write);

private:
    class LogStream : public OStream {
    public:
        int writeBuffer(const void* data, int size) override;
        std::vector<std::string> lines;

    private:
        std::string pending_;
    };

    bool setAside_;
    std::vector<std::pair<Object*, std::string>> asideObjects_;  // object, directory
    LogStream log_;
    ResourceNames fonts_;
    ResourceNames pictures_;
    ResourceNames sounds_;
    std::vector<std::string> written_;
    std::vector<std::string> failed_;
    bool holding_ = false;
    std::vector<std::pair<std::string, std::string>> held_;  // name, bytes
};

// Files in memory: for tests, and for tools that convert without a disk.
class MemoryHost : public ToolHost {
public:
    explicit MemoryHost(bool setAsideStartObjects = true) : ToolHost(setAsideStartObjects) {}

    bool readFile(const std::string& name, std::string& bytes) override;
    bool writeFile(const std::string& name, const std::string& bytes) override;

    std::map<std::string, std::string> files;
};

// The file a stream name maps to under root ("\\" separates like "/");
// false for absolute names and names that climb out with "..".
bool streamNamePath(const std::string& root, const std::string& name, std::string& path);

// Files under a root directory: the stream name "Menus/Main" is the file
// Menus/Main below the root ("\" separates like "/"). Absolute names and
// names that climb out with ".." are refused.
class DirectoryHost : public ToolHost {
public:
    explicit DirectoryHost(std::string root, bool setAsideStartObjects = true)
        : ToolHost(setAsideStartObjects), root_(std::move(root)) {}

    bool readFile(const std::string& name, std::string& bytes) override;
    bool writeFile(const std::string& name, const std::string& bytes) override;

    // The path a stream name maps to; false for names that are refused.
    bool pathFor(const std::string& name, std::string& path) const;

private:
    std::string root_;
};

}  // namespace text
}  // namespace kova
}  // namespace tarn
