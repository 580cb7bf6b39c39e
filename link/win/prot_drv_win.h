// TProtDrv: the engine of one open link. It owns the serial and the USB link,
// is the frame receiver both feed (their reader threads are serialised by a
// lock, as both may run at once), runs the delivery thread that hands every
// complete frame to the host thread by a synchronous call, and sends requests
// and waits for their answers with a multimedia timer as time-out.
//
// The wait blocks in MsgWaitForMultipleObjectsEx between messages: a new
// message, a synchronous call (an answer's delivery) and the timer's event
// each end the block at once, so the host stays responsive without polling.
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
  void Deliver(int Message, int Slot);
  void DeliverText(int Slot);
  void DeliverChannel(int Slot, const TChannelEvent& Event);
  void WaitForAnswer();
  bool WaitEnded() const;

  std::unique_ptr<TCOM_PORT> FCom;
  std::unique_ptr<TUSB_PORT> FUsb;
  std::mutex FReceiveLock;  // the two reader threads take turns in the receiver
  // Host thread only (deliveries run there).
  bool FAnswered = false;
  bool FAborted = false;
  uint8_t FExpectedCode = 0;
  TProtPacket* FPendingPacket = nullptr;
  bool FComOpen = false;
  bool FUsbOpen = false;
  uint8_t FFrame[MaxFrameSize] = {};  // one send at a time, so one frame buffer
};
