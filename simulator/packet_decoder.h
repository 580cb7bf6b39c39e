// The simulator's receive side: the link's own frame receiver, collecting each
// correct frame as a packet. The slot is released at once, as the packet is
// copied out before the next byte is fed.
#pragma once

#include <vector>

#include "frame_receiver.h"

class TPacketDecoder : public TFrameReceiver {
 public:
  std::vector<TProtPacket> Take() { return std::move(FPackets); }

 protected:
  bool PostFrame(int, int Slot) override {
    FPackets.push_back(SlotPacket(Slot));
    ReleaseSlot(Slot);
    return true;
  }

 private:
  std::vector<TProtPacket> FPackets;
};
