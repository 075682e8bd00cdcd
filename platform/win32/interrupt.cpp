#include "platform/interrupt.h"

#include <windows.h>

namespace vellumark {

namespace {

std::atomic<bool>* interruptFlag = nullptr;

// Runs on a thread the system starts for it. Returning FALSE hands the event to
// the default handler, which ends the process: that is the second Ctrl+C.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
    return FALSE;
  }
  return interruptFlag->exchange(true) ? FALSE : TRUE;
}

}  // namespace

void CatchInterrupt(std::atomic<bool>& flag) {
  interruptFlag = &flag;
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

// Console events never arrive on the program's own threads.
std::thread StartThreadWithoutInterrupt(std::function<void()> work) { return std::thread(std::move(work)); }

}  // namespace vellumark
