#include "kova/data.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Data, Object)

}  // namespace kova
}  // namespace tarn
