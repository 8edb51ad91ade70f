#include "ViewSession.h"

#include <vector>

#include "PathCarrier.h"
#include "TextForm.h"

namespace tarn {
namespace kova {
namespace view {

ViewSession::ViewSession(const ViewSettings& settings, ViewLog& log)
    : settings_(settings), log_(log), sources_(settings.root) {
    std::string path;
    for (const std::string& name : {settings.name, settings.name + ".txt"}) {
        if (host::FileStore::pathFor(settings.root, name.c_str(), path)) watcher_.watch(path);
    }
}

ViewSession::~ViewSession() {
    if (host_) host_->exit();
}

bool ViewSession::start() {
    host_ = load(error_);
    if (host_) {
        values_.noteLoaded(*host_);
        return true;
    }
    host_ = newHost();
    return false;
}

bool ViewSession::reload() {
    collectLog();
    std::string error;
    std::unique_ptr<ViewHost> next = load(error);
    if (!next) {
        error_ = error;
        log_.note("the screens stay as they were: " + error);
        return false;
    }
    int carried = values_.carry(*host_, *next);
    std::vector<std::string> notes;
    PathCarrier::carry(*host_, *next, notes);
    // The screens switch at once; tab-stop managers that meet a screen anew
    // put the pointer on its first tab stop, so the pointer goes back
    // afterwards to the tab stop that had the focus.
    next->update(0.0f);
    if (host_->firstNode()) {
        const Coordinate2 pointer = host_->pointerPosition();
        next->pointerMove(pointer.x, pointer.y);
    }
    host_->exit();
    host_ = std::move(next);
    logged_ = 0;
    collectLog();
    for (const std::string& note : notes)
        log_.note(note);
    log_.note("reloaded " + settings_.name + ", " + std::to_string(carried) +
              (carried == 1 ? " value" : " values") + " kept");
    error_.clear();
    return true;
}

void ViewSession::collectLog() {
    const std::vector<std::string>& lines = host_->log().lines();
    for (; logged_ < lines.size(); ++logged_)
        log_.add(lines[logged_]);
}

// A failed load's log goes to the viewer's log before its host ends, so the
// engine's own lines about the failure can be read.
std::unique_ptr<ViewHost> ViewSession::load(std::string& error) {
    sources_.clearErrors();
    std::unique_ptr<ViewHost> host = newHost();
    bool loaded = host->load(settings_.name.c_str(), static_cast<const char*>(nullptr));
    watchFilesOf(*host);
    std::vector<std::string> problems;
    for (const std::string& line : text::problemLines(host->log().lines())) {
        if (line.compare(0, 11, "Kova: Error") == 0) problems.push_back(line);
    }
    if (!sources_.errors().empty()) {
        error = sources_.errors().front();
    } else if (!problems.empty()) {
        error = problems.front();
    } else if (!loaded) {
        error = "'" + settings_.name + "' cannot be loaded";
    } else {
        return host;
    }
    for (const std::string& line : host->log().lines())
        log_.add(line);
    host->exit();
    return nullptr;
}

std::unique_ptr<ViewHost> ViewSession::newHost() {
    auto host =
        std::make_unique<ViewHost>(sources_, settings_.root, settings_.width, settings_.height);
    host->init();
    if (settings_.players) {
        Pointer::clear(*host, host->pointer());
        Object::create(*host, host->pointer(), DynamicIndexPointer::absoluteClass());
    }
    return host;
}

void ViewSession::watchFilesOf(ViewHost& host) {
    for (const std::string& path : sources_.textPaths())
        watcher_.watch(path);
    for (const std::string& path : host.diskFiles())
        watcher_.watch(path);
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
