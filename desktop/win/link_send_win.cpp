// The send guard: a depth count of the sends that wait and the messages held
// back until none does. User-interface thread only.
#include "link_send_win.h"

#include <vector>

#include "qvprot_api.h"

namespace {

struct TDeferred {
  HWND Window;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
};

int Waiting = 0;  // a send inside another's wait is refused by the library, but still counts
std::vector<TDeferred> Deferred;

}  // namespace

bool SendLinkPacket(TProtPacket& Packet, LONG Timeout) {
  ++Waiting;
  const bool Answered = SendPacket(&Packet, Timeout) != 0;
  if (--Waiting == 0) {
    std::vector<TDeferred> Due;
    Due.swap(Deferred);
    for (const TDeferred& D : Due) PostMessageA(D.Window, D.Msg, D.WParam, D.LParam);
  }
  return Answered;
}

int LinkSendsWaiting() { return Waiting; }

void PostWhenLinkIdle(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Waiting > 0) Deferred.push_back({Window, Msg, WParam, LParam});
  else PostMessageA(Window, Msg, WParam, LParam);
}

bool DeferredWhileLinkBusy(HWND Window, UINT Msg, int Since) {
  if (Waiting <= Since) return false;
  PostWhenLinkIdle(Window, Msg);
  return true;
}
