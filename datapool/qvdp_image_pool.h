// TQVDP_IMAGEPOOL, what the language and the ring-tone pools share: a raw
// memory image of the phone, read and written back unchanged, stored in the
// data file, and parsed only to offer names.
//
// The two pools differ only in where their image lies, how it is parsed and
// what follows a write (the language re-select), so the transfer and the
// data-file section live here once.
#pragma once

#include <cstdint>
#include <vector>

#include "image_parsers.h"
#include "qv_datapool.h"

constexpr int32_t ImageHeaderTimeout = 2000;

class TQVDP_IMAGEPOOL : public TQV_DATAPOOL {
 public:
  bool LoadFromStream(TStream& Stream) override;
  bool SaveToStream(TStream& Stream) override;
  bool ReadFromPhone() override;
  bool WriteToPhone(bool OnlyChanged) override;

  // Rebuilds the pool's lists from FImage; an image whose records do not
  // parse leaves them empty.
  virtual void ParseImage() = 0;

  // The raw image, MaxImageSize bytes; after Clear its first 8 bytes are 0.
  std::vector<uint8_t> FImage;

 protected:
  TQVDP_IMAGEPOOL(TQVDP_ALL* AOwner, TPoolIndex Index, uint32_t ImageOffset);
  // Zeroes the header bytes (signature, Length, Count, first table word).
  void ClearImage();
  // The image's size as stored and sent: Length + 2, never past the buffer.
  uint32_t ImageBytes() const;
  // Runs after the image has been written and committed; its result is the write's.
  virtual bool AfterImageWritten() { return true; }

 private:
  uint32_t FImageOffset;
};
