#include "kova/container.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Tree, Object)

}  // namespace kova
}  // namespace tarn
