#include "qvprot_win.h"

#include <algorithm>
#include <cstring>

#include "host_call_win.h"

TQVProt::~TQVProt() {
  // Joining link threads here could deadlock on the loader lock: a link the
  // host left open goes with the process.
  ReleaseHostThread();
}

TOpenResult TQVProt::Open(uint32_t ComPort) {
  const uint8_t port = static_cast<uint8_t>(ComPort & 0xFF);
  if (port > MaxComPort) return ocBadPort;
  // Freeing the driver under a waiting send is not possible, and a second
  // driver beside it would open the USB driver twice: the call is refused and,
  // as for a bad port, the open link stays open.
  if (FDrv && FDrv->Sending()) return ocBadPort;
  // A link closed during its own send keeps its links until that send returns.
  for (TProtDrv* retired : FRetired)
    if (retired->Sending()) return ocNoLink;
  InitHostThread();
  Close();
  FDrv = new TProtDrv(port);
  FDrv->FOnText = [this](const std::string& text) { HandleText(text); };
  FDrv->FOnChannel1 = [this](uint8_t code, uint16_t len, const uint8_t* data) {
    HandleChannel(lcSystem, SystemCopySize, code, len, data);
  };
  FDrv->FOnChannel3 = [this](uint8_t code, uint16_t len, const uint8_t* data) {
    HandleChannel(lcConfig, ConfigCopySize, code, len, data);
  };
  FDrv->FOnChannel4 = [this](uint8_t code, uint16_t len, const uint8_t* data) {
    HandleChannel(lcPhonebook, PhonebookCopySize, code, len, data);
  };
  FDrv->FOnChannel5 = [this](uint8_t code, uint16_t len, const uint8_t* data) {
    HandleChannel(lcDevice, DeviceCopySize, code, len, data);
  };
  FDrv->FOnUsbAttached = [this] { HandleNotify(lcUsbAttached); };
  FDrv->FOnUsbDetached = [this] { HandleNotify(lcUsbDetached); };
  if (!FDrv->ComOpen() && !FDrv->UsbOpen()) return ocNoLink;
  if (port != 0 && !FDrv->ComOpen()) return ocSerialFailed;
  if (!FDrv->UsbOpen()) return ocUsbFailed;
  return ocOk;
}

void TQVProt::Close() {
  TProtDrv* drv = FDrv;
  if (!drv) return;
  FDrv = nullptr;
  if (!drv->Sending() && !InsideHostCall()) {
    delete drv;
    return;
  }
  if (drv->Sending()) {
    // Called from inside that send (a callback or a message of its wait): the
    // send ends false when control returns to it, and then the driver goes.
    drv->AbortSend();
  } else {
    // Called from a callback: the links close now, so that a new link can
    // open; the thread that made the call can end only once it has returned.
    drv->CloseLinks();
  }
  FRetired.push_back(drv);
  AfterHostCalls([this] { ReleaseRetired(); });
}

void TQVProt::ReleaseRetired() {
  if (InsideHostCall()) return;
  // Freeing a driver runs the callbacks of its last frames, which may close
  // or open again: the list is looked at afresh after each.
  for (;;) {
    auto it = std::find_if(FRetired.begin(), FRetired.end(), [](TProtDrv* drv) { return !drv->Sending(); });
    if (it == FRetired.end()) return;
    TProtDrv* drv = *it;
    FRetired.erase(it);
    delete drv;
  }
}

bool TQVProt::SetCallback(uint32_t Index, void* Callback, DWORD UserData) {
  if (Index < 1 || Index > LinkCallbackCount) return false;
  FCallbacks[Index - 1] = Callback;
  FUserData[Index - 1] = UserData;
  return true;
}

bool TQVProt::Send(TProtPacket* Packet, int32_t Timeout) {
  TProtDrv* drv = FDrv;
  if (!drv || OpenLinks() == 0) return false;
  const bool answered = drv->SendFrame(Packet, Timeout != 0, Timeout);
  ReleaseRetired();
  return answered;
}

bool TQVProt::SendChannel(uint32_t Channel, uint32_t Code, uint32_t Length, void* Data, int32_t Timeout) {
  const uint16_t length = static_cast<uint16_t>(Length & 0xFFFF);
  if (length > MaxPacketData || (length > 0 && !Data)) return false;
  TProtPacket packet{};
  packet.Channel = static_cast<uint8_t>(Channel & 0xFF);
  packet.Code = static_cast<uint8_t>(Code & 0xFF);
  packet.Len = length;
  if (length) std::memcpy(packet.Data, Data, length);
  if (!Send(&packet, Timeout)) return false;
  if (Data && packet.Len) std::memcpy(Data, packet.Data, packet.Len);
  return true;
}

uint32_t TQVProt::OpenLinks() const {
  if (!FDrv) return 0;
  return (FDrv->ComOpen() ? olSerial : 0) | (FDrv->UsbOpen() ? olUsb : 0);
}

TLinkKind TQVProt::ActiveLink() const {
  const uint32_t links = OpenLinks();
  if (links == 0) return lkNone;
  if ((links & olUsb) && FDrv->UsbConnected()) return lkUsb;
  if (links & olSerial) return lkSerial;
  return lkNone;
}

void TQVProt::HandleText(const std::string& Text) {
  auto callback = reinterpret_cast<TLinkTextCallback>(Callback(lcText));
  if (!callback) return;
  // A longer text is cut to what the buffer holds.
  const size_t length = std::min<size_t>(Text.size(), TextBufferSize - 1);
  std::memcpy(FTextBuffer, Text.data(), length);
  FTextBuffer[length] = 0;
  callback(FTextBuffer, UserData(lcText));
}

void TQVProt::HandleChannel(TLinkCallbackKind Slot, unsigned CopySize, uint8_t Code, uint16_t Len,
                            const uint8_t* Data) {
  // The copy has the slot's size whatever Len says; the receive slot always has room for it.
  uint8_t copy[SystemCopySize];
  std::memcpy(copy, Data, CopySize);
  auto callback = reinterpret_cast<TLinkFrameCallback>(Callback(Slot));
  if (callback) callback(Code, Len, copy, UserData(Slot));
}

void TQVProt::HandleNotify(TLinkCallbackKind Slot) {
  auto callback = reinterpret_cast<TLinkNotifyCallback>(Callback(Slot));
  if (callback) callback(UserData(Slot));
}
