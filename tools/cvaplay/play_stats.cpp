#include "play_stats.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace cva::play_tool {
namespace {

double Ms(PlayStats::Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

}  // namespace

PlayStats::PlayStats() : begin_(Clock::now()) {}

void PlayStats::Frame(Clock::time_point start, Clock::time_point rendered, Clock::time_point end) {
  if (frames_ > 0) {
    const double interval = Ms(start - last_start_);
    interval_sum_ms_ += interval;
    interval_max_ms_ = std::max(interval_max_ms_, interval);
  }
  const double render = Ms(rendered - start);
  render_sum_ms_ += render;
  render_max_ms_ = std::max(render_max_ms_, render);
  const double present = Ms(end - rendered);
  present_sum_ms_ += present;
  present_max_ms_ = std::max(present_max_ms_, present);
  last_start_ = start;
  ++frames_;
}

std::string PlayStats::Report() const {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  const double wall = Ms(Clock::now() - begin_) / 1000.0;
  const double intervals = static_cast<double>(std::max<int64_t>(frames_ - 1, 1));
  const double frames = static_cast<double>(std::max<int64_t>(frames_, 1));
  char text[320];
  std::snprintf(text, sizeof text,
                "%lld frames; interval mean %.2f ms, max %.2f ms; render mean %.2f ms, max %.2f "
                "ms; present mean %.2f ms, max %.2f ms; CPU %.2f s over %.2f s (%.1f %% of one "
                "core)",
                static_cast<long long>(frames_), interval_sum_ms_ / intervals, interval_max_ms_,
                render_sum_ms_ / frames, render_max_ms_, present_sum_ms_ / frames, present_max_ms_,
                cpu, wall, wall > 0 ? 100.0 * cpu / wall : 0.0);
  return text;
}

}  // namespace cva::play_tool
