// Types that the data pool shares with its callers: the pool indexes, the
// three event types of the owner, and the data file's header record.
//
// The events are plain std::function values: the user interface binds one of
// its methods (a lambda capturing the window), tests bind recorders. An empty
// function is an unassigned event, which is what every event is after the
// owner's construction.
#pragma once

#include <cstdint>
#include <functional>

#include "protocol.h"

class TQVDP_ALL;

// Indexes the six pools in TQVDP_ALL::Pools, in change announcements, in
// progress reports and in the data file's sections; piNone only ends a write's
// progress and marks a pool whose own constructor has not run yet.
enum TPoolIndex : uint8_t {
  piPhonebook1 = 0,
  piPhonebook2 = 1,
  piPictures = 2,
  piConfig = 3,
  piLanguage = 4,
  piRingtones = 5,
  piNone = 6,
};
constexpr int PoolCount = 6;  // piPhonebook1 .. piRingtones

// Progress of ReadAll and WriteAll: the pool about to be transferred and how
// far the whole transfer has come, 0 to 100.
using TPoolProgressEvent = std::function<void(TQVDP_ALL* Sender, TPoolIndex Index, int Percent)>;
// A pool's data changed; the listener rebuilds what shows that pool.
using TPoolChangeEvent = std::function<void(TQVDP_ALL* Sender, TPoolIndex Index)>;
// Replaces the link library's SendPacket with the same meaning: true when the
// request was answered and the answer copied over Packet.
using TSendPacketEvent = std::function<bool(TQVDP_ALL* Sender, TProtPacket& Packet, int32_t Timeout)>;

constexpr uint32_t DataFileMagic = 0x23F2AC9C;
constexpr uint32_t ProgramVersion = 0x56010004;  // shown as V1.04

// The data file's first 16 bytes; the owner keeps the header of the file it
// loaded or saved last.
#pragma pack(push, 1)
struct TDataFileHeader {
  uint32_t Magic;
  double SavedAt;  // local time, days since 30 December 1899
  uint32_t Version;
};
#pragma pack(pop)
static_assert(sizeof(TDataFileHeader) == 16, "the data file header is 16 bytes on disk");
