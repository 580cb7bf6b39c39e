// The shared part of the language and ring-tone pools, see qvdp_image_pool.h;
// their data-file section is in qvdp_image_pool_section.cpp.
//
// Whatever comes from the phone is collected in a buffer of its own and
// checked before it replaces the pool's image, so a transfer that stops
// half-way, or an image that changed between its header read and its first
// chunk, leaves the previous image in place, never new bytes mixed with old
// ones.
#include "qvdp_image_pool.h"

#include <algorithm>

#include "byte_order.h"
#include "memory_image.h"

TQVDP_IMAGEPOOL::TQVDP_IMAGEPOOL(TQVDP_ALL* AOwner, TPoolIndex Index, uint32_t ImageOffset)
    : TQV_DATAPOOL(AOwner), FImage(MaxImageSize, 0), FImageOffset(ImageOffset) {
  FIndex = Index;
}

void TQVDP_IMAGEPOOL::ClearImage() { std::fill_n(FImage.begin(), ImageHeaderSize, 0); }

uint32_t TQVDP_IMAGEPOOL::ImageBytes() const { return std::min(ImageTotal(FImage.data()), MaxImageSize); }

namespace {

// Signature and a Count above 0: an image with records to read.
bool HasRecords(const uint8_t* Header) { return GetU16(Header) == ImageSignature && GetU16(Header + 4) != 0; }

}  // namespace

bool TQVDP_IMAGEPOOL::ReadFromPhone() {
  // The header the phone sent, judged after the read so that the pool is
  // touched only once the whole answer is known.
  uint8_t header[ImageHeaderSize];
  bool headerRead = false;
  const auto sizeRule = [&header, &headerRead](const uint8_t* Header) -> uint32_t {
    std::copy_n(Header, ImageHeaderSize, header);
    headerRead = true;
    return HasRecords(Header) ? ImageTotal(Header) : 0;
  };
  std::vector<uint8_t> image(MaxImageSize, 0);
  const TImageRead read =
      ReadMemoryImage(*this, FImageOffset, ImageHeaderSize, ImageHeaderTimeout, sizeRule, image.data(), MaxImageSize);

  // No area base or no header: the pool is untouched.
  if (!headerRead) return false;
  // A Length beyond the buffer cannot be read; the pool stays as it is rather
  // than become empty, which a later write would carry to the phone.
  if (HasRecords(header) && ImageTotal(header) > MaxImageSize) return false;
  // No signature or no records: the phone has no image, and neither has the pool.
  if (read == TImageRead::Invalid) {
    Clear();
    FChanged = false;
    Changed();
    return true;
  }
  // A chunk cut off, or a first chunk whose header is not the one judged (the
  // image changed between the two reads): the pool keeps its previous image,
  // so that a later write sends the phone what it had, and never a Length
  // that covers bytes that were not read.
  if (read == TImageRead::Failed || !std::equal(header, header + ImageHeaderSize, image.begin())) return false;

  FImage = std::move(image);
  ParseImage();  // a broken image is kept as the phone's, just not listed
  FChanged = false;
  Changed();
  return true;
}

bool TQVDP_IMAGEPOOL::WriteToPhone(bool OnlyChanged) {
  if (OnlyChanged && !FChanged) return true;
  if (!WriteMemoryImage(*this, FImageOffset, FImage.data(), ImageBytes())) return false;
  const bool result = AfterImageWritten();
  FChanged = false;
  return result;
}
