// What a host program sees of QVProt.dll: the seven exports and the callback
// types, all with the Windows API convention. Hosts link against the import
// library `qvprot_import` (made from the same export list as the DLL), so they
// bind the exports by name when they are loaded, as the desktop program does.
#pragma once

#include <windows.h>

#include "link_types.h"
#include "protocol.h"

typedef void(__stdcall* TLinkTextCallback)(const char* Text, DWORD UserData);
typedef void(__stdcall* TLinkFrameCallback)(DWORD Code, DWORD Len, const uint8_t* Data, DWORD UserData);
typedef void(__stdcall* TLinkNotifyCallback)(DWORD UserData);

extern "C" {
// Booleans are -1 (true) and 0 (false).
LONG __stdcall SendPacket(TProtPacket* Packet, LONG Timeout);
LONG __stdcall SendChannelPacket(DWORD Channel, DWORD Code, DWORD Length, void* Data, LONG Timeout);
LONG __stdcall SetCallbackFunction(DWORD Index, void* Callback, DWORD UserData);
DWORD __stdcall GetActiveLink();
DWORD __stdcall GetOpenLinks();
void __stdcall CloseCommunication();
DWORD __stdcall OpenCommunication(DWORD ComPort);
}
