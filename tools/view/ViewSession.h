// The screens the viewer shows, and their reloading. A session owns the
// running host. To reload, it builds and loads the screens into a second,
// new host while the first keeps running; only when the new load succeeds
// (every text builds, the engine loads the file and logs no error) does the
// new host take over, with what the old one had come to:
// - the values the named variables took on while running (ValueCarrier),
// - the screens the named path nodes show (PathCarrier),
// - the pointer's position, and so the focus.
// Otherwise the old host goes on, and error() tells what failed:
// "FILE:LINE:COLUMN: message" for a text, the engine's first error line for
// an object file.
//
// The files a load read are watched (SourceWatcher): the text sources, the
// object files from disk, and the screens' own file in both forms, so that
// one that does not exist yet is noticed when it appears.
#pragma once

#include <memory>
#include <string>

#include "SourceWatcher.h"
#include "TextSources.h"
#include "ValueCarrier.h"
#include "ViewHost.h"
#include "ViewLog.h"

namespace tarn {
namespace kova {
namespace view {

struct ViewSettings {
    std::string root;  // the directory that stream names are relative to
    std::string name;  // the stream name of the screens' root file
    int width = 640;   // the screen and its canvas, in pixels
    int height = 480;
    // Pads become players in the order they join, as the sample game sets
    // its engine up (a DynamicIndexPointer).
    bool players = false;
};

class ViewSession {
public:
    ViewSession(const ViewSettings& settings, ViewLog& log);
    ~ViewSession();
    ViewSession(const ViewSession&) = delete;
    ViewSession& operator=(const ViewSession&) = delete;

    // Loads the screens; false when they cannot be (error() tells why). The
    // session then runs an empty host until a reload succeeds.
    bool start();
    // Loads the screens again, whether or not a file changed; false when the
    // new load fails and the running screens stay.
    bool reload();
    // Whether a watched file changed since the last look.
    bool sourcesChanged() { return watcher_.changed(); }

    ViewHost& host() { return *host_; }
    // Why the last load failed; empty after one that succeeded.
    const std::string& error() const { return error_; }
    // Passes the running host's new log lines to the viewer's log.
    void collectLog();

private:
    std::unique_ptr<ViewHost> load(std::string& error);
    std::unique_ptr<ViewHost> newHost();
    void watchFilesOf(ViewHost& host);

    ViewSettings settings_;
    ViewLog& log_;
    TextSources sources_;
    SourceWatcher watcher_;
    ValueCarrier values_;
    std::unique_ptr<ViewHost> host_;
    std::size_t logged_ = 0;  // lines of host_'s log passed on
    std::string error_;
};

}  // namespace view
}  // namespace kova
}  // namespace tarn
