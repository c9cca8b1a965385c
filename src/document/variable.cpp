#include "document/variable.h"

#include <algorithm>
#include <limits>

namespace cva {

int32_t VariableRange::Apply(int32_t number) const {
  if (wrap && clamp_high && clamp_low) {
    if (maximum == minimum) return minimum;
    // 64-bit arithmetic: the span of two 32-bit limits and the sum below cannot overflow,
    // and a span of -1 with the most negative number cannot trap.
    const int64_t span = static_cast<int64_t>(maximum) - minimum;
    const int64_t wrapped = minimum + static_cast<int64_t>(number) % span;
    return static_cast<int32_t>(std::clamp<int64_t>(wrapped, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
  }
  int32_t value = number;
  if (clamp_low) value = std::max(minimum, value);
  if (clamp_high) value = std::min(value, maximum);
  return value;
}

Variable Variable::Plain(int32_t initial) {
  Variable v;
  v.value_ = initial;
  return v;
}

Variable Variable::Ranged(const VariableRange& range, int32_t initial) {
  Variable v;
  v.ranged_ = true;
  v.range_ = range;
  v.Set(initial);
  return v;
}

Variable Variable::FromRecord(const VariableRecord& record) {
  if (record.plain.on()) return Plain(record.initial);
  return Ranged({record.minimum, record.maximum, record.clamp_low.on(), record.clamp_high.on(),
                 record.wrap.on()},
                record.initial);
}

}  // namespace cva
