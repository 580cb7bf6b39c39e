// The picture loader's error: the file could not become a source picture.
// The editor shows its message in the standard error box and keeps the
// picture it had, so the message must say what was wrong with the file.
#pragma once

#include "stream.h"

class EInvalidGraphic : public EQVError {
 public:
  using EQVError::EQVError;
};

// A source larger than this many pixels is refused before anything is
// allocated for it: a JPEG header can promise any size without the data.
constexpr uint64_t MaxSourcePixels = uint64_t{1} << 26;
