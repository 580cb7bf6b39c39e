// TProtDrv: the engine of one open link. It owns the serial and the USB link,
// is the frame receiver both feed (their reader threads are serialised by a
// lock, as both may run at once), hands every complete frame to the host
// thread, and sends requests and waits for their answers until a deadline.
//
// Complete frames wait in one queue, and only the host thread takes them, in
// order and one at a time. While a send's wait blocks in its own loop, the
// reader wakes the host thread directly and the wait delivers the queued
// frames itself; at every other time (a nested modal loop included) the
// delivery thread asks the host thread to deliver them by a synchronous call,
// which whatever loop the host thread is in runs. A thread hand-off costs tens
// of microseconds under Wine, so the answer to a request crosses exactly one.
//
// The wait blocks in MsgWaitForMultipleObjectsEx between messages until its
// deadline: a new message, a synchronous call, a queued frame and the deadline
// each end the block at once, so the host stays responsive without polling.
// The deadline is the block's own time-out; a timer per request (a thread
// under Wine) would cost more than the round trip itself.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "com_port_win.h"
#include "frame_encoder.h"
#include "frame_receiver.h"
#include "thread_object_win.h"
#include "usb_port_win.h"

class TProtDrv : public TThreadObject, public TFrameReceiver {
 public:
  using TTextEvent = std::function<void(const std::string& Text)>;
  using TChannelEvent = std::function<void(uint8_t Code, uint16_t Len, const uint8_t* Data)>;
  using TNotifyEvent = std::function<void()>;

  // Builds and opens the links (port 0: USB only) and starts the delivery thread.
  explicit TProtDrv(uint8_t ComPort);
  ~TProtDrv() override;

  // Host thread only. False at once while another send is in progress or when
  // Len is above MaxPacketData; otherwise true without Wait, else the answer came.
  bool SendFrame(TProtPacket* Packet, bool Wait, int32_t Timeout);
  // A send is in progress: its wait (or its write) is somewhere down the host's stack.
  bool Sending() const { return FPendingPacket != nullptr; }
  // Ends a waiting send (false) as soon as control returns to it.
  void AbortSend() { FAborted = true; }
  // Closes the serial port and the USB driver ahead of the destruction, which
  // then waits for the threads alone (one of them may be the caller's).
  void CloseLinks();
  bool UsbConnected() const { return FUsb && FUsb->Attached(); }
  bool ComOpen() const { return FComOpen; }
  bool UsbOpen() const { return FUsbOpen; }

  // Connected by the library interface before the first frame can arrive.
  TTextEvent FOnText;
  TChannelEvent FOnChannel1, FOnChannel3, FOnChannel4, FOnChannel5;
  TNotifyEvent FOnUsbAttached, FOnUsbDetached;

 protected:
  void Execute() override;
  bool PostFrame(int Message, int Slot) override;

 private:
  void ReceiveFrom(const uint8_t* Bytes, size_t Count);
  // Host thread: delivers the queued frames, unless a delivery is already
  // under way further down the stack (frames reach the host one at a time).
  void DeliverQueued();
  void Deliver(int Message, int Slot);
  void DeliverText(int Slot);
  void DeliverChannel(int Slot, const TChannelEvent& Event);
  void WaitForAnswer();
  // The wait is about to block: false when queued frames should be delivered
  // first; else the reader wakes it directly until EndBlock.
  bool BeginBlock();
  void EndBlock();
  bool WaitEnded() const;

  std::unique_ptr<TCOM_PORT> FCom;
  std::unique_ptr<TUSB_PORT> FUsb;
  std::mutex FReceiveLock;  // the two reader threads take turns in the receiver
  // Complete frames in the order they ended, as (delivery message, slot). A
  // queued slot stays held, so there are never more than the slots.
  struct TQueuedFrame {
    int Message, Slot;
  };
  std::mutex FQueueLock;  // guards the queue and FHostWaiting
  TQueuedFrame FQueue[RxSlotCount] = {};
  int FQueueHead = 0, FQueueCount = 0;
  bool FHostWaiting = false;  // a send blocks in its own wait: the reader wakes it instead of the delivery thread
  HANDLE FHostWake = nullptr;  // auto-reset; set by the reader for the waiting send
  bool FDelivering = false;    // host thread only
  // Host thread only (deliveries run there).
  bool FAnswered = false;
  bool FAborted = false;
  ULONGLONG FDeadline = 0;  // of the waiting send, in GetTickCount64 milliseconds
  uint8_t FExpectedCode = 0;
  TProtPacket* FPendingPacket = nullptr;
  bool FComOpen = false;
  bool FUsbOpen = false;
  uint8_t FFrame[MaxFrameSize] = {};  // one send at a time, so one frame buffer
};
