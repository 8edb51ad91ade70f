// Named streams as files below a root directory: the stream name
// "Menus/Main" is the file Menus/Main under the root ("\" separates like
// "/"); absolute names and names that climb out with ".." are refused.
//
// Writing never leaves a half-written file. An output stream writes
// "<file>.tmp" beside its file, and only when the stream ends is the
// temporary file renamed over the old one, so a reader sees either the old
// bytes or the new ones. Whether it is renamed:
// - Inside a save (beginSave ... endSave, which ReferenceHost::saveFiles
//   wraps around System::save), the files wait for the end of the save. The
//   engine releases an object file's stream before it returns, and only the
//   result of System::save says whether every object was written, so the
//   files are renamed only when that result is true and each file's own
//   writing succeeded; otherwise every one of them is removed and each old
//   file stays as it was. A save is all or nothing: its files name each
//   other, so a mix of old and new files would not fit together.
// - Outside a save (a cache file, a file written by a tool), a file is
//   renamed when its own writing succeeded and it holds at least one byte:
//   the engine's file writer writes nothing at all when it fails before the
//   end.
// Each file that is not kept is logged with the reason.
#pragma once

#include <string>
#include <vector>

#include "FileStreams.h"
#include "HostLog.h"
#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace host {

class FileStore {
public:
    FileStore(std::string root, HostLog& log) : root_(std::move(root)), log_(log) {}
    FileStore(const FileStore&) = delete;
    FileStore& operator=(const FileStore&) = delete;
    ~FileStore();

    const std::string& root() const { return root_; }

    // The path a name maps to under root; false for a name that is refused.
    static bool pathFor(const std::string& root, const char* name, std::string& path);

    // A stream on the named file, or null when there is none.
    IStream* openInput(const char* name);
    // A stream that will replace the named file, or null (logged) when no
    // temporary file can be made.
    OStream* openOutput(const char* name);

    // Brackets one save; endSave is told whether the engine's save succeeded
    // and returns whether every file of the save was replaced.
    void beginSave();
    bool endSave(bool engineSucceeded);

    // Called by an output stream when it ends.
    void finish(FinishedFile file);

    // The names of the files replaced so far, in order.
    const std::vector<std::string>& savedFiles() const { return saved_; }

private:
    bool keep(const FinishedFile& file);
    void drop(const FinishedFile& file, const std::string& why);

    std::string root_;
    HostLog& log_;
    bool saving_ = false;
    std::vector<FinishedFile> pending_;
    std::vector<std::string> saved_;
};

}  // namespace host
}  // namespace kova
}  // namespace tarn
