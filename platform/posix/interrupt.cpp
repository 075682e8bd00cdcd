#include "platform/interrupt.h"

#include <pthread.h>
#include <signal.h>

namespace vellumark {

namespace {

std::atomic<bool>* interruptFlag = nullptr;

extern "C" void OnInterrupt(int) { interruptFlag->store(true); }

sigset_t InterruptSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  return set;
}

}  // namespace

void CatchInterrupt(std::atomic<bool>& flag) {
  // A shell starts background jobs with Ctrl+C ignored; they keep ignoring it.
  struct sigaction current {};
  if (::sigaction(SIGINT, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) {
    return;
  }
  interruptFlag = &flag;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a read waiting for names on a pipe or terminal must return.
  action.sa_flags = SA_RESETHAND;
  ::sigaction(SIGINT, &action, nullptr);
}

std::thread StartThreadWithoutInterrupt(std::function<void()> work) {
  const sigset_t interrupt = InterruptSet();
  sigset_t previous;
  ::pthread_sigmask(SIG_BLOCK, &interrupt, &previous);
  std::thread thread(std::move(work));
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return thread;
}

}  // namespace vellumark
