// The desktop program's one road to the link library's SendPacket. The
// library serves one request at a time and refuses a second one at once; its
// wait keeps dispatching this thread's messages, so work posted before a
// request (a dialog's deferred start, a click) can run inside that wait and
// then fail at its first request. Every send of the program goes through
// here, which knows when one waits; work that must not start meanwhile is
// posted again once the wait has ended.
#pragma once

#include <windows.h>

#include "protocol.h"

// SendPacket of the link library: true when the answer was copied over Packet.
bool SendLinkPacket(TProtPacket& Packet, LONG Timeout);
// How many sends of SendLinkPacket wait for their answer; a send made in a
// handler that runs inside another's wait counts as well.
int LinkSendsWaiting();
// Posts Msg to Window at once, or when no send waits any more.
void PostWhenLinkIdle(HWND Window, UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
// For work that starts a transfer (a click, a dialog's deferred start): true
// when more sends wait than Since, the count when the caller's modal loop
// began (0 for the main window), and Msg has been posted to Window again for
// when none waits. A wait from before the loop began cannot end before the
// loop does, so that one is not waited for.
bool DeferredWhileLinkBusy(HWND Window, UINT Msg, int Since);
