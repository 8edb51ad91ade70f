#include "kova/action.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Action, Object)

}  // namespace kova
}  // namespace tarn
