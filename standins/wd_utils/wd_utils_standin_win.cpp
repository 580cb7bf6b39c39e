// Stand-in for the USB driver vendor's user-mode library WD_UTILS.DLL: it
// implements the calls the USB link makes (link/win/wdu_api.h) over loopback
// TCP to the phone simulator (usb_wire.h), so the link library runs unchanged
// against a simulated phone.
//
// Every socket has a thread of its own that blocks in recv, so nothing polls
// and each byte is taken the moment it arrives: the bus thread keeps an empty
// bus port connected and turns a plug into the attach callback; each plugged
// device's thread queues its bulk-in bytes and turns the closed connection
// into the detach callback. The callbacks never overlap, as the vendor's come
// from one thread.
//
// Once read transfers are being made, they take the bytes from the socket
// themselves (a hand-off from the device's thread to the transfer's costs
// about 0.1 ms under Wine, as much as the loopback round trip): the device's
// thread then stays out of recv until a halt ends the reading, and a transfer
// that finds the connection closed hands the detach to it. A read transfer
// ends at once on completion, failure, its time-out or a halt; write
// transfers send directly. WDU_Uninit closes every socket, which ends each
// pending receive at once, and joins the threads; no callback comes after it.
// Device records stay until then, so a handle the link still holds after a
// detach never points at freed memory.
//
// The simulator plays the vendor's kernel driver as well: when nothing listens
// at its address, WDU_Init fails as the vendor's does without its driver.
// Tests steer the stand-in through two environment variables, read at each
// use: QV_WDU_PORT (usb_wire.h), QV_WDU_MAX_WRITE, the most bytes one write
// transfer moves (unset or 0: all), as a bus that takes only part of a frame,
// and QV_WDU_WRITE_FAULT: "fail" makes every write transfer fail with nothing
// moved, "empty" makes it succeed with nothing moved.
//
// The threads started through ThreadStart (the link's readers) use device
// records: WDU_Uninit waits for them to end, which they do once their devices
// are gone, before it frees the records.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "usb_wire.h"
#include "wdu_api.h"

