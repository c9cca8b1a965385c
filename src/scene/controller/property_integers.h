#pragma once

#include <cstdint>

namespace cva {

class PropertyValue;

// Properties as integers, for controller operands that read and write a node's property or a
// keyframe's value. Vector properties (2 position, 4 scale, 5 pivot, 11 texture offset) give
// component 0 = x, 1 = y, truncated toward zero; the angle (3) is in whole degrees; the colour
// (7) gives bytes red, green, blue, alpha for components 0 to 3; the integer properties (13
// number, 18 volume, 19 pan) give their value. Everything else reads 0.
int32_t ReadPropertyInteger(const PropertyValue& value, int32_t component);

// Stores `number` back through the same conversion; returns false, changing nothing, where the
// read would give a constant 0 (another property, or a component the property lacks). Colour
// bytes keep the low eight bits of the number.
bool WritePropertyInteger(PropertyValue& value, int32_t component, int32_t number);

// trunc(v) limited to the 32-bit range, 0 for NaN: a float-to-integer conversion that is
// defined for every input.
int32_t TruncateToInt32(double v);

}  // namespace cva
