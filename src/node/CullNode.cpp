#include "kova/data.h"
#include "kova/event.h"
#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(CullNode, Node)

// No variable means always shown; a variable shows the chain unless it is 0.
bool CullNode::wantsShown(System& system) {
    return !data_ || data_->value(system) != 0.0f;
}

// The chain hears a show or hide event like a screen does, in the mode the
// cull node received.
void CullNode::send(System& system, Mode& mode, Rectangle& rect, int type) {
    EventData data{type, 0, 0.0f, 0.0f, 0.0f};
    EventIterator iterator(data);
    iterator.iterate(system, next_, rect, mode);
}

// A change of mind in mid-fade turns the fade round where it stands; the
// events of the abandoned direction that were not sent yet never are.
bool CullNode::iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    NodeWalkScope scope(system);
    if (scope.tooDeep() || !next_) return true;
    if (wantsShown(system)) {
        if (position_ == -1.0f) {
            send(system, mode, rect, Event::PreWaitShow);
            send(system, mode, rect, Event::PreShow);
            position_ = 0.0f;
        }
        if (position_ < 1.0f) {
            if (inTime_ == 0.0f || (position_ += elapsed / inTime_) >= 1.0f) {
                send(system, mode, rect, Event::PostShow);
                position_ = 2.0f;
            }
        }
    } else if (position_ > 0.0f) {
        if (position_ == 2.0f) {
            send(system, mode, rect, Event::PreWaitHide);
            send(system, mode, rect, Event::PreHide);
            position_ = 1.0f;
        }
        if (outTime_ == 0.0f || (position_ -= elapsed / outTime_) <= 0.0f) {
            send(system, mode, rect, Event::PostHide);
            position_ = -1.0f;
        }
    }
    if (position_ > 0.0f) return next_->iterateUpdate(system, mode, rect, elapsed);
    return true;  // a hidden chain stands still
}

// While it fades, the chain is painted through an element that scales the
// show level and tells the effects below which way the fade runs.
void CullNode::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                            EffectPipe& pipe) {
    NodeWalkScope scope(system);
    if (scope.tooDeep() || !next_ || position_ <= 0.0f) return;
    if (position_ >= 1.0f) {
        next_->iteratePaint(system, mode, rect, clip, pipe);
        return;
    }
    EffectPipe element;
    element.next = &pipe;
    element.effect = nullptr;
    element.showDirection = pipe.showDirection;
    element.showLevel = pipe.showLevel * position_;
    element.modeDirection = wantsShown(system) ? 1.0f : -1.0f;
    element.modeLevel = pipe.modeLevel;
    element.effectLevel = 1.0f;
    next_->iteratePaint(system, mode, rect, clip, element);
}

// Only a shown chain can be searched; a fading one is passing through.
void CullNode::iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) {
    NodeWalkScope scope(system);
    if (scope.tooDeep() || position_ < 1.0f) return;
    Iterator::SearchMode search = iterator.searchMode();
    if (search != Iterator::SearchAll && search != Iterator::SearchFocused &&
        search != Iterator::SearchHidden)
        return;
    iterator.iterateNext(system, next_, rect, mode);
}

// The position is run-time state: a loaded cull node starts hidden and shows
// its chain on its first update.
bool CullNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) && stream.streamData(system, data_, "Data", nullptr) &&
           stream.streamFloat(inTime_, "In time") && stream.streamFloat(outTime_, "Out time");
}

}  // namespace kova
}  // namespace tarn
