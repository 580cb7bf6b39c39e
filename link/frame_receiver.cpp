#include "frame_receiver.h"

#include "crc.h"
#include "frame_encoder.h"

int FrameMessage(uint8_t Channel) {
  switch (Channel) {
    case chText: return 2;
    case chSystem: return 3;
    case chConfig: return 4;
    case chPhonebook: return 5;
    case chDevice: return 6;
    default: return 0;
  }
}

void TFrameReceiver::ReceiveByte(uint8_t Ch) {
  if (Ch == FrameStart) {
    // A frame that was still open is abandoned; its slot is reused.
    FSlotCrc[FRxSlot] = CrcInit;
    FRxPos = 0;
    FEscape = false;
    FInFrame = true;
    FOverlong = false;
    FDiscard = FSlotHeld[FRxSlot].load(std::memory_order_acquire);
    return;
  }
  if (!FInFrame) return;
  if (Ch == FrameEnd) {
    FInFrame = false;
    EndFrame();
    return;
  }
  if (Ch == FrameEscape) {
    FEscape = true;
    return;
  }
  if (FEscape) {
    Ch ^= EscapeXor;
    FEscape = false;
  }
  if (FDiscard) return;
  if (FRxPos >= RxSlotSize) {
    FOverlong = true;
    return;
  }
  FSlotCrc[FRxSlot] = UpdateCrc16(FSlotCrc[FRxSlot], Ch);
  reinterpret_cast<uint8_t*>(&FSlots[FRxSlot])[FRxPos++] = Ch;
}

void TFrameReceiver::EndFrame() {
  // Running the CRC over the body and its own two bytes leaves 0 for a correct frame.
  // A frame of fewer than two bytes cannot hold a CRC, whatever its running value.
  if (FDiscard || FOverlong || FRxPos < 2 || FSlotCrc[FRxSlot] != 0) return;

  const int slot = FRxSlot;
  FRxSlot = (FRxSlot + 1) % RxSlotCount;
  FSlotBody[slot] = FRxPos - 2;
  const int message = FrameMessage(FSlots[slot].Packet.Channel);
  if (message == 0) return;
  FSlotHeld[slot].store(true, std::memory_order_relaxed);
  if (!PostFrame(message, slot)) ReleaseSlot(slot);
}
