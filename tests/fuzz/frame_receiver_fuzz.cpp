// Feeds arbitrary bytes to the frame receiver. Every posted slot must hold a
// frame whose body is within the slot and whose CRC really matches; the first
// input byte decides how many posted frames the host "takes" late, so the ring's
// held-slot rule is exercised as well.
#include <cstdlib>
#include <cstring>
#include <deque>

#include "crc.h"
#include "frame_receiver.h"

namespace {

class TCheckingReceiver : public TFrameReceiver {
 public:
  explicit TCheckingReceiver(size_t lag) : FLag(lag) {}

 protected:
  bool PostFrame(int message, int slot) override {
    const size_t body = SlotBodySize(slot);
    if (body > sizeof(TProtPacket) || message < 2 || message > 6) abort();
    const auto* bytes = reinterpret_cast<const uint8_t*>(&SlotPacket(slot));
    // Body plus the two CRC bytes behind it: the CRC over all of it is 0.
    if (Crc16(bytes, body + 2) != 0) abort();
    if (FrameMessage(SlotPacket(slot).Channel) != message) abort();
    for (int held : FHeld)
      if (held == slot) abort();  // a held slot was filled again
    FHeld.push_back(slot);
    while (FHeld.size() > FLag) {
      ReleaseSlot(FHeld.front());
      FHeld.pop_front();
    }
    return true;
  }

 private:
  size_t FLag;
  std::deque<int> FHeld;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  TCheckingReceiver rx(data[0] % (RxSlotCount + 2));
  for (size_t i = 1; i < size; ++i) rx.ReceiveByte(data[i]);
  return 0;
}
