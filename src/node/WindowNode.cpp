#include "kova/node.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(WindowNode, TransformNode)

}  // namespace kova
}  // namespace tarn
