#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "document/open_data_request.h"
#include "stream/encoded_text.h"

namespace cva {

class ResourceProvider;

// Kinds of named resources, as stored in a document's resource section.
enum class ResourceKind : uint8_t { kImage = 0, kSound = 1, kDocument = 2 };

// Something fetched by name over several frames (documents, images, sounds).
//
//   idle --Start--> requested (or failed when the provider gives no request)
//   requested --Poll, request complete--> fetched
//   fetched --Poll, Load answers kLoaded--> done;  kFailed --> failed;  kNotYet --> fetched
//
// Start does nothing while requested, fetched or done; a failed or idle resource may be
// started again, which fetches the bytes anew. Consumers use a resource only when done, so
// with providers that complete at once a resource is usable on the second poll after Start.
class LoadableResource {
 public:
  enum State : int32_t { kIdle = 0, kRequested = 1, kFetched = 2, kDone = 3, kFailed = 4 };
  enum LoadResult : int32_t { kLoaded = 0, kLoadFailed = 1, kNotYet = 2 };

  LoadableResource(ResourceProvider& provider, EncodedText name)
      : provider_(provider), name_(std::move(name)) {}
  virtual ~LoadableResource() = default;
  LoadableResource(const LoadableResource&) = delete;
  LoadableResource& operator=(const LoadableResource&) = delete;

  virtual ResourceKind Kind() const = 0;
  // Asks the provider for the named bytes when idle or failed. Returns the state.
  virtual State Start();
  // One step of the protocol above. Returns the state.
  virtual State Poll();
  // Drops the request and whatever was loaded, and returns to idle.
  virtual void Unload();
  // Loads at once from no fetched bytes, for kinds that open their data themselves (sounds):
  // done when the load succeeds, failed otherwise. Returns the state.
  State LoadDirectly();

  State state() const { return state_; }
  bool done() const { return state_ == kDone; }
  const EncodedText& name() const { return name_; }
  // Whether the owning document starts this resource together with itself.
  bool load_flag() const { return load_flag_; }
  void set_load_flag(bool on) { load_flag_ = on; }
  ResourceProvider& provider() const { return provider_; }

 protected:
  // Turns the fetched bytes into the resource. Only documents may answer kNotYet.
  virtual LoadResult Load(std::vector<uint8_t>& bytes) = 0;
  // Releases what Load built (called by Unload and before a restart).
  virtual void ReleaseLoaded() {}
  // Ends in failed without asking the provider (a kind that refuses to start).
  void MarkFailed() {
    request_.reset();
    state_ = kFailed;
  }

 private:
  ResourceProvider& provider_;
  EncodedText name_;
  bool load_flag_ = true;
  std::unique_ptr<OpenDataRequest> request_;
  State state_ = kIdle;
};

}  // namespace cva
