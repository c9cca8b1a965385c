#include "scene/property_record.h"

#include <array>
#include <utility>

namespace cva {
namespace {

using Emplacer = void (*)(PropertyValueRecord&);

template <size_t... I>
constexpr std::array<Emplacer, sizeof...(I)> MakeEmplacers(std::index_sequence<I...>) {
  return {[](PropertyValueRecord& record) { record.emplace<I>(); }...};
}

constexpr auto kEmplacers = MakeEmplacers(std::make_index_sequence<kPropertyCount>());

}  // namespace

bool ResetPropertyValueRecord(PropertyValueRecord& record, int index) {
  if (index < 0 || index >= kPropertyCount) return false;
  kEmplacers[static_cast<size_t>(index)](record);
  return true;
}

}  // namespace cva
