#include "document/loadable_resource.h"

#include "document/resource_provider.h"

namespace cva {

LoadableResource::State LoadableResource::Start() {
  if (state_ != kIdle && state_ != kFailed) return state_;
  // A restart fetches everything anew.
  request_.reset();
  ReleaseLoaded();
  request_ = provider_.OpenData(name_);
  state_ = request_ ? kRequested : kFailed;
  return state_;
}

LoadableResource::State LoadableResource::Poll() {
  if (state_ == kRequested) {
    request_->Advance();
    if (request_->IsComplete()) state_ = kFetched;
  } else if (state_ == kFetched) {
    switch (Load(request_->Bytes())) {
      case kLoaded:
        state_ = kDone;
        request_.reset();
        break;
      case kLoadFailed:
        state_ = kFailed;
        request_.reset();
        break;
      case kNotYet:
        break;
    }
  }
  return state_;
}

LoadableResource::State LoadableResource::LoadDirectly() {
  request_.reset();
  std::vector<uint8_t> no_bytes;
  state_ = Load(no_bytes) == kLoaded ? kDone : kFailed;
  return state_;
}

void LoadableResource::Unload() {
  request_.reset();
  ReleaseLoaded();
  state_ = kIdle;
}

}  // namespace cva
