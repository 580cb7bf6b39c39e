// Reading and writing a pool's contiguous memory image in the phone's memory
// area, by address: the area base is asked anew for every transfer, the image
// goes in chunks at the pool's ImageOffset from that base, and a write ends
// with the commit of the area. Phonebook 2, the languages and the ring tones
// use it; the mechanism keeps no state between calls.
//
// Every request goes through the pool's own SendPacket. Each operation
// returns false as soon as one request gets no answer, or an answer too short
// for the bytes it must carry, without retry.
#pragma once

#include <cstdint>
#include <functional>

class TQV_DATAPOOL;

constexpr uint8_t MemoryArea = 6;           // the area that holds the three images
constexpr uint16_t MaxMemoryChunk = 1015;   // 7 address bytes + 1015 = 1022 <= MaxPacketData
constexpr int32_t MemoryTimeout = 2000;     // every request but a user's header read

constexpr int MemoryRequestHeader = 7; // address (4), 0, count (2) before the data

bool GetAreaBase(TQV_DATAPOOL& Pool, uint32_t& Base);
// Count is 1 to MaxMemoryChunk; Dest receives Count bytes.
bool ReadMemory(TQV_DATAPOOL& Pool, uint32_t Address, uint16_t Count, int32_t Timeout, uint8_t* Dest);
bool WriteMemory(TQV_DATAPOOL& Pool, uint32_t Address, uint16_t Count, const uint8_t* Source);
bool CommitArea(TQV_DATAPOOL& Pool, uint32_t Base);

// The user's judgement of its header: the whole image's size in bytes, header
// included, or 0 for an invalid header. It runs once the header has arrived,
// so a user that empties its pool at that point does it here.
using TImageSizeRule = std::function<uint32_t(const uint8_t* Header)>;

enum class TImageRead {
  Failed,   // a request got no answer; Dest holds the chunks copied so far
  Invalid,  // the header was judged invalid; nothing more was sent
  Read,     // Dest holds the whole image from its first byte
};

constexpr uint16_t MaxImageHeader = 16;

// Area base, one header read of HeaderSize bytes (at most MaxImageHeader)
// with HeaderTimeout, then the whole image again from its first byte in
// chunks. A size above DestSize counts as an invalid header, so a phone's
// header can never make the read run past Dest.
TImageRead ReadMemoryImage(TQV_DATAPOOL& Pool, uint32_t ImageOffset, uint16_t HeaderSize,
                           int32_t HeaderTimeout, const TImageSizeRule& SizeRule, uint8_t* Dest,
                           uint32_t DestSize);
// Area base, the Size image bytes in chunks, then the commit; a failed chunk
// sends no commit. The caller clears its change mark on true.
bool WriteMemoryImage(TQV_DATAPOOL& Pool, uint32_t ImageOffset, const uint8_t* Image, uint32_t Size);
