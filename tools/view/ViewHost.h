// The reference host as the viewer runs it: object files come from their
// text sources when they have one (TextSources), and from disk otherwise.
// It notes which files it read and which pictures it was given, so the
// viewer knows what to watch.
#pragma once

#include <set>
#include <string>

#include "ReferenceHost.h"
#include "TextSources.h"

namespace tarn {
namespace kova {
namespace view {

class ViewHost : public host::ReferenceHost {
public:
    ViewHost(TextSources& sources, const std::string& root, int width, int height)
        : ReferenceHost(root, width, height), sources_(sources) {}

    // A stream on the built object file, or on the file on disk; null when
    // the name's text source does not build (TextSources::errors tells why),
    // and then the file on disk is not read in its place.
    IStream* createIStream(const char* name) override;
    // Notes the picture's file, then as the reference host.
    int pictureHandle(const char* name) override;

    // The object files read from disk so far, and the pictures named, as
    // paths.
    const std::set<std::string>& diskFiles() const { return diskFiles_; }

private:
    TextSources& sources_;
    std::set<std::string> diskFiles_;
};

}  // namespace view
}  // namespace kova
}  // namespace tarn
