#pragma once

// Stored operands of controller handlers and the variable references inside them.

#include <cstdint>
#include <string>

#include "stream/record_fields.h"

namespace cva {

// Which variable table a reference names.
enum class VariableScope : uint8_t { kDocument = 0, kController = 1, kProcess = 2 };

// A scope byte and a variable id. The reference is resolved against the tables when the
// controller is built; an id that names no variable leaves it empty.
struct VariableRefRecord {
  uint8_t scope = 0;
  int16_t id = 0;

  template <class V>
  void Visit(V& v) {
    v.Byte("scope", scope);
    v.Short("id", id);
  }
  friend bool operator==(const VariableRefRecord&, const VariableRefRecord&) = default;
};

enum class OperandType : uint8_t {
  kInteger = 1,          // value
  kReference = 2,        // value (an id: a label, a node, ...)
  kReferenceB = 3,       // value
  kIntegerB = 4,         // value
  kExternal = 5,         // name, read through the external value provider
  kTextValue = 6,        // value and text
  kTextValueB = 7,       // value and text
  kNodeProperty = 8,     // property index and component of the controller's node
  kKeyframeValue = 9,    // label index and component of a keyframe
  kVariable = 10,        // variable, read and written as stored
  kVariableBits = 11,    // variable and bit mask
  kVariableRanged = 12,  // variable, through its setting rule
};

// One operand: its type, the mode byte every operand begins with (for the second operand of
// comparisons and arithmetic, the operator code), then the fields of its type. Fields that
// the type does not store keep their defaults.
struct OperandRecord {
  uint8_t type = 0;
  uint8_t mode = 0;
  int32_t value = 0;           // types 1 to 4, 6, 7
  StoredText text;             // types 5 (the name), 6, 7
  uint8_t property = 0;        // type 8
  int32_t label = 0;           // type 9: a keyframe's label index
  int32_t component = 0;       // types 8, 9
  VariableRefRecord variable;  // types 10 to 12
  int32_t mask = 0;            // type 11

  template <class V>
  void Visit(V& v) {
    v.Byte("type", type);
    if (type < 1 || type > 12) return v.Fail("unknown operand type " + std::to_string(type));
    v.Byte("mode", mode);
    switch (static_cast<OperandType>(type)) {
      case OperandType::kInteger:
      case OperandType::kReference:
      case OperandType::kReferenceB:
      case OperandType::kIntegerB:
        v.Int("value", value);
        break;
      case OperandType::kExternal:
        v.Text("name", text);
        break;
      case OperandType::kTextValue:
      case OperandType::kTextValueB:
        v.Int("value", value);
        v.Text("text", text);
        break;
      case OperandType::kNodeProperty:
        v.Byte("property", property);
        v.Int("component", component);
        break;
      case OperandType::kKeyframeValue:
        v.Int("label", label);
        v.Int("component", component);
        break;
      case OperandType::kVariable:
      case OperandType::kVariableRanged:
        v.Record("variable", variable);
        break;
      case OperandType::kVariableBits:
        v.Record("variable", variable);
        v.Int("mask", mask);
        break;
    }
  }
  friend bool operator==(const OperandRecord&, const OperandRecord&) = default;
};

}  // namespace cva
