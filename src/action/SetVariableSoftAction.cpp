#include <cmath>

#include "kova/action.h"
#include "kova/data.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(SetVariableSoftAction, SetVariableAction)
KOVA_IMPLEMENT_CLASS(SetVariableSineAction, SetVariableSoftAction)
KOVA_IMPLEMENT_CLASS(SetVariableSinusAction, SetVariableSineAction)

namespace {

// A quarter turn as the easing has always used it; slightly less than pi/2,
// and kept so glides look as they always did.
const float QuarterTurn = 1.57075f;

}  // namespace

// A variable or target reading NaN is neither below nor above the other, so
// nothing is written rather than spreading the NaN.
bool SetVariableSoftAction::glideFrom(System& system, float& current, float& target) {
    if (!variable_ || !data_) return false;
    current = variable_->value(system);
    target = data_->value(system);
    return current < target || current > target;
}

void SetVariableSoftAction::glideStep(System& system, float current, float target, float step) {
    float next = current;
    if (current < target) {
        next = current + step;
        if (next > target) next = target;
    } else {
        next = current - step;
        if (next < target) next = target;
    }
    variable_->set(system, next);
}

// The record's first parameter is the frame's elapsed time in seconds.
bool SetVariableSoftAction::onEvent(System& system, Rectangle&, Mode&, EventData& data) {
    float current = 0.0f;
    float target = 0.0f;
    if (data.type != Event::Update || !glideFrom(system, current, target)) return false;
    glideStep(system, current, target, speed_ * data.first);
    return false;
}

bool SetVariableSoftAction::onStream(System& system, Stream& stream) {
    return SetVariableAction::onStream(system, stream) && stream.streamFloat(speed_, "Speed");
}

// Within the braking distance the step shrinks with the cosine, towards 0 as
// the target comes near.
bool SetVariableSineAction::onEvent(System& system, Rectangle&, Mode&, EventData& data) {
    float current = 0.0f;
    float target = 0.0f;
    if (data.type != Event::Update || !glideFrom(system, current, target)) return false;
    float distance = current < target ? target - current : current - target;
    float step = speed_ * data.first;
    if (distance < brakingDistance_)
        step = step * std::cos(QuarterTurn - QuarterTurn * distance / brakingDistance_);
    glideStep(system, current, target, step);
    return false;
}

bool SetVariableSineAction::onStream(System& system, Stream& stream) {
    return SetVariableSoftAction::onStream(system, stream) &&
           stream.streamFloat(brakingDistance_, "Braking distance");
}

bool SetVariableSinusAction::onCreate(System& system) {
    system.printf(
        "Kova: Warning: DEPRECATED, SetVariableSinusAction should be replaced with "
        "SetVariableSineAction\r\n");
    return SetVariableSineAction::onCreate(system);
}

bool SetVariableSinusAction::onLoad(System& system, IStream& stream) {
    system.printf(
        "Kova: Warning: DEPRECATED, SetVariableSinusAction should be replaced with "
        "SetVariableSineAction\r\n");
    return SetVariableSineAction::onLoad(system, stream);
}

}  // namespace kova
}  // namespace tarn
