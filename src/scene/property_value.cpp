#include "scene/property_value.h"

#include <array>
#include <utility>

#include "scene/node_arena.h"

namespace cva {
namespace {

using Factory = std::unique_ptr<PropertyValue> (*)();

template <size_t... I>
constexpr std::array<Factory, sizeof...(I)> MakeFactories(std::index_sequence<I...>) {
  return {[]() -> std::unique_ptr<PropertyValue> {
    return std::make_unique<TypedPropertyValue<I>>();
  }...};
}

constexpr auto kFactories = MakeFactories(std::make_index_sequence<kPropertyCount>());

using ArenaFactory = PropertyValue* (*)(NodeArena&);

template <size_t... I>
constexpr std::array<ArenaFactory, sizeof...(I)> MakeArenaFactories(std::index_sequence<I...>) {
  return {
      [](NodeArena& arena) -> PropertyValue* { return arena.Make<TypedPropertyValue<I>>(); }...};
}

constexpr auto kArenaFactories = MakeArenaFactories(std::make_index_sequence<kPropertyCount>());

template <size_t... I>
std::unique_ptr<PropertyValue> FromRecord(const PropertyValueRecord& record,
                                          std::index_sequence<I...>) {
  std::unique_ptr<PropertyValue> value;
  static_cast<void>(
      ((record.index() == I
            ? (value = std::make_unique<TypedPropertyValue<I>>(std::get<I>(record)), true)
            : false) ||
       ...));
  return value;
}

}  // namespace

std::unique_ptr<PropertyValue> CreatePropertyValue(int index) {
  if (index < 0 || index >= kPropertyCount) return nullptr;
  return kFactories[static_cast<size_t>(index)]();
}

PropertyValue* CreatePropertyValueIn(int index, NodeArena& arena) {
  if (index < 0 || index >= kPropertyCount) return nullptr;
  return kArenaFactories[static_cast<size_t>(index)](arena);
}

std::unique_ptr<PropertyValue> CreatePropertyValue(const PropertyValueRecord& record) {
  return FromRecord(record, std::make_index_sequence<kPropertyCount>());
}

}  // namespace cva
