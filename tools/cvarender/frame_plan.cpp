#include "frame_plan.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>

namespace cva::render_tool {
namespace {

// Largest frame number or moment accepted: about eleven days of 1 ms frames.
constexpr uint64_t kMaxValue = 1'000'000'000;
// Most frames one range keeps (each becomes a file).
constexpr uint64_t kMaxKeptFrames = 1'000'000;

bool ParseWhole(std::string_view text, uint64_t& value) {
  if (text.empty() || text.size() > 10) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value <= kMaxValue;
}

}  // namespace

bool ParseFrameRange(std::string_view text, int32_t& first, int32_t& last, std::string& error) {
  const size_t dots = text.find("..");
  uint64_t a = 0, b = 0;
  if (dots == std::string_view::npos || !ParseWhole(text.substr(0, dots), a) ||
      !ParseWhole(text.substr(dots + 2), b)) {
    error = "--frames takes A..B with whole frame numbers up to " + std::to_string(kMaxValue);
    return false;
  }
  if (a > b) {
    error = "--frames " + std::string(text) + " ends before it starts";
    return false;
  }
  if (b - a >= kMaxKeptFrames) {
    error = "--frames keeps at most " + std::to_string(kMaxKeptFrames) + " frames";
    return false;
  }
  first = static_cast<int32_t>(a);
  last = static_cast<int32_t>(b);
  return true;
}

bool ParseTimes(std::string_view text, std::vector<uint32_t>& times_ms, std::string& error) {
  times_ms.clear();
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    const std::string_view item = text.substr(
        start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    uint64_t value = 0;
    if (!ParseWhole(item, value)) {
      error = "--at takes whole milliseconds separated by commas, e.g. 0,500,1000";
      return false;
    }
    times_ms.push_back(static_cast<uint32_t>(value));
    if (comma == std::string_view::npos) return true;
    start = comma + 1;
  }
}

std::vector<PlannedFrame> PlanFrames(const FrameRequest& request, uint32_t step_ms) {
  std::vector<PlannedFrame> plan;
  char name[40];
  if (request.kind == FrameRequest::Kind::kRange) {
    for (int64_t f = request.first; f <= request.last; ++f) {
      std::snprintf(name, sizeof name, "frame_%05lld.png", static_cast<long long>(f));
      plan.push_back({static_cast<int32_t>(f), name});
    }
    return plan;
  }
  const uint64_t step = std::max<uint32_t>(step_ms, 1);
  std::map<int32_t, uint32_t> first_moment;  // frame -> earliest moment it shows
  for (uint32_t ms : request.times_ms) {
    const int32_t frame = static_cast<int32_t>((uint64_t{ms} + step - 1) / step);
    auto [it, added] = first_moment.emplace(frame, ms);
    if (!added) it->second = std::min(it->second, ms);
  }
  for (const auto& [frame, ms] : first_moment) {
    std::snprintf(name, sizeof name, "at_%06ums.png", ms);
    plan.push_back({frame, name});
  }
  return plan;
}

}  // namespace cva::render_tool
