#include "scene/controller/property_integers.h"

#include <cmath>
#include <limits>
#include <type_traits>

#include "scene/property_record.h"
#include "scene/property_value.h"

namespace cva {
namespace {

// Pi as the controllers convert angles with it.
constexpr float kPi = 3.141592f;

// The vector of properties 2, 4, 5 and 11, else null. `P` is PropertyValue, const or not.
template <class P>
auto* VectorProperty(P& value) {
  using V = std::conditional_t<std::is_const_v<P>, const Vec2, Vec2>;
  V* none = nullptr;
  if (auto* f = FieldsOf<kPositionProperty>(&value)) return &f->position;
  if (auto* f = FieldsOf<kScaleProperty>(&value)) return &f->scale;
  if (auto* f = FieldsOf<kPivotProperty>(&value)) return &f->pivot;
  if (auto* f = FieldsOf<kTexOffsetProperty>(&value)) return &f->offset;
  return none;
}

// The integer of properties 13, 18 and 19, else null.
template <class P>
auto* IntegerProperty(P& value) {
  using I = std::conditional_t<std::is_const_v<P>, const int32_t, int32_t>;
  I* none = nullptr;
  if (auto* f = FieldsOf<kNumberValueProperty>(&value)) return &f->value;
  if (auto* f = FieldsOf<kVolumeProperty>(&value)) return &f->value;
  if (auto* f = FieldsOf<kPanProperty>(&value)) return &f->value;
  return none;
}

// Byte `component` (0 red to 3 alpha) of a colour, else null.
template <class C>
auto* ColourByte(C& colour, int32_t component) {
  switch (component) {
    case 0:
      return &colour.red;
    case 1:
      return &colour.green;
    case 2:
      return &colour.blue;
    case 3:
      return &colour.alpha;
    default:
      return static_cast<decltype(&colour.red)>(nullptr);
  }
}

}  // namespace

int32_t TruncateToInt32(double v) {
  if (std::isnan(v)) return 0;
  if (v <= static_cast<double>(std::numeric_limits<int32_t>::min()))
    return std::numeric_limits<int32_t>::min();
  if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
    return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(v);
}

int32_t ReadPropertyInteger(const PropertyValue& value, int32_t component) {
  if (const Vec2* vector = VectorProperty(value)) {
    if (component == 0) return TruncateToInt32(vector->x);
    if (component == 1) return TruncateToInt32(vector->y);
    return 0;
  }
  if (const int32_t* integer = IntegerProperty(value)) return *integer;
  if (const auto* angle = FieldsOf<kAngleProperty>(&value))
    return TruncateToInt32(angle->angle * 180.0f / kPi);
  if (const auto* colour = FieldsOf<kColourProperty>(&value)) {
    const uint8_t* byte = ColourByte(colour->colour, component);
    return byte ? *byte : 0;
  }
  return 0;
}

bool WritePropertyInteger(PropertyValue& value, int32_t component, int32_t number) {
  if (Vec2* vector = VectorProperty(value)) {
    if (component == 0) {
      vector->x = static_cast<float>(number);
    } else if (component == 1) {
      vector->y = static_cast<float>(number);
    } else {
      return false;
    }
    return true;
  }
  if (int32_t* integer = IntegerProperty(value)) {
    *integer = number;
    return true;
  }
  if (auto* angle = FieldsOf<kAngleProperty>(&value)) {
    angle->angle = static_cast<float>(number) * kPi / 180.0f;
    return true;
  }
  if (auto* colour = FieldsOf<kColourProperty>(&value)) {
    uint8_t* byte = ColourByte(colour->colour, component);
    if (!byte) return false;
    *byte = static_cast<uint8_t>(number & 0xFF);
    return true;
  }
  return false;
}

}  // namespace cva
