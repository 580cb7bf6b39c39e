// The pools' request builder, see pool_request.h.
#include "pool_request.h"

#include <algorithm>
#include <cstring>

TProtPacket PoolRequest(uint8_t Channel, uint8_t Code, const void* Data, size_t Size) {
  TProtPacket Packet{};
  Packet.Channel = Channel;
  Packet.Code = Code;
  Size = std::min<size_t>(Size, MaxPacketData);
  if (Size > 0) std::memcpy(Packet.Data, Data, Size);
  Packet.Len = static_cast<uint16_t>(Size);
  return Packet;
}

TProtPacket PoolRequest(uint8_t Channel, uint8_t Code, std::initializer_list<uint8_t> Data) {
  return PoolRequest(Channel, Code, Data.begin(), Data.size());
}
