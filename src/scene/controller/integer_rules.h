#pragma once

#include <cstdint>
#include <optional>

namespace cva {

// Operator codes of the arithmetic action (stored as the mode byte of its second operand).
enum class ArithmeticCode : uint8_t {
  kAdd = 1,
  kSubtract = 2,
  kAssign = 3,
  kMultiply = 4,
  kDivide = 5,
  kRemainder = 6,
};

// `value` combined with `operand` by operator `code`, in 32-bit two's complement arithmetic:
// sums, differences and products wrap around instead of overflowing, and the most negative
// number divided by -1 gives itself (remainder 0). None, meaning that the value stays as it
// is, for an unknown code and for a division or remainder by 0.
std::optional<int32_t> Arithmetic(int32_t value, uint8_t code, int32_t operand);

// Comparison codes of the compare condition (stored as the mode byte of its second operand):
// 7 b < a, 8 a < b, 9 a == b, 10 a != b, 11 a >= b, 12 b >= a. Other codes never hold.
bool Compare(int32_t a, uint8_t code, int32_t b);

}  // namespace cva
