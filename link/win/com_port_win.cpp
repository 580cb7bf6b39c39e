#include "com_port_win.h"

#include "comm_exception.h"

namespace {
constexpr DWORD QueueSize = 1024;
constexpr DWORD WriteWaitMs = 2000;
// Binary mode, DTR and RTS handshaking, every other flag off.
constexpr DWORD DcbFlags = 0x2021;
constexpr char EventChar = 13;
// A port that has gone away (a USB-serial adapter pulled out) fails every wait
// at once; the thread tries again after this pause instead of spinning.
constexpr DWORD FailedWaitPauseMs = 100;
}  // namespace

TCOM_PORT::TCOM_PORT() = default;

TCOM_PORT::~TCOM_PORT() {
  Terminate();
  if (FStopEvent) SetEvent(FStopEvent);
  WaitFor();
  ClosePort();
}

void TCOM_PORT::SetPortName(const std::string& Name) {
  if (Name != FPortName) FPortName = Name;
}

// The rate is set before the port opens, so the settings take it then.
void TCOM_PORT::SetBaudRate(DWORD Rate) { FBaudRate = Rate; }

void TCOM_PORT::SetActive(bool Value) {
  if (!Value || FActive) return;
  FActive = true;
  try {
    OpenPort();
  } catch (const TCommException&) {
    // A port that did not open takes no frames: Write sees it closed.
    ClosePort();
    throw;
  }
  Start();
}

std::string TCOM_PORT::Quoted() const { return "\"" + FPortName + "\""; }

void TCOM_PORT::OpenPort() {
  if (FPortHandle != INVALID_HANDLE_VALUE) CloseHandle(FPortHandle);
  FPortHandle = CreateFileA(FPortName.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (FPortHandle == INVALID_HANDLE_VALUE)
    throw TCommException("Cannot open port " + Quoted() + " ! Error " + std::to_string(GetLastError()));
  if (!SetupComm(FPortHandle, QueueSize, QueueSize))
    throw TCommException("Cannot set queues of port " + Quoted() + " ! Error " + std::to_string(GetLastError()));
  ApplySettings();
  if (!SetCommMask(FPortHandle, EV_RXCHAR)) throw TCommException("Cannot set event mask of port " + Quoted() + " !");
  for (HANDLE* event : {&FReadEvent, &FWriteEvent, &FStopEvent}) {
    *event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!*event) throw TCommException("Cannot create event !");
  }
}

void TCOM_PORT::ApplySettings() {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(FPortHandle, &dcb)) throw TCommException("Cannot read settings of port " + Quoted() + " !");
  dcb.BaudRate = FBaudRate;
  // The flag bits follow DCBlength and BaudRate as one 32-bit word.
  *reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(&dcb) + 2 * sizeof(DWORD)) = DcbFlags;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.EvtChar = EventChar;
  if (!SetCommState(FPortHandle, &dcb)) throw TCommException("Cannot write settings of port " + Quoted() + " !");
}

void TCOM_PORT::ClosePort() {
  if (FPortHandle != INVALID_HANDLE_VALUE) CloseHandle(FPortHandle);
  FPortHandle = INVALID_HANDLE_VALUE;
  for (HANDLE* event : {&FReadEvent, &FWriteEvent, &FStopEvent}) {
    if (*event) CloseHandle(*event);
    *event = nullptr;
  }
}

void TCOM_PORT::Execute() {
  OVERLAPPED overlapped{};
  overlapped.hEvent = FReadEvent;
  const HANDLE waits[2] = {FReadEvent, FStopEvent};
  while (!Terminated()) {
    DWORD mask = 0;
    ResetEvent(FReadEvent);
    if (!WaitCommEvent(FPortHandle, &mask, &overlapped)) {
      if (GetLastError() != ERROR_IO_PENDING) {
        WaitForSingleObject(FStopEvent, FailedWaitPauseMs);
        continue;
      }
      DWORD transferred = 0;
      const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
      if (woken != WAIT_OBJECT_0 || !GetOverlappedResult(FPortHandle, &overlapped, &transferred, FALSE)) {
        // The stop event, or a failed wait: the pending wait must end before
        // its OVERLAPPED goes out of scope.
        SetCommMask(FPortHandle, EV_RXCHAR);
        GetOverlappedResult(FPortHandle, &overlapped, &transferred, TRUE);
        if (woken == WAIT_OBJECT_0) WaitForSingleObject(FStopEvent, FailedWaitPauseMs);
        continue;
      }
    }
    if (mask & EV_RXCHAR) ReadQueued();
  }
}

void TCOM_PORT::ReadQueued() {
  OVERLAPPED overlapped{};
  overlapped.hEvent = FReadEvent;
  for (;;) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(FPortHandle, &errors, &status) || status.cbInQue == 0) return;
    DWORD count = 0;
    const DWORD wanted = status.cbInQue < sizeof FRxBuffer ? status.cbInQue : sizeof FRxBuffer;
    ResetEvent(FReadEvent);
    if (!ReadFile(FPortHandle, FRxBuffer, wanted, &count, &overlapped) &&
        !(GetLastError() == ERROR_IO_PENDING && GetOverlappedResult(FPortHandle, &overlapped, &count, TRUE)))
      return;
    for (DWORD i = 0; i < count; ++i) {
      FRxByte = FRxBuffer[i];
      DoRxChar();
    }
  }
}

void TCOM_PORT::DoRxChar() {
  if (FOnRxChar) FOnRxChar(FRxByte);
}

void TCOM_PORT::Write(int Count, const uint8_t* Buffer) {
  if (FPortHandle == INVALID_HANDLE_VALUE || Count <= 0) return;
  OVERLAPPED overlapped{};
  overlapped.hEvent = FWriteEvent;
  ResetEvent(FWriteEvent);
  DWORD written = 0;
  if (WriteFile(FPortHandle, Buffer, static_cast<DWORD>(Count), &written, &overlapped)) return;
  FLastError = GetLastError();
  if (FLastError != ERROR_IO_PENDING) return;
  if (GetOverlappedResult(FPortHandle, &overlapped, &written, FALSE)) return;
  FLastError = GetLastError();
  if (FLastError == ERROR_IO_INCOMPLETE && WaitForSingleObject(FWriteEvent, WriteWaitMs) == WAIT_OBJECT_0) return;
  // Still pending after the bounded wait: cancel it and wait for its end, as
  // the buffer and the OVERLAPPED belong to this call.
  CancelIo(FPortHandle);
  GetOverlappedResult(FPortHandle, &overlapped, &written, TRUE);
}
