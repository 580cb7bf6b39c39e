// The receive state machine: cuts the byte stream of a link back into frames,
// checks each frame's CRC and collects it in one of 13 receive slots, used in
// ring order, then hands the slot index on to the delivery step chosen by the
// frame's channel. Constant work per byte: one table look-up, one store.
//
// The protocol driver derives from this class, so the receiver's state is the
// driver's own, and supplies PostFrame (on Windows: a thread message to its
// delivery thread).
//
// Two rules keep a slot's content intact while the host reads it:
//  - A posted slot stays held until the driver calls ReleaseSlot after the
//    host has taken the frame. A frame that would start in a held slot is
//    dropped whole (the ring does not advance), like a frame with a bad CRC:
//    the request it answers then ends by its time-out. A larger ring would
//    only move the limit, while dropping keeps delivered data correct.
//  - ReceiveByte takes no lock and must never run in two threads at once. When
//    a serial port and a USB phone are both open, both reader threads feed one
//    receiver; the driver serialises their calls.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "protocol.h"

constexpr int RxSlotCount = 13;

#pragma pack(push, 1)
// A frame's unstuffed bytes: the body, read as the frame's packet, then its two CRC bytes.
struct TRxSlot {
  TProtPacket Packet;
  uint8_t CrcRoom[2];
};
#pragma pack(pop)
constexpr size_t RxSlotSize = sizeof(TRxSlot);
static_assert(RxSlotSize == 1031, "a slot holds a whole packet and its CRC");

// Offset from WM_USER of the delivery message for a frame of this channel
// (chText 2, chSystem 3, chConfig 4, chPhonebook 5, chDevice 6); 0 means the
// frame is not delivered (channel 2 and channels above 5).
int FrameMessage(uint8_t Channel);

class TFrameReceiver {
 public:
  TFrameReceiver() = default;
  TFrameReceiver(const TFrameReceiver&) = delete;
  TFrameReceiver& operator=(const TFrameReceiver&) = delete;
  virtual ~TFrameReceiver() = default;

  // One received byte, in order; called by the link's reader thread.
  void ReceiveByte(uint8_t Ch);

  const TProtPacket& SlotPacket(int Slot) const { return FSlots[Slot].Packet; }
  // The body bytes the slot's last correct frame really carried (its CRC not counted).
  size_t SlotBodySize(int Slot) const { return FSlotBody[Slot]; }
  // The host has taken the frame in this slot; the ring may reuse it.
  void ReleaseSlot(int Slot) { FSlotHeld[Slot].store(false, std::memory_order_release); }

 protected:
  // A correct frame of a delivered channel lies in Slot; Message is its FrameMessage.
  // Returns false when it could not be handed on (the frame is then lost and its slot free).
  virtual bool PostFrame(int Message, int Slot) = 0;

 private:
  void EndFrame();

  // Written by the (serialised) reader thread only, apart from FSlotHeld.
  TRxSlot FSlots[RxSlotCount] = {};
  uint16_t FSlotCrc[RxSlotCount] = {};
  size_t FSlotBody[RxSlotCount] = {};
  std::atomic<bool> FSlotHeld[RxSlotCount] = {};  // set by the reader, cleared by the host thread
  int FRxSlot = 0;
  size_t FRxPos = 0;
  bool FInFrame = false;
  bool FEscape = false;
  bool FOverlong = false;  // the frame outgrew its slot
  bool FDiscard = false;   // the frame started while its slot was still held
};
