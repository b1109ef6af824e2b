// One owner for every handle, block or object that a port call releases: the value, the value that
// means "nothing held", and the call that releases it, made on every way out of the owner's scope.
#pragma once

#include <type_traits>
#include <utility>

template <class Value, class Release>
class ScopedOwner {
 public:
  ScopedOwner(Value value, Value empty, Release release)
      : value_(value), empty_(empty), release_(std::move(release)) {}
  ~ScopedOwner() { reset(); }
  ScopedOwner(const ScopedOwner&) = delete;
  ScopedOwner& operator=(const ScopedOwner&) = delete;
  ScopedOwner(ScopedOwner&& other) noexcept
      : value_(other.value_), empty_(other.empty_), release_(std::move(other.release_)) {
    other.value_ = other.empty_;
  }
  ScopedOwner& operator=(ScopedOwner&& other) noexcept requires std::is_move_assignable_v<Release> {
    if (this != &other) {
      reset();
      value_ = std::exchange(other.value_, other.empty_);
      empty_ = other.empty_;
      release_ = std::move(other.release_);
    }
    return *this;
  }

  Value get() const { return value_; }
  bool holds() const { return value_ != empty_; }
  // For the calls that hand their result out through a pointer: what was held is released first.
  Value* receive() {
    reset();
    return &value_;
  }
  // Hands the value over to a new owner: nothing is released.
  Value release() { return std::exchange(value_, empty_); }
  void reset() {
    if (holds()) {
      release_(value_);
      value_ = empty_;
    }
  }

 private:
  Value value_;
  Value empty_;
  Release release_;
};

// `scoped_owner<HANDLE>(nullptr, release)` names the held type once; `empty` is the value that
// means nothing is held (a null pointer unless given, INVALID_HANDLE_VALUE or -1 where the call says so).
template <class Value, class Release>
ScopedOwner<Value, Release> scoped_owner(std::type_identity_t<Value> value, Release release) {
  return ScopedOwner<Value, Release>(value, Value{}, std::move(release));
}

template <class Value, class Release>
ScopedOwner<Value, Release> scoped_owner(std::type_identity_t<Value> value, std::type_identity_t<Value> empty,
                                         Release release) {
  return ScopedOwner<Value, Release>(value, empty, std::move(release));
}
