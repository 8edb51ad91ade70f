#include "kova/container.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

bool NavigateTreeObject::onStream(System& system, Stream& stream) {
    return TreeObject::onStream(system, stream) &&
           stream.streamData(system, description_, "Description", nullptr) &&
           stream.streamAction(system, action_, "Action", nullptr);
}

}  // namespace kova
}  // namespace tarn
