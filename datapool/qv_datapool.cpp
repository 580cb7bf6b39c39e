// The base pool: its tie to the owner and the change byte of its section.
#include "qv_datapool.h"

#include "pool_platform.h"
#include "qvdp_all.h"
#include "stream.h"

TQV_DATAPOOL::TQV_DATAPOOL(TQVDP_ALL* AOwner) : FOwner(AOwner) {}

bool TQV_DATAPOOL::LoadFromStream(TStream& Stream) {
  uint8_t ChangeByte = 0;
  Stream.ReadBuffer(&ChangeByte, 1);
  FChanged = ChangeByte != 0;
  return true;
}

bool TQV_DATAPOOL::SaveToStream(TStream& Stream) {
  const uint8_t ChangeByte = FChanged ? 1 : 0;
  Stream.WriteBuffer(&ChangeByte, 1);
  return true;
}

bool TQV_DATAPOOL::SendPacket(TProtPacket& Packet, int32_t Timeout) {
  if (FOwner) return FOwner->SendPacket(Packet, Timeout);
  return PoolPlatform().SendPacket(Packet, Timeout);
}

void TQV_DATAPOOL::Changed() {
  if (FOwner) FOwner->DoChange(FIndex);
}

void TQV_DATAPOOL::SetErrorText(const std::string& Text) {
  if (FOwner) FOwner->FErrorText = Text;
}
