// TQVProt: the library's one global object behind the seven exports. It keeps
// the seven callback slots with their user values, the text buffer for chText
// frames, and the protocol driver while a link exists. Every call comes from
// the host thread, and every callback runs there, so nothing here is locked.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "prot_drv_win.h"
#include "qvprot_api.h"

class TQVProt {
 public:
  TQVProt() = default;
  TQVProt(const TQVProt&) = delete;
  TQVProt& operator=(const TQVProt&) = delete;
  // Hosts close the link before unloading; a link still open is left to the process's end.
  ~TQVProt();

  TOpenResult Open(uint32_t ComPort);
  void Close();
  bool SetCallback(uint32_t Index, void* Callback, DWORD UserData);
  bool Send(TProtPacket* Packet, int32_t Timeout);
  bool SendChannel(uint32_t Channel, uint32_t Code, uint32_t Length, void* Data, int32_t Timeout);
  uint32_t OpenLinks() const;
  TLinkKind ActiveLink() const;

 private:
  void HandleText(const std::string& Text);
  void HandleChannel(TLinkCallbackKind Slot, unsigned CopySize, uint8_t Code, uint16_t Len, const uint8_t* Data);
  void HandleNotify(TLinkCallbackKind Slot);
  // Frees the closed drivers that nothing down the host thread's stack uses any more.
  void ReleaseRetired();
  void* Callback(TLinkCallbackKind Slot) const { return FCallbacks[Slot - 1]; }
  DWORD UserData(TLinkCallbackKind Slot) const { return FUserData[Slot - 1]; }

  void* FCallbacks[LinkCallbackCount] = {};
  DWORD FUserData[LinkCallbackCount] = {};
  char FTextBuffer[TextBufferSize] = {};
  TProtDrv* FDrv = nullptr;
  // Drivers closed while one of their sends was in progress, or from inside a
  // callback (whose calling thread the driver's destruction waits for): each
  // is freed once its send and every callback under way have returned.
  std::vector<TProtDrv*> FRetired;
};
