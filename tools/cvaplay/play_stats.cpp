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

void PlayStats::Frame(Clock::time_point start, Clock::time_point end) {
  if (frames_ > 0) {
    const double interval = Ms(start - last_start_);
    interval_sum_ms_ += interval;
    interval_max_ms_ = std::max(interval_max_ms_, interval);
  }
  const double work = Ms(end - start);
  work_sum_ms_ += work;
  work_max_ms_ = std::max(work_max_ms_, work);
  last_start_ = start;
  ++frames_;
}

std::string PlayStats::Report() const {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  const double wall = Ms(Clock::now() - begin_) / 1000.0;
  const double intervals = static_cast<double>(std::max<int64_t>(frames_ - 1, 1));
  char text[256];
  std::snprintf(text, sizeof text,
                "%lld frames; interval mean %.2f ms, max %.2f ms; work mean %.2f ms, max %.2f ms; "
                "CPU %.2f s over %.2f s (%.1f %% of one core)",
                static_cast<long long>(frames_), interval_sum_ms_ / intervals, interval_max_ms_,
                work_sum_ms_ / static_cast<double>(std::max<int64_t>(frames_, 1)), work_max_ms_,
                cpu, wall, wall > 0 ? 100.0 * cpu / wall : 0.0);
  return text;
}

}  // namespace cva::play_tool
