// Feeds arbitrary bytes to the packed-picture decoder as a phone's slot answer
// would. An accepted picture must have the header's size, a full palette and
// exactly the pixel bytes that follow the palette records; packing it again
// must give the same header sizes and pixels.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "byte_order.h"
#include "qvdp_pictures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  // A buffer of exactly Size bytes, so that any read beyond it is caught.
  const std::vector<uint8_t> packed(Data, Data + Size);
  TBitmap bitmap;
  if (!TQVDP_PICTURES::UnpackPicture(packed.data(), packed.size(), bitmap)) return 0;
  const int width = GetU16(packed.data());
  const int height = GetU16(packed.data() + 2);
  const int n = GetU16(packed.data() + 4);
  if (bitmap.Width() != width || bitmap.Height() != height || bitmap.Palette().size() != 256) abort();
  const size_t pixelsAt = PictureHeaderSize + (n >= 2 ? 4 * static_cast<size_t>(n) : 0);
  for (int row = 0; row < height; ++row)
    if (std::memcmp(bitmap.ScanLine(row), packed.data() + pixelsAt + static_cast<size_t>(row) * width, width) != 0)
      abort();

  std::vector<uint8_t> again(static_cast<size_t>(TQVDP_PICTURES::PackedSize(&bitmap)));
  if (again.size() < PictureHeaderSize) abort();
  TQVDP_PICTURES::PackPicture(&bitmap, again.data());
  if (std::memcmp(again.data(), packed.data(), 4) != 0) abort();
  const size_t againPixels = again.size() - static_cast<size_t>(width) * height;
  if (std::memcmp(again.data() + againPixels, packed.data() + pixelsAt, static_cast<size_t>(width) * height) != 0)
    abort();
  return 0;
}
