#pragma once
// The base of an object that holds something no copy may hold twice: a lock
// taken, a timer running, a window attached, a count of references.

namespace glim {

class NonCopyable {
  public:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;

  protected:
    NonCopyable() = default;
    ~NonCopyable() = default;
};

} // namespace glim
