#pragma once

#include "scene/property_value.h"

namespace cva {

// Sets `value` between `start` (t = 0) and `target` (t = 1) by the blend rule of its property:
// integers step by the truncated product, floats and vectors move linearly, colours step per
// byte and stay within 0..255, positions follow the held path mode (straight, Hermite, or a
// jump to the target), angles turn the way the held direction mode asks. Coded, textual and
// command properties do not blend: they change only when a keyframe is applied. Nothing
// happens when the three values do not all belong to the same property. Integer results are
// clamped to their field's range, and a NaN step counts as no step.
void Blend(PropertyValue& value, const PropertyValue& target, const PropertyValue& start, float t);

}  // namespace cva
