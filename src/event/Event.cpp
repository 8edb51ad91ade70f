#include "kova/event.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Event, Object)

}  // namespace kova
}  // namespace tarn
