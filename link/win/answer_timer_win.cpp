#include "answer_timer_win.h"

#include <mmsystem.h>

#include <atomic>

namespace {

// Each arming gets a new generation, handed to the callback as its user value;
// a callback of an earlier arming finds another generation and does nothing.
std::atomic<DWORD_PTR> gGeneration{0};  // written by the host thread, read by the timer thread
UINT gTimerId = 0;                       // host thread
std::atomic<bool> gTimedOut{false};     // set by the timer thread, cleared and read by the host thread
HANDLE gWake = CreateEventA(nullptr, FALSE, FALSE, nullptr);

void CALLBACK AnswerTimeout(UINT TimerId, UINT, DWORD_PTR Generation, DWORD_PTR, DWORD_PTR) {
  if (Generation != gGeneration.load()) return;
  timeKillEvent(TimerId);
  gTimedOut = true;
  SetEvent(gWake);
}

}  // namespace

bool ArmAnswerTimer(UINT Milliseconds) {
  gTimedOut = false;
  ResetEvent(gWake);
  const DWORD_PTR generation = ++gGeneration;
  gTimerId = timeSetEvent(Milliseconds, 100, AnswerTimeout, generation, TIME_ONESHOT | TIME_CALLBACK_FUNCTION);
  return gTimerId != 0;
}

void DisarmAnswerTimer() {
  ++gGeneration;
  if (gTimerId) timeKillEvent(gTimerId);
  gTimerId = 0;
}

bool AnswerTimedOut() { return gTimedOut.load(); }

HANDLE AnswerWakeEvent() { return gWake; }
