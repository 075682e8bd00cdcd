#pragma once

#include <condition_variable>
#include <mutex>

#include "platform/interrupt.h"

namespace vellumark {

// A condition that threads wait on for at most kInterruptPoll at a time, since
// Ctrl+C's flag wakes no one. It counts its waiters, so that a change costs a
// wake-up only where a thread waits. Every call holds the mutex of the lock.
class PollingCondition {
public:
  void Wait(std::unique_lock<std::mutex>& lock) {
    ++waiters_;
    condition_.wait_for(lock, kInterruptPoll);
    --waiters_;
  }

  void NotifyOne() {
    if (waiters_ > 0) {
      condition_.notify_one();
    }
  }

  void NotifyAll() {
    if (waiters_ > 0) {
      condition_.notify_all();
    }
  }

private:
  std::condition_variable condition_;
  int waiters_ = 0;
};

}  // namespace vellumark
