#pragma once

#include <cstdint>

#include "stream/record_fields.h"

namespace cva {

// One entry of a variables section: a plain variable or a ranged one.
struct VariableRecord {
  Flag plain;  // stored as a boolean: 1 plain, anything else ranged
  int16_t id = 0;
  // Plain variables.
  Flag flag;
  int32_t stored = 0;  // kept as stored; the value starts at `initial`
  // Ranged variables.
  int32_t minimum = 0;
  int32_t maximum = 0;
  Flag clamp_low;
  Flag clamp_high;
  Flag wrap;
  // Both kinds.
  int32_t initial = 0;

  template <class V>
  void Visit(V& v) {
    v.Flag("plain", plain);
    v.Short("id", id);
    if (plain.on()) {
      v.Flag("flag", flag);
      v.Int("initial", initial);
      v.Int("stored", stored);
    } else {
      v.Int("minimum", minimum);
      v.Int("maximum", maximum);
      v.Flag("clamp_low", clamp_low);
      v.Flag("clamp_high", clamp_high);
      v.Int("initial", initial);
      v.Flag("wrap", wrap);
    }
  }
};

// The limits of a ranged variable and how a new number is brought into them.
struct VariableRange {
  int32_t minimum = 0;
  int32_t maximum = 0;
  bool clamp_low = false;
  bool clamp_high = false;
  bool wrap = false;

  // With wrap and both clamps set: minimum + (number mod (maximum - minimum)), the remainder
  // taking the sign of the number, and the minimum when the two limits are equal. Otherwise
  // the number raised to the minimum when clamp_low is set, then lowered to the maximum when
  // clamp_high is set. Computed without overflow for every input; a wrapped result beyond
  // the 32-bit range (only possible with limits near the ends of that range) saturates.
  int32_t Apply(int32_t number) const;
};

// An integer variable of a document, a node controller or the process.
class Variable {
 public:
  static Variable Plain(int32_t initial);
  static Variable Ranged(const VariableRange& range, int32_t initial);
  static Variable FromRecord(const VariableRecord& record);

  int32_t value() const { return value_; }
  bool ranged() const { return ranged_; }
  const VariableRange& range() const { return range_; }
  // Plain variables take the number as it is; ranged ones through their range.
  void Set(int32_t number) { value_ = ranged_ ? range_.Apply(number) : number; }
  // Takes the number as it is, bypassing the range (node controllers that address the stored
  // value directly).
  void SetStored(int32_t number) { value_ = number; }

 private:
  bool ranged_ = false;
  VariableRange range_;
  int32_t value_ = 0;
};

}  // namespace cva
