#pragma once

// One entry of a document's objects section: the type code, then the record of that type.

#include <cstdint>
#include <string>
#include <variant>

#include "scene/objects/mesh_record.h"
#include "scene/objects/object_records.h"
#include "scene/objects/particle_record.h"
#include "stream/record_fields.h"

namespace cva {

// Type codes of scene objects. Any other code names no object type.
enum class ObjectType : uint8_t {
  kRect = 1,
  kImage = 2,
  kEmbeddedScene = 3,
  kSound = 4,
  kText = 5,
  kNumber = 6,
  kPanel = 7,
  kMesh = 8,
  kJoint = 9,
  kWarpImage = 10,
  kParticle = 11,
};

// The record of one object; the alternative's index is its type code (0: no record).
using ObjectRecord = std::variant<std::monostate, RectRecord, ImageRecord, EmbeddedSceneRecord,
                                  SoundRecord, TextObjectRecord, NumberRecord, PanelRecord,
                                  MeshRecord, JointRecord, WarpImageRecord, ParticleRecord>;

// The empty record of a type code, or no record (monostate) for an unknown code.
ObjectRecord MakeObjectRecord(uint8_t type);

struct ObjectEntry {
  uint8_t type = 0;
  ObjectRecord record;

  // The id the record begins with, or -1 without a record.
  int16_t id() const {
    return std::visit(
        [](const auto& r) -> int16_t {
          if constexpr (requires { r.id; })
            return r.id;
          else
            return -1;
        },
        record);
  }

  template <class V>
  void Visit(V& v) {
    v.Byte("type", type);
    if constexpr (V::kReading) {
      record = MakeObjectRecord(type);
    } else if (record.index() != type) {
      return v.Fail("object type code " + std::to_string(type) + " does not match its record");
    }
    // The record's length depends on its type, so nothing after an unknown type can be read.
    if (std::holds_alternative<std::monostate>(record))
      return v.Fail("unknown object type code " + std::to_string(type));
    std::visit(
        [&](auto& r) {
          if constexpr (!std::is_same_v<std::decay_t<decltype(r)>, std::monostate>)
            v.Record("record", r);
        },
        record);
  }
};

inline ObjectRecord MakeObjectRecord(uint8_t type) {
  switch (static_cast<ObjectType>(type)) {
    case ObjectType::kRect:
      return RectRecord{};
    case ObjectType::kImage:
      return ImageRecord{};
    case ObjectType::kEmbeddedScene:
      return EmbeddedSceneRecord{};
    case ObjectType::kSound:
      return SoundRecord{};
    case ObjectType::kText:
      return TextObjectRecord{};
    case ObjectType::kNumber:
      return NumberRecord{};
    case ObjectType::kPanel:
      return PanelRecord{};
    case ObjectType::kMesh:
      return MeshRecord{};
    case ObjectType::kJoint:
      return JointRecord{};
    case ObjectType::kWarpImage:
      return WarpImageRecord{};
    case ObjectType::kParticle:
      return ParticleRecord{};
  }
  return std::monostate{};
}

}  // namespace cva
