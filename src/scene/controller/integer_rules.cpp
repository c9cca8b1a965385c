#include "scene/controller/integer_rules.h"

#include <limits>

namespace cva {
namespace {

// The low 32 bits of `v` as a signed number (modular, well defined since C++20).
int32_t Wrap(int64_t v) {
  return static_cast<int32_t>(static_cast<uint32_t>(v));
}

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

}  // namespace

std::optional<int32_t> Arithmetic(int32_t value, uint8_t code, int32_t operand) {
  switch (static_cast<ArithmeticCode>(code)) {
    case ArithmeticCode::kAdd:
      return Wrap(static_cast<int64_t>(value) + operand);
    case ArithmeticCode::kSubtract:
      return Wrap(static_cast<int64_t>(value) - operand);
    case ArithmeticCode::kAssign:
      return operand;
    case ArithmeticCode::kMultiply:
      // The product of two 32-bit numbers fits into 64 bits; its low half is the wrapped one.
      return Wrap(static_cast<int64_t>(value) * operand);
    case ArithmeticCode::kDivide:
      if (operand == 0) return std::nullopt;
      if (value == kMin && operand == -1) return kMin;
      return value / operand;
    case ArithmeticCode::kRemainder:
      if (operand == 0) return std::nullopt;
      if (operand == -1) return 0;
      return value % operand;
  }
  return std::nullopt;
}

bool Compare(int32_t a, uint8_t code, int32_t b) {
  switch (code) {
    case 7:
      return b < a;
    case 8:
      return a < b;
    case 9:
      return a == b;
    case 10:
      return a != b;
    case 11:
      return a >= b;
    case 12:
      return b >= a;
    default:
      return false;
  }
}

}  // namespace cva
