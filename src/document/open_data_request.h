#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace cva {

// The named bytes a ResourceProvider hands out, owned by whoever asked for them. The protocol
// lets a request fill over several Advance calls; every provider of this system reads all
// bytes while the request is created, so their requests are complete at once.
class OpenDataRequest {
 public:
  virtual ~OpenDataRequest() = default;
  virtual bool IsComplete() const = 0;
  virtual std::vector<uint8_t>& Bytes() = 0;
  virtual void Advance() = 0;  // one step of fetching
};

// A request whose bytes are all present from the start.
class CompleteDataRequest final : public OpenDataRequest {
 public:
  CompleteDataRequest() = default;
  explicit CompleteDataRequest(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  bool IsComplete() const override { return true; }
  std::vector<uint8_t>& Bytes() override { return bytes_; }
  void Advance() override {}

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace cva
