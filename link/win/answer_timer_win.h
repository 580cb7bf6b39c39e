// The time-out of a waiting send: a one-shot multimedia timer whose callback
// sets a flag and wakes the waiting host thread. The state lives as long as
// the library, not the driver, because timeKillEvent does not wait for a
// callback already under way: a late callback then finds a stale timer id and
// does nothing, and never touches a freed driver.
#pragma once

#include <windows.h>

// Arms the timer for Milliseconds (resolution 100 ms); false when it cannot be started.
bool ArmAnswerTimer(UINT Milliseconds);
void DisarmAnswerTimer();
bool AnswerTimedOut();
// Signalled when the timer fires; the waiting send blocks on it besides its messages.
HANDLE AnswerWakeEvent();