namespace {

constexpr DWORD StatusDeviceGone = 0x20000005;
constexpr DWORD StatusHalted = 0x2000000A;
constexpr DWORD StatusInvalid = 0x2000000B;
constexpr DWORD StatusNoDriver = 0x20000001;
const char MaxWriteVariable[] = "QV_WDU_MAX_WRITE";
const char WriteFaultVariable[] = "QV_WDU_WRITE_FAULT";
constexpr DWORD ReconnectDelayMs = 50;
// The wait ends as soon as the simulator's first greeting has been handled; the
// bound only matters on a machine so loaded that the greeting comes late.
constexpr DWORD InitialScanMs = 30000;

struct TDevice {
  SOCKET Socket = INVALID_SOCKET;  // closed by WDU_Uninit only
  bool Taken = false;              // set before the device's thread starts
  WDU_ALTERNATE_SETTING Setting{};
  WDU_INTERFACE Interface{};
  WDU_DEVICE Info{};
  std::thread Reader;
  std::mutex Lock;  // guards the fields below
  std::condition_variable Changed;
  std::deque<uint8_t> In;
  bool Halted = false;
  bool Gone = false;
  // The simulator has the answer to its plug: the attach callback may hand the
  // phone to another thread that writes before the answer is sent, and bulk-out
  // bytes ahead of it would be read as the answer.
  bool Answered = false;
  bool TransferReads = false;  // read transfers take the bytes from the socket themselves
  bool Receiving = false;      // the device's thread is inside recv
  // Auto-reset: wakes a read transfer on a halt, the device gone, or bytes queued.
  HANDLE Wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE Received = CreateEventA(nullptr, TRUE, FALSE, nullptr);  // a transfer's own receive ended
  TDevice() = default;
  TDevice(const TDevice&) = delete;
  TDevice& operator=(const TDevice&) = delete;
  ~TDevice() {
    CloseHandle(Wake);
    CloseHandle(Received);
  }
  // The send time-out last set on the socket: setting it costs a server call
  // under Wine, so only a different one is set.
  std::atomic<DWORD> SendTimeout{0};
};

// A number from the process environment (the test program sets it with
// SetEnvironmentVariable), 0 when unset or not a number.
unsigned long EnvironmentNumber(const char* Name) {
  char text[16];
  const DWORD length = GetEnvironmentVariableA(Name, text, sizeof text);
  return length > 0 && length < sizeof text ? std::strtoul(text, nullptr, 10) : 0;
}

uint16_t StandinPort() {
  const unsigned long port = EnvironmentNumber(StandinPortVariable);
  return port > 0 && port < 65536 ? static_cast<uint16_t>(port) : StandinDefaultPort;
}

// A new connection to the simulator's bus, or INVALID_SOCKET.
SOCKET ConnectBus() {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return s;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(StandinPort());
  inet_pton(AF_INET, StandinHost, &address.sin_addr);
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  const BOOL noDelay = TRUE;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
  return s;
}

bool ReceiveAll(SOCKET Socket, uint8_t* Bytes, int Count) {
  return recv(Socket, reinterpret_cast<char*>(Bytes), Count, MSG_WAITALL) == Count;
}

// The threads started through ThreadStart, as handles of the stand-in's own.
std::mutex gStartedLock;
std::vector<HANDLE> gStarted;

void WaitForStartedThreads() {
  std::vector<HANDLE> started;
  {
    std::lock_guard<std::mutex> lock(gStartedLock);
    started.swap(gStarted);
  }
  for (HANDLE thread : started) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
}

void NoteStarted(HANDLE Thread) {
  HANDLE own = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), Thread, GetCurrentProcess(), &own, SYNCHRONIZE, FALSE, 0)) return;
  std::lock_guard<std::mutex> lock(gStartedLock);
  // Threads that have ended are forgotten, so the list stays short.
  gStarted.erase(std::remove_if(gStarted.begin(), gStarted.end(),
                                [](HANDLE thread) {
                                  if (WaitForSingleObject(thread, 0) != WAIT_OBJECT_0) return false;
                                  CloseHandle(thread);
                                  return true;
                                }),
                 gStarted.end());
  gStarted.push_back(own);
}

void MarkGone(TDevice& Device) {
  std::lock_guard<std::mutex> lock(Device.Lock);
  Device.Gone = true;
  Device.Changed.notify_all();
  SetEvent(Device.Wake);
}

class TDriver {
 public:
  TDriver(const WDU_MATCH_TABLE& Match, const WDU_EVENT_TABLE& Events, SOCKET FirstPort)
      : FMatch(Match), FEvents(Events), FIdle(FirstPort) {
    FScanned = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    FStopped = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    FBus = std::thread([this] { RunBus(); });
    // A phone already plugged in is reported before WDU_Init returns.
    WaitForSingleObject(FScanned, InitialScanMs);
  }
  ~TDriver() {
    {
      std::lock_guard<std::mutex> lock(FLock);
      FStop = true;
      SetEvent(FStopped);
      if (FIdle != INVALID_SOCKET) closesocket(FIdle);
      FIdle = INVALID_SOCKET;
      for (auto& device : FDevices) {
        closesocket(device->Socket);
        MarkGone(*device);  // also a device thread that waits while transfers read
      }
    }
    FBus.join();
    for (auto& device : FDevices)
      if (device->Reader.joinable()) device->Reader.join();
    // A reader started by an attach that raced the close may still be in a
    // transfer on one of the records; every transfer fails now, so it ends.
    WaitForStartedThreads();
    CloseHandle(FScanned);
    CloseHandle(FStopped);
  }

 private:
  void RunBus();
  bool TakeIdle();
  void Plug(SOCKET Socket, const uint8_t* Message);
  void RunDevice(TDevice& Device);

  WDU_MATCH_TABLE FMatch;
  WDU_EVENT_TABLE FEvents;
  std::mutex FLock;  // guards FIdle, FStop and FDevices against WDU_Uninit
  SOCKET FIdle;      // the empty bus port
  bool FStop = false;
  std::vector<std::unique_ptr<TDevice>> FDevices;  // grows in the bus thread; freed with the driver
  std::mutex FCallbackLock;                        // one callback at a time
  HANDLE FScanned;  // set once the first port's greeting has been handled
  HANDLE FStopped;  // set by WDU_Uninit; cuts the reconnect delay short
  std::thread FBus;
};

