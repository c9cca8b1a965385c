#include "render/soft/band_workers.h"

#include <algorithm>

namespace cva {

BandWorkers::BandWorkers(int32_t count) {
  for (int32_t i = 1; i < std::max(count, 1); ++i) threads_.emplace_back([this, i] { Loop(i); });
}

BandWorkers::~BandWorkers() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    start_.notify_all();
  }
  for (std::thread& t : threads_) t.join();
}

void BandWorkers::Run(const std::function<void(int32_t)>& job) {
  {
    std::lock_guard lock(mutex_);
    job_ = &job;
    running_ = static_cast<int32_t>(threads_.size());
    ++generation_;
    start_.notify_all();
  }
  job(0);
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] { return running_ == 0; });
  job_ = nullptr;
}

void BandWorkers::Loop(int32_t index) {
  uint64_t seen = 0;
  for (;;) {
    const std::function<void(int32_t)>* job = nullptr;
    {
      std::unique_lock lock(mutex_);
      start_.wait(lock, [&] { return stop_ || generation_ != seen; });
      if (stop_) return;
      seen = generation_;
      job = job_;
    }
    (*job)(index);
    {
      std::lock_guard lock(mutex_);
      --running_;
      done_.notify_one();
    }
  }
}

}  // namespace cva
