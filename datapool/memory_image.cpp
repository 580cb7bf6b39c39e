// The four requests of the memory-image mechanism and the two chunked
// sequences built from them. The echoed address bytes of an answer are not
// compared with the request, but an answer whose Len does not reach the bytes
// taken from it fails the request: what lies behind it is no answer of the
// phone, and taking it would send writes to address 0 or read zeros as data.
#include "memory_image.h"

#include <algorithm>
#include <cstring>

#include "byte_order.h"
#include "phone_commands.h"
#include "pool_request.h"
#include "qv_datapool.h"

namespace {

// Address, a zero byte and the count: the first seven data bytes of a memory
// read or write.
void PutMemoryHeader(uint8_t* Data, uint32_t Address, uint16_t Count) {
  PutU32(Data, Address);
  Data[4] = 0;
  PutU16(Data + 5, Count);
}

// A larger count would not fit the packet behind the seven header bytes.
bool ValidChunk(uint16_t Count) { return Count >= 1 && Count <= MaxMemoryChunk; }

}  // namespace

bool GetAreaBase(TQV_DATAPOOL& Pool, uint32_t& Base) {
  TProtPacket Packet = PoolRequest(chSystem, SysAreaBase, {MemoryArea});
  if (!Pool.SendPacket(Packet, MemoryTimeout) || Packet.Len < 5) return false;
  Base = GetU32(Packet.Data + 1);
  return true;
}

bool ReadMemory(TQV_DATAPOOL& Pool, uint32_t Address, uint16_t Count, int32_t Timeout, uint8_t* Dest) {
  if (!ValidChunk(Count)) return false;
  uint8_t Header[MemoryRequestHeader];
  PutMemoryHeader(Header, Address, Count);
  TProtPacket Packet = PoolRequest(chDevice, DevReadMemory, Header, sizeof Header);
  if (!Pool.SendPacket(Packet, Timeout) || Packet.Len < MemoryRequestHeader + Count) return false;
  std::memcpy(Dest, Packet.Data + MemoryRequestHeader, Count);
  return true;
}

bool WriteMemory(TQV_DATAPOOL& Pool, uint32_t Address, uint16_t Count, const uint8_t* Source) {
  if (!ValidChunk(Count)) return false;
  uint8_t Data[MemoryRequestHeader + MaxMemoryChunk];
  PutMemoryHeader(Data, Address, Count);
  std::memcpy(Data + MemoryRequestHeader, Source, Count);
  TProtPacket Packet = PoolRequest(chDevice, DevWriteMemory, Data, MemoryRequestHeader + Count);
  return Pool.SendPacket(Packet, MemoryTimeout);
}

bool CommitArea(TQV_DATAPOOL& Pool, uint32_t Base) {
  uint8_t Data[5] = {MemoryArea};
  PutU32(Data + 1, Base);
  TProtPacket Packet = PoolRequest(chSystem, SysCommitArea, Data, sizeof Data);
  return Pool.SendPacket(Packet, MemoryTimeout);
}

TImageRead ReadMemoryImage(TQV_DATAPOOL& Pool, uint32_t ImageOffset, uint16_t HeaderSize,
                           int32_t HeaderTimeout, const TImageSizeRule& SizeRule, uint8_t* Dest,
                           uint32_t DestSize) {
  uint32_t Base = 0;
  if (!GetAreaBase(Pool, Base)) return TImageRead::Failed;
  uint32_t Address = Base + ImageOffset;  // unsigned 32-bit arithmetic, as the phone counts
  uint8_t Header[MaxImageHeader] = {};
  HeaderSize = std::min(HeaderSize, MaxImageHeader);
  if (!ReadMemory(Pool, Address, HeaderSize, HeaderTimeout, Header)) return TImageRead::Failed;
  uint32_t Total = SizeRule(Header);
  if (Total == 0 || Total > DestSize) return TImageRead::Invalid;
  // The first chunk repeats the header, so Dest holds the image from its first byte.
  while (Total > 0) {
    const auto Count = static_cast<uint16_t>(std::min<uint32_t>(Total, MaxMemoryChunk));
    if (!ReadMemory(Pool, Address, Count, MemoryTimeout, Dest)) return TImageRead::Failed;
    Dest += Count;
    Address += Count;
    Total -= Count;
  }
  return TImageRead::Read;
}

bool WriteMemoryImage(TQV_DATAPOOL& Pool, uint32_t ImageOffset, const uint8_t* Image, uint32_t Size) {
  uint32_t Base = 0;
  if (!GetAreaBase(Pool, Base)) return false;
  uint32_t Address = Base + ImageOffset;
  while (Size > 0) {
    const auto Count = static_cast<uint16_t>(std::min<uint32_t>(Size, MaxMemoryChunk));
    if (!WriteMemory(Pool, Address, Count, Image)) return false;
    Image += Count;
    Address += Count;
    Size -= Count;
  }
  return CommitArea(Pool, Base);
}