void TDriver::RunBus() {
  SOCKET port = FIdle;
  for (;;) {
    if (port == INVALID_SOCKET) {
      // The simulator went away: no phone on the bus until it is back.
      SetEvent(FScanned);
      if (WaitForSingleObject(FStopped, ReconnectDelayMs) == WAIT_OBJECT_0) return;
      const SOCKET fresh = ConnectBus();
      std::lock_guard<std::mutex> lock(FLock);
      if (FStop) {
        if (fresh != INVALID_SOCKET) closesocket(fresh);
        return;
      }
      port = FIdle = fresh;
      continue;
    }
    uint8_t message[PlugMessageSize];
    const bool greeted = ReceiveAll(port, message, 1);
    if (greeted && message[0] == PortEmpty) {
      SetEvent(FScanned);
      continue;
    }
    const bool plugged = greeted && message[0] == PortPlugged && ReceiveAll(port, message + 1, PlugMessageSize - 1);
    {
      std::lock_guard<std::mutex> lock(FLock);
      if (FStop) return;  // the socket is WDU_Uninit's to close
      FIdle = INVALID_SOCKET;
    }
    if (plugged)
      Plug(port, message);
    else
      closesocket(port);  // the simulator went away or spoke nonsense: reconnect
    SetEvent(FScanned);
    port = INVALID_SOCKET;
  }
}

void TDriver::Plug(SOCKET Socket, const uint8_t* Message) {
  auto record = std::make_unique<TDevice>();
  TDevice& d = *record;
  d.Socket = Socket;
  d.Setting.InterfaceNumber = Message[5];
  d.Interface.ActiveAltSetting = &d.Setting;
  d.Info.VendorId = static_cast<WORD>(Message[1] | Message[2] << 8);
  d.Info.ProductId = static_cast<WORD>(Message[3] | Message[4] << 8);
  d.Info.NumInterfaces = 1;
  d.Info.Interfaces = &d.Interface;
  {
    std::lock_guard<std::mutex> lock(FLock);
    if (FStop) {
      closesocket(Socket);
      return;
    }
    FDevices.push_back(std::move(record));
  }
  const bool matches = d.Info.VendorId == FMatch.VendorId && d.Info.ProductId == FMatch.ProductId;
  {
    std::lock_guard<std::mutex> callback(FCallbackLock);
    d.Taken = matches && FEvents.Attach && FEvents.Attach(&d, &d.Info, FEvents.UserData);
  }
  const char answer = static_cast<char>(d.Taken ? PortTaken : PortRefused);
  send(d.Socket, &answer, 1, 0);
  {
    std::lock_guard<std::mutex> lock(d.Lock);
    d.Answered = true;
    d.Changed.notify_all();
  }
  std::lock_guard<std::mutex> lock(FLock);
  if (!FStop) d.Reader = std::thread([this, &d] { RunDevice(d); });
}

void TDriver::RunDevice(TDevice& Device) {
  char buffer[4096];
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(Device.Lock);
      // While transfers read the socket, they see the unplug as well.
      Device.Changed.wait(lock, [&] { return !Device.TransferReads || Device.Gone; });
      if (Device.Gone) break;
      Device.Receiving = true;
    }
    const int got = recv(Device.Socket, buffer, sizeof buffer, 0);
    std::lock_guard<std::mutex> lock(Device.Lock);
    Device.Receiving = false;
    if (got <= 0) break;
    if (!Device.Taken) continue;
    Device.In.insert(Device.In.end(), buffer, buffer + got);
    SetEvent(Device.Wake);
  }
  // Unplugged, or the driver is closing.
  MarkGone(Device);
  std::lock_guard<std::mutex> callback(FCallbackLock);
  bool stopping;
  {
    std::lock_guard<std::mutex> lock(FLock);
    stopping = FStop;
  }
  if (Device.Taken && !stopping && FEvents.Detach) FEvents.Detach(&Device, FEvents.UserData);
}

