#pragma once
// Holds a "running" flag up for one call: set on entry, cleared however the
// call ends, so that a routine can refuse to run inside itself.
#include "NonCopyable.h"

namespace glim {

class ReentryGuard : NonCopyable {
  public:
    explicit ReentryGuard(bool& running) : running_(running) { running_ = true; }
    ~ReentryGuard() { running_ = false; }

  private:
    bool& running_;
};

} // namespace glim
