#include "prot_drv_win.h"

#include <algorithm>
#include <cstring>

#include "comm_exception.h"
#include "host_call_win.h"

namespace {

constexpr UINT DeliveryQuit = WM_USER + 1;
constexpr UINT FramesQueued = WM_USER + 2;
constexpr int TextMessage = 2;
constexpr int32_t MinTimeout = 100;
constexpr int32_t ShortTimeout = 500;
constexpr DWORD SerialBaudRate = 38400;

// Loading a system cursor costs about 0.1 ms under Wine, as much as a whole
// round trip on loopback: each is loaded once.
HCURSOR SystemCursor(LPCSTR Id) { return LoadCursorA(nullptr, Id); }
const HCURSOR WaitCursor = SystemCursor(reinterpret_cast<LPCSTR>(IDC_WAIT));
const HCURSOR ArrowCursor = SystemCursor(reinterpret_cast<LPCSTR>(IDC_ARROW));

// The send's bookkeeping is reset however the send ends.
class TSendScope {
 public:
  TSendScope(TProtPacket*& Pending, uint8_t& Expected, TProtPacket* Packet) : FPending(Pending), FExpected(Expected) {
    SetCursor(WaitCursor);
    FPending = Packet;
  }
  ~TSendScope() {
    FPending = nullptr;
    FExpected = 0;
    SetCursor(ArrowCursor);
  }
  TSendScope(const TSendScope&) = delete;
  TSendScope& operator=(const TSendScope&) = delete;

 private:
  TProtPacket*& FPending;
  uint8_t& FExpected;
};

}  // namespace

TProtDrv::TProtDrv(uint8_t ComPort) {
  FHostWake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  FCom = std::make_unique<TCOM_PORT>();
  FCom->FOnRxChar = [this](uint8_t ch) { ReceiveFrom(&ch, 1); };
  FCom->SetBaudRate(SerialBaudRate);
  if (ComPort != 0) {
    FCom->SetPortName("COM" + std::to_string(ComPort) + ":");
    FComOpen = true;
    try {
      FCom->SetActive(true);
    } catch (const TCommException&) {
      FComOpen = false;
    }
  }
  FUsb = std::make_unique<TUSB_PORT>();
  FUsb->FOnReceived = [this](const uint8_t* bytes, size_t count) { ReceiveFrom(bytes, count); };
  FUsb->FOnAttach = [this] { RunInHostThread([this] { if (FOnUsbAttached) FOnUsbAttached(); }); };
  FUsb->FOnDetach = [this] { RunInHostThread([this] { if (FOnUsbDetached) FOnUsbDetached(); }); };
  FUsbOpen = true;
  try {
    FUsb->SetActive(true);
  } catch (const TCommException&) {
    FUsbOpen = false;
  }
  Start();
}

void TProtDrv::CloseLinks() {
  FCom.reset();
  FUsb->Close();
}

TProtDrv::~TProtDrv() {
  FCom.reset();
  FUsb.reset();
  // Frames that ended before this message are delivered first, during the wait.
  PostThreadMessageA(ThreadId(), DeliveryQuit, 0, 0);
  WaitFor();
  CloseHandle(FHostWake);
}

void TProtDrv::ReceiveFrom(const uint8_t* Bytes, size_t Count) {
  std::lock_guard<std::mutex> lock(FReceiveLock);
  for (size_t i = 0; i < Count; ++i) ReceiveByte(Bytes[i]);
}

bool TProtDrv::PostFrame(int Message, int Slot) {
  bool hostWaits;
  {
    std::lock_guard<std::mutex> lock(FQueueLock);
    if (FQueueCount == RxSlotCount) return false;
    FQueue[(FQueueHead + FQueueCount) % RxSlotCount] = {Message, Slot};
    ++FQueueCount;
    hostWaits = FHostWaiting;
  }
  if (hostWaits)
    SetEvent(FHostWake);
  else
    PostThreadMessageA(ThreadId(), FramesQueued, 0, 0);
  return true;
}

void TProtDrv::Execute() {
  MSG message;
  for (;;) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) return;
    if (got == 0) continue;  // a quit message is ignored
    if (message.message == DeliveryQuit) return;
    if (message.message == FramesQueued) RunInHostThread([this] { DeliverQueued(); });
  }
}

void TProtDrv::DeliverQueued() {
  if (FDelivering) return;
  FDelivering = true;
  struct TDone {
    bool& Delivering;
    ~TDone() { Delivering = false; }
  } done{FDelivering};
  for (;;) {
    TQueuedFrame frame;
    {
      std::lock_guard<std::mutex> lock(FQueueLock);
      if (FQueueCount == 0) return;
      frame = FQueue[FQueueHead];
      FQueueHead = (FQueueHead + 1) % RxSlotCount;
      --FQueueCount;
    }
    Deliver(frame.Message, frame.Slot);
    ReleaseSlot(frame.Slot);
  }
}

