#pragma once

#include <cstddef>
#include <memory>

#include "scene/property_record.h"

namespace cva {

class NodeArena;

// The current, start or target value of one property of a display node. Every value belongs
// to one property index; values of different indices are never mixed: Assign and Apply with a
// value of another index leave this value unchanged.
class PropertyValue {
 public:
  virtual ~PropertyValue() = default;
  // Kept in the value itself rather than asked of the class: blending reads it every frame.
  int Index() const { return index_; }
  // Copies every field of `other`.
  virtual void Assign(const PropertyValue& other) = 0;
  // Takes over a keyframe's value when the keyframe is reached: like Assign, except that the
  // coded properties (1, 10, 14, 20, 25) take only the codes that are non-zero in `other`.
  virtual void Apply(const PropertyValue& other) = 0;
  virtual std::unique_ptr<PropertyValue> Clone() const = 0;
  // The value in its stored form.
  virtual PropertyValueRecord ToRecord() const = 0;

 protected:
  explicit PropertyValue(int index) : index_(index) {}
  PropertyValue(const PropertyValue&) = default;
  PropertyValue& operator=(const PropertyValue&) = default;

 private:
  int index_;
};

// The value of property `I`. The only implementation of PropertyValue, so Index() identifies
// the class.
template <size_t I>
class TypedPropertyValue final : public PropertyValue {
 public:
  using Fields = PropertyFields<I>;

  TypedPropertyValue() : PropertyValue(static_cast<int>(I)) {}
  explicit TypedPropertyValue(const Fields& fields)
      : PropertyValue(static_cast<int>(I)), fields_(fields) {}

  static const TypedPropertyValue* Of(const PropertyValue& value) {
    return value.Index() == static_cast<int>(I) ? static_cast<const TypedPropertyValue*>(&value)
                                                : nullptr;
  }
  static TypedPropertyValue* Of(PropertyValue& value) {
    return value.Index() == static_cast<int>(I) ? static_cast<TypedPropertyValue*>(&value)
                                                : nullptr;
  }

  void Assign(const PropertyValue& other) override {
    if (const TypedPropertyValue* typed = Of(other)) fields_ = typed->fields_;
  }
  void Apply(const PropertyValue& other) override {
    const TypedPropertyValue* typed = Of(other);
    if (!typed) return;
    if constexpr (requires(Fields & f) { f.MergeFrom(f); })
      fields_.MergeFrom(typed->fields_);
    else
      fields_ = typed->fields_;
  }
  std::unique_ptr<PropertyValue> Clone() const override {
    return std::make_unique<TypedPropertyValue>(fields_);
  }
  PropertyValueRecord ToRecord() const override {
    return PropertyValueRecord(std::in_place_index<I>, fields_);
  }

  Fields& fields() { return fields_; }
  const Fields& fields() const { return fields_; }

 private:
  Fields fields_;
};

// The fields of `value` when it belongs to property `I`, else null.
template <size_t I>
PropertyFields<I>* FieldsOf(PropertyValue* value) {
  TypedPropertyValue<I>* typed = value ? TypedPropertyValue<I>::Of(*value) : nullptr;
  return typed ? &typed->fields() : nullptr;
}
template <size_t I>
const PropertyFields<I>* FieldsOf(const PropertyValue* value) {
  const TypedPropertyValue<I>* typed = value ? TypedPropertyValue<I>::Of(*value) : nullptr;
  return typed ? &typed->fields() : nullptr;
}

// A new value of property `index` with its defaults, or null for an index outside 0..25.
std::unique_ptr<PropertyValue> CreatePropertyValue(int index);
// The same, placed in `arena`: the caller destroys it (its storage stays with the arena).
PropertyValue* CreatePropertyValueIn(int index, NodeArena& arena);
// A new value holding `record`, of the property the record belongs to.
std::unique_ptr<PropertyValue> CreatePropertyValue(const PropertyValueRecord& record);

}  // namespace cva
