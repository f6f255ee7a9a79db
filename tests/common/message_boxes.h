#pragma once
// Message boxes this thread shows, read and closed with OK from a timer
// that runs inside their modal loops.
#include "NonCopyable.h"

#include <windows.h>

#include <string>
#include <vector>

namespace glimtest {

// Watches from construction to destruction; one watcher at a time.
class MessageBoxWatcher : glim::NonCopyable {
  public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();

    struct Seen {
        std::string title;
        std::string text;
    };
    // The boxes closed so far, in the order they came up.
    const std::vector<Seen>& Boxes() const;

  private:
    UINT_PTR timer_ = 0;
};

} // namespace glimtest