void TProtDrv::Deliver(int Message, int Slot) {
  switch (Message) {
    case TextMessage: DeliverText(Slot); break;
    case TextMessage + 1: DeliverChannel(Slot, FOnChannel1); break;
    case TextMessage + 2: DeliverChannel(Slot, FOnChannel3); break;
    case TextMessage + 3: DeliverChannel(Slot, FOnChannel4); break;
    default: DeliverChannel(Slot, FOnChannel5); break;
  }
}

void TProtDrv::DeliverText(int Slot) {
  if (!FOnText) return;
  const TProtPacket& s = SlotPacket(Slot);
  const size_t carried = SlotBodySize(Slot) > PacketHeaderSize ? SlotBodySize(Slot) - PacketHeaderSize : 0;
  const size_t limit = std::min<size_t>(s.Len, carried);
  const auto* end = static_cast<const uint8_t*>(std::memchr(s.Data, 0, limit));
  FOnText(std::string(reinterpret_cast<const char*>(s.Data), end ? static_cast<size_t>(end - s.Data) : limit));
}

void TProtDrv::DeliverChannel(int Slot, const TChannelEvent& Event) {
  const TProtPacket& s = SlotPacket(Slot);
  if (FExpectedCode >= AnswerFlag && FExpectedCode == s.Code) {
    if (FPendingPacket) {
      // The copy holds what the frame really carried, and never more than the record.
      const size_t carried = SlotBodySize(Slot) > PacketHeaderSize ? SlotBodySize(Slot) - PacketHeaderSize : 0;
      const size_t len = std::min<size_t>({s.Len, carried, static_cast<size_t>(MaxPacketData)});
      FPendingPacket->Channel = s.Channel;
      FPendingPacket->Code = s.Code;
      FPendingPacket->Len = static_cast<uint16_t>(len);
      std::memcpy(FPendingPacket->Data, s.Data, len);
    }
    FAnswered = true;
    return;
  }
  if (Event) Event(s.Code, s.Len, s.Data);
}

bool TProtDrv::SendFrame(TProtPacket* Packet, bool Wait, int32_t Timeout) {
  if (FPendingPacket || !Packet || Packet->Len > MaxPacketData) return false;
  if (Timeout < MinTimeout) Timeout = ShortTimeout;
  TSendScope scope(FPendingPacket, FExpectedCode, Packet);
  FAborted = false;
  const size_t length = EncodeFrame(*Packet, FFrame);
  // Each write returns only when the frame is out, so FFrame is free again afterwards.
  if (FUsb->Attached())
    FUsb->Write(static_cast<int>(length), FFrame);
  else if (FCom)
    FCom->Write(static_cast<int>(length), FFrame);
  if (!Wait) return true;
  if (FAborted) return false;
  FExpectedCode = static_cast<uint8_t>(Packet->Code | AnswerFlag);
  FAnswered = false;
  FDeadline = GetTickCount64() + static_cast<ULONGLONG>(Timeout);
  WaitForAnswer();
  return FAnswered && !FAborted;
}

bool TProtDrv::WaitEnded() const { return FAnswered || FAborted || GetTickCount64() >= FDeadline; }

bool TProtDrv::BeginBlock() {
  std::lock_guard<std::mutex> lock(FQueueLock);
  // Frames this wait cannot deliver itself (it runs inside a delivery) stay
  // for the delivery under way, which takes the whole queue.
  if (FQueueCount > 0 && !FDelivering) return false;
  FHostWaiting = !FDelivering;
  return true;
}

void TProtDrv::EndBlock() {
  std::lock_guard<std::mutex> lock(FQueueLock);
  FHostWaiting = false;
}

void TProtDrv::WaitForAnswer() {
  bool quit = false;
  int quitCode = 0;
  // The reader wakes this wait directly only while it blocks below. Whenever
  // the wait has handed control away (a dispatched message, or a synchronous
  // call run by PeekMessage, may run a modal loop of its own for any length
  // of time), frames go as synchronous calls of the delivery thread, which any
  // message loop of this thread runs: the answer then completes the send
  // inside that loop, and callbacks run there too.
  bool messages = true;
  for (;;) {
    DeliverQueued();
    if (WaitEnded()) break;
    if (messages) {
      messages = false;
      MSG message;
      while (!WaitEnded() && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
          // Kept for the host's own loop, which must see it after the wait.
          quit = true;
          quitCode = static_cast<int>(message.wParam);
          continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      continue;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= FDeadline) break;
    if (!BeginBlock()) continue;
    messages = MsgWaitForMultipleObjectsEx(1, &FHostWake, static_cast<DWORD>(FDeadline - now), QS_ALLINPUT,
                                           MWMO_INPUTAVAILABLE) != WAIT_OBJECT_0;
    EndBlock();
  }
  bool framesLeft;
  {
    std::lock_guard<std::mutex> lock(FQueueLock);
    framesLeft = FQueueCount > 0;
  }
  // Frames that ended after the answer, or during a delivery further down the
  // stack, go the ordinary way.
  if (framesLeft) PostThreadMessageA(ThreadId(), FramesQueued, 0, 0);
  if (quit) PostQuitMessage(quitCode);
}
