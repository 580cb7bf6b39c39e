// The main window and the phone's link: the attach and detach callbacks of
// the link library and the clock synchronisation that every attach runs.
// The callbacks run whenever the user-interface thread dispatches messages,
// also inside a transfer's wait; a clock request then is refused by the link
// library at once and the clock is left for the next attach.
#include <windows.h>

#include "frm_first_load_win.h"
#include "frm_main_win.h"
#include "link_send_win.h"
#include "messages_win.h"
#include "phone_clock.h"
#include "qvprot_api.h"

namespace {

TfrmMain* WindowOf(DWORD UserData) {
  // Window handles keep their meaning in 32 bits, also in 64-bit Windows.
  const HWND Window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(UserData)));
  return static_cast<TfrmMain*>(TForm::FromHandle(Window));
}

TLocalDateTime LocalNow() {
  SYSTEMTIME T;
  GetLocalTime(&T);
  return {T.wYear, T.wMonth, T.wDay, T.wHour, T.wMinute, T.wSecond};
}

TProtPacket ClockPacket(uint8_t Code) {
  TProtPacket Packet{};
  Packet.Channel = chConfig;
  Packet.Code = Code;
  return Packet;
}

}  // namespace

DWORD TfrmMain::LinkUserData() const {
  return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(Handle()));
}

void CALLBACK LinkAttached(DWORD UserData) {
  if (TfrmMain* Window = WindowOf(UserData)) Window->AttachHandling();
}

void CALLBACK LinkDetached(DWORD UserData) {
  if (TfrmMain* Window = WindowOf(UserData)) Window->DetachHandling();
}

void TfrmMain::AttachHandling() {
  if (frmFirstLoad) PostMessageA(frmFirstLoad->Handle(), WM_DEVICEATTACHED, 0, 0);
  ShowWindow(butProgQV, FHaveData ? SW_SHOW : SW_HIDE);
  ShowWindow(butReadQV, SW_SHOW);
  ShowWindow(panSIMPIN, SW_HIDE);
  SetWindowTextA(edtSIMPIN, "");
  EnableWindow(butSetSIMPIN, FALSE);
  SyncPhoneClock();
}

// A running transfer, an open dialog and the data stay as they are.
void TfrmMain::DetachHandling() {
  ShowWindow(butProgQV, SW_HIDE);
  ShowWindow(butReadQV, SW_HIDE);
  ShowWindow(panSIMPIN, SW_SHOW);
  SetWindowTextA(edtSIMPIN, "");
}

void TfrmMain::SyncPhoneClock() {
  TProtPacket Read = ClockPacket(ClockReadCode);
  if (!SendLinkPacket(Read, ClockTimeoutMs)) return;
  const auto Phone = ParsePhoneClock(Read.Data, Read.Len);
  if (!Phone) return;
  const TLocalDateTime Date = LocalNow();
  const TLocalDateTime Time = LocalNow();
  const auto Set = ClockToSet(*Phone, Date, Time);
  if (!Set) return;
  TProtPacket Packet = ClockPacket(ClockSetCode);
  Packet.Len = PhoneClockSize;
  PutPhoneClock(*Set, Packet.Data);
  SendLinkPacket(Packet, ClockTimeoutMs);
}
