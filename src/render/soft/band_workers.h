#pragma once

// A fixed set of threads that run one job together: the calling thread is worker 0, the
// others wait between jobs. Run returns when every worker has finished its part.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace cva {

class BandWorkers {
 public:
  // `count` workers in all (at least 1); count - 1 threads are started.
  explicit BandWorkers(int32_t count);
  ~BandWorkers();
  BandWorkers(const BandWorkers&) = delete;
  BandWorkers& operator=(const BandWorkers&) = delete;

  int32_t count() const { return static_cast<int32_t>(threads_.size()) + 1; }
  // Calls job(i) once for every worker i, job(0) on the calling thread.
  void Run(const std::function<void(int32_t)>& job);

 private:
  void Loop(int32_t index);

  std::mutex mutex_;
  std::condition_variable start_;
  std::condition_variable done_;
  const std::function<void(int32_t)>* job_ = nullptr;
  uint64_t generation_ = 0;
  int32_t running_ = 0;
  bool stop_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace cva
