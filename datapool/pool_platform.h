// The data pool's thin seam to the platform: the link library's SendPacket and
// GetActiveLink, the screen cursor, the resource texts, and the PC speaker.
//
// The pools are portable code, so they never call Windows or the link library
// themselves. The desktop program installs its Win32 implementation once at
// start; tests install a double. Until one is installed the built-in default
// stands in: no phone is attached, every request fails, the cursor and the
// speaker do nothing, and the texts are the built-in German ones.
#pragma once

#include <cstdint>
#include <string>

#include "protocol.h"

// The link library's TLinkKind as GetActiveLink returns it; the pools only
// ask whether it is lkNone.
constexpr int LinkKindNone = 0;

enum class TPoolCursor { Default, HourGlass };

class TPoolPlatform {
 public:
  virtual ~TPoolPlatform() = default;
  // The link library's SendPacket: true when the answer has been copied over
  // Packet; a Timeout of 0 only sends.
  virtual bool SendPacket(TProtPacket& Packet, int32_t Timeout) = 0;
  virtual int GetActiveLink() = 0;
  virtual void SetCursor(TPoolCursor Cursor) = 0;
  // A user-visible text by its resource number, in code page 1252; a language
  // module may replace the built-in German text.
  virtual std::string ResourceText(int Id) = 0;
  virtual void Beep(uint32_t Frequency, uint32_t DurationMs) = 0;
  virtual void Sleep(uint32_t DurationMs) = 0;
};

// The platform that the pools use; never null.
TPoolPlatform& PoolPlatform();
// Installs Platform (not owned) and returns the previous one; nullptr puts the
// built-in default back.
TPoolPlatform* SetPoolPlatform(TPoolPlatform* Platform);