// One receive of the transfer's own into Buffer, ended early by Wake: the
// bytes received (0 when it was cut short or timed out), or -1 when the
// connection is closed or broken.
int ReceiveOwn(TDevice& Device, uint8_t* Buffer, DWORD Size, DWORD TimeoutMs) {
  WSAOVERLAPPED overlapped{};
  overlapped.hEvent = Device.Received;
  ResetEvent(Device.Received);
  WSABUF buffer{Size, reinterpret_cast<char*>(Buffer)};
  DWORD got = 0, flags = 0;
  if (WSARecv(Device.Socket, &buffer, 1, &got, &flags, &overlapped, nullptr) != 0) {
    if (WSAGetLastError() != WSA_IO_PENDING) return -1;
    HANDLE events[] = {Device.Received, Device.Wake};
    if (WaitForMultipleObjects(2, events, FALSE, TimeoutMs) != WAIT_OBJECT_0)
      CancelIoEx(reinterpret_cast<HANDLE>(Device.Socket), &overlapped);
    if (!WSAGetOverlappedResult(Device.Socket, &overlapped, &got, TRUE, &flags))
      return WSAGetLastError() == WSA_OPERATION_ABORTED ? 0 : -1;
  }
  return got > 0 ? static_cast<int>(got) : -1;
}

