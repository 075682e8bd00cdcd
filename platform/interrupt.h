#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace vellumark {

// A signal handler can wake no waiting thread, so waits look at the flag this
// often; well inside the half second in which Ctrl+C must take effect.
inline constexpr std::chrono::milliseconds kInterruptPoll{50};

// From now on the first Ctrl+C only sets flag, for the program to stop in its
// own time; a second one ends the program at once, as if none were caught. A
// blocking read on the thread that takes it returns early (POSIX: EINTR).
void CatchInterrupt(std::atomic<bool>& flag);

// Runs work on a thread of its own that never takes Ctrl+C, so that it reaches
// the calling thread and interrupts what that thread waits for.
std::thread StartThreadWithoutInterrupt(std::function<void()> work);

}  // namespace vellumark
