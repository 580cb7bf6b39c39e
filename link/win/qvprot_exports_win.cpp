// The seven exports of QVProt.dll and the library's load and unload. Each
// export forwards to the global TQVProt; names and ordinals come from the
// module definition (decorated names with --kill-at in the 32-bit build), so
// nothing here is marked dllexport, which would add a second, decorated name.
// Booleans cross the interface as -1 and 0.
#include <windows.h>

#include "qvprot_api.h"
#include "qvprot_win.h"

namespace {

TQVProt* gQVProt = nullptr;  // created on load, freed on unload

LONG AsBool(bool Value) { return Value ? -1 : 0; }

}  // namespace

extern "C" {

LONG __stdcall SendPacket(TProtPacket* Packet, LONG Timeout) { return AsBool(gQVProt->Send(Packet, Timeout)); }

LONG __stdcall SendChannelPacket(DWORD Channel, DWORD Code, DWORD Length, void* Data, LONG Timeout) {
  return AsBool(gQVProt->SendChannel(Channel, Code, Length, Data, Timeout));
}

LONG __stdcall SetCallbackFunction(DWORD Index, void* Callback, DWORD UserData) {
  return AsBool(gQVProt->SetCallback(Index, Callback, UserData));
}

DWORD __stdcall GetActiveLink() { return gQVProt->ActiveLink(); }

DWORD __stdcall GetOpenLinks() { return gQVProt->OpenLinks(); }

void __stdcall CloseCommunication() { gQVProt->Close(); }

DWORD __stdcall OpenCommunication(DWORD ComPort) { return gQVProt->Open(ComPort); }

BOOL WINAPI DllMain(HINSTANCE Instance, DWORD Reason, LPVOID) {
  if (Reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(Instance);
    gQVProt = new TQVProt;
  } else if (Reason == DLL_PROCESS_DETACH) {
    delete gQVProt;
    gQVProt = nullptr;
  }
  return TRUE;
}
}
