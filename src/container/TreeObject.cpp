#include "kova/container.h"

namespace tarn {
namespace kova {

TreeObject::TreeObject(TreeObject* parent, TreeObject* previous, TreeObject* next,
                       TreeObject* child)
    : next_(next), previous_(previous), child_(child), parent_(parent) {}

}  // namespace kova
}  // namespace tarn
