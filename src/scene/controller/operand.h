#pragma once

#include <cstdint>

#include "scene/controller/operand_record.h"
#include "stream/encoded_text.h"

namespace cva {

class Variable;
struct ControllerContext;

// One operand of a condition or action, built from its record: it yields an integer and can be
// written; some kinds also carry a text, a variable reference with a bit mask, or (in the mode
// byte) an operator code. What is read and written depends on the type:
//   1 to 4, 6, 7  an integer of its own (6 and 7 also a text)
//   5             a value of the external value provider, by name (0 without a provider)
//   8             a property of the controller's node, as an integer
//   9             the value of the keyframe with a label index, as an integer
//   10, 11        a variable's value as stored (11 also carries a bit mask)
//   12            a variable's value, written through its range rule
// A variable reference that names no variable reads as 0 and ignores writes. An operand of
// any other type (only possible for the empty operand) behaves the same way.
class Operand {
 public:
  // The empty operand, standing in for operands a handler lacks: reads 0, ignores writes, has
  // mode 0, no text and no variable.
  Operand() = default;
  explicit Operand(const OperandRecord& record);

  OperandType type() const { return static_cast<OperandType>(type_); }
  uint8_t mode() const { return mode_; }
  const EncodedText& text() const { return text_; }
  int32_t mask() const { return mask_; }
  bool has_variable_reference() const;

  int32_t Read(const ControllerContext& context) const;
  void Write(ControllerContext& context, int32_t number);
  // The variable a reference of types 10 to 12 names, or null (another type, or no variable
  // with that id in the table of its scope). References are looked up in the tables of the
  // current evaluation, so a controller always works on the variables of the document it
  // runs in.
  Variable* FindVariable(const ControllerContext& context) const;

 private:
  uint8_t type_ = 0;
  uint8_t mode_ = 0;
  int32_t value_ = 0;
  EncodedText text_;
  uint8_t property_ = 0;
  int32_t label_ = 0;
  int32_t component_ = 0;
  VariableRefRecord variable_;
  int32_t mask_ = 0;
};

}  // namespace cva
