#pragma once

#include <utility>

namespace cva {

// Holds one reference to a COM interface and releases it when dropped or replaced.
template <class T>
class ComRef {
 public:
  ComRef() = default;
  // Takes over a reference the caller owns (as returned by a Create call).
  explicit ComRef(T* owned) : p_(owned) {}
  ComRef(const ComRef& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComRef& operator=(ComRef other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComRef() { Reset(); }

  // A reference of its own to an interface someone else holds.
  static ComRef Share(T* borrowed) {
    if (borrowed) borrowed->AddRef();
    return ComRef(borrowed);
  }

  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  // Releases what is held and returns the slot a Create call writes its new interface to.
  T** Receive() {
    Reset();
    return &p_;
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

}  // namespace cva