DWORD ReadTransfer(TDevice& Device, uint8_t* Buffer, DWORD Size, DWORD* Transferred, DWORD TimeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + TimeoutMs;
  for (;;) {
    bool own;
    {
      std::lock_guard<std::mutex> lock(Device.Lock);
      if (Device.Halted) {
        Device.Halted = false;
        return StatusHalted;
      }
      if (!Device.In.empty()) {
        const DWORD count = static_cast<DWORD>(std::min<size_t>(Size, Device.In.size()));
        std::copy_n(Device.In.begin(), count, Buffer);
        Device.In.erase(Device.In.begin(), Device.In.begin() + count);
        *Transferred = count;
        return WDU_STATUS_SUCCESS;
      }
      if (Device.Gone) return StatusDeviceGone;
      Device.TransferReads = true;
      // A recv of the device's thread already under way gets the next bytes.
      own = !Device.Receiving;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return WDU_STATUS_TIMEOUT;
    const DWORD left = static_cast<DWORD>(deadline - now);
    if (!own) {
      WaitForSingleObject(Device.Wake, left);
      continue;
    }
    const int got = ReceiveOwn(Device, Buffer, Size, left);
    if (got == 0) continue;  // woken or timed out: the state says which
    if (got < 0) {
      MarkGone(Device);
      continue;
    }
    std::lock_guard<std::mutex> lock(Device.Lock);
    if (Device.Halted) {
      // The halt came first: the bytes wait for the next transfer.
      Device.In.insert(Device.In.begin(), Buffer, Buffer + got);
      Device.Halted = false;
      return StatusHalted;
    }
    *Transferred = static_cast<DWORD>(got);
    return WDU_STATUS_SUCCESS;
  }
}

DWORD WriteTransfer(TDevice& Device, const uint8_t* Buffer, DWORD Size, DWORD* Transferred, DWORD TimeoutMs) {
  {
    std::unique_lock<std::mutex> lock(Device.Lock);
    const auto ready = [&] { return Device.Answered || Device.Gone; };
    // A time-out of 0 waits for ever, as the socket's send time-out does.
    if (TimeoutMs == 0)
      Device.Changed.wait(lock, ready);
    else if (!Device.Changed.wait_for(lock, std::chrono::milliseconds(TimeoutMs), ready))
      return WDU_STATUS_TIMEOUT;
    if (Device.Gone) return StatusDeviceGone;
  }
  char fault[8] = "";
  GetEnvironmentVariableA(WriteFaultVariable, fault, sizeof fault);
  if (std::strcmp(fault, "fail") == 0) return StatusDeviceGone;
  if (std::strcmp(fault, "empty") == 0) return WDU_STATUS_SUCCESS;
  const unsigned long most = EnvironmentNumber(MaxWriteVariable);
  if (most > 0 && most < Size) Size = static_cast<DWORD>(most);
  const DWORD timeout = TimeoutMs;
  if (Device.SendTimeout.exchange(timeout) != timeout)
    setsockopt(Device.Socket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  const int sent = send(Device.Socket, reinterpret_cast<const char*>(Buffer), static_cast<int>(Size), 0);
  if (sent >= 0) {
    *Transferred = static_cast<DWORD>(sent);
    return WDU_STATUS_SUCCESS;
  }
  return WSAGetLastError() == WSAETIMEDOUT ? WDU_STATUS_TIMEOUT : StatusDeviceGone;
}

}  // namespace

extern "C" {

DWORD __stdcall WDU_Init(WDU_DRIVER_HANDLE* Driver, WDU_MATCH_TABLE* MatchTables, DWORD MatchTableCount,
                         WDU_EVENT_TABLE* EventTable, DWORD) {
  if (!Driver || !MatchTables || MatchTableCount < 1 || !EventTable) return StatusInvalid;
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return StatusInvalid;
  const SOCKET firstPort = ConnectBus();
  if (firstPort == INVALID_SOCKET) {
    WSACleanup();
    return StatusNoDriver;
  }
  *Driver = new TDriver(MatchTables[0], *EventTable, firstPort);
  return WDU_STATUS_SUCCESS;
}

void __stdcall WDU_Uninit(WDU_DRIVER_HANDLE Driver) {
  if (!Driver) return;
  delete static_cast<TDriver*>(Driver);
  WSACleanup();
}

DWORD __stdcall WDU_ResetDevice(WDU_DEVICE_HANDLE Device, DWORD) {
  return Device ? WDU_STATUS_SUCCESS : StatusInvalid;
}

DWORD __stdcall WDU_SetInterface(WDU_DEVICE_HANDLE Device, DWORD InterfaceNumber, DWORD AlternateSetting) {
  auto* device = static_cast<TDevice*>(Device);
  if (!device || InterfaceNumber != device->Setting.InterfaceNumber || AlternateSetting != 0) return StatusInvalid;
  return WDU_STATUS_SUCCESS;
}

DWORD __stdcall WDU_TransferBulk(WDU_DEVICE_HANDLE Device, DWORD Pipe, DWORD Read, DWORD, void* Buffer,
                                 DWORD BufferSize, DWORD* Transferred, DWORD TimeoutMs) {
  auto* device = static_cast<TDevice*>(Device);
  if (!device || !Buffer || !Transferred) return StatusInvalid;
  *Transferred = 0;
  const bool inPipe = (Pipe & 0x80) != 0;
  if (Read != 0 && inPipe) return ReadTransfer(*device, static_cast<uint8_t*>(Buffer), BufferSize, Transferred, TimeoutMs);
  if (Read == 0 && !inPipe)
    return WriteTransfer(*device, static_cast<const uint8_t*>(Buffer), BufferSize, Transferred, TimeoutMs);
  return StatusInvalid;
}

DWORD __stdcall WDU_HaltTransfer(WDU_DEVICE_HANDLE Device, DWORD Pipe) {
  auto* device = static_cast<TDevice*>(Device);
  if (!device) return StatusInvalid;
  // Only the bulk-in pipe ever has a transfer that waits.
  if (Pipe & 0x80) {
    std::lock_guard<std::mutex> lock(device->Lock);
    device->Halted = true;
    // The reading ends: the device's thread watches the connection again.
    device->TransferReads = false;
    device->Changed.notify_all();
    SetEvent(device->Wake);
  }
  return WDU_STATUS_SUCCESS;
}

DWORD __stdcall ThreadStart(HANDLE* Thread, WDU_THREAD_FUNCTION Function, void* Argument) {
  if (!Thread) return StatusInvalid;
  *Thread = CreateThread(nullptr, 0, Function, Argument, 0, nullptr);
  if (!*Thread) return StatusInvalid;
  NoteStarted(*Thread);
  return WDU_STATUS_SUCCESS;
}

void __stdcall ThreadWait(HANDLE Thread) {
  if (!Thread) return;
  WaitForSingleObject(Thread, INFINITE);
  CloseHandle(Thread);
}
}
