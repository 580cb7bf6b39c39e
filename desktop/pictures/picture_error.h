// The picture loader's error: the file could not become a source picture.
// The editor shows its message in the standard error box and keeps the
// picture it had, so the message must say what was wrong with the file.
#pragma once

#include <cstdint>
#include <string>

#include "pool_texts.h"
#include "stream.h"

class EInvalidGraphic : public EQVError {
 public:
  using EQVError::EQVError;
};

// A source larger than this many pixels is refused before anything is
// allocated for it: a JPEG header can promise any size without the data.
constexpr uint64_t MaxSourcePixels = uint64_t{1} << 26;

// A picture whose pixels find no room: the user learns the size that did
// not fit, not the allocator's own word.
inline std::string OutOfMemoryText(uint64_t Width, uint64_t Height) {
  return FormatText(PoolText(PictureOutOfMemoryTextId), std::to_string(Width) + " x " + std::to_string(Height));
}
