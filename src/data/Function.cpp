#include "kova/data.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Function, Object)

}  // namespace kova
}  // namespace tarn
