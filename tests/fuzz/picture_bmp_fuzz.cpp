// Feeds arbitrary bytes to the picture editor's BMP reader, as a file the
// user opens, run-length-encoded ones included (the rle* seeds). An accepted
// file must give a picture whose pixel arrays match its size and whose
// palette positions fit the file's depth; a refusal must be the reader's own
// error.
#include <cstdlib>

#include "bmp_reader.h"
#include "picture_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TSourceImage image;
  try {
    image = ReadBmpPicture(Data, Size);
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  const size_t expected = image.PixelCount();
  if (image.Width <= 0 || image.Height <= 0) abort();
  if ((image.HasIndices() ? image.Indices.size() : image.Colors.size()) != expected) abort();
  if (image.Palette.size() > 256) abort();
  for (size_t i = 0; image.BitsPerPixel < 8 && i < image.Indices.size(); ++i)
    if (image.Indices[i] >> image.BitsPerPixel) abort();
  volatile uint32_t sink = image.ColorAt(image.Width - 1, image.Height - 1);
  (void)sink;
  return 0;
}
