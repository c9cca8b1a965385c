#pragma once

#include <memory>

namespace cva {

// An optional value held by pointer, so that a record can contain a record of its own type
// (an else branch, a nested handler node). Copies are deep.
template <class T>
class Boxed {
 public:
  Boxed() = default;
  Boxed(const Boxed& other) : value_(other.value_ ? std::make_unique<T>(*other.value_) : nullptr) {}
  Boxed(Boxed&&) noexcept = default;
  Boxed& operator=(const Boxed& other) {
    if (this != &other) value_ = other.value_ ? std::make_unique<T>(*other.value_) : nullptr;
    return *this;
  }
  Boxed& operator=(Boxed&&) noexcept = default;
  ~Boxed() = default;

  bool has_value() const { return value_ != nullptr; }
  explicit operator bool() const { return has_value(); }
  T& emplace() {
    value_ = std::make_unique<T>();
    return *value_;
  }
  void reset() { value_.reset(); }
  T* get() const { return value_.get(); }
  T& operator*() const { return *value_; }
  T* operator->() const { return value_.get(); }

 private:
  std::unique_ptr<T> value_;
};

}  // namespace cva
