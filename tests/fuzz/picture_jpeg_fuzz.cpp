// Feeds arbitrary bytes to the picture editor's JPEG path (libjpeg with our
// error handler and the two-pass quantiser). Every input must end in a picture
// or in the loader's error, with the progress reports bracketing it; libjpeg
// must never end the process. Pictures are capped small so that a header
// promising a large picture costs the fuzzer no time.
#include <cstdlib>

#include "jpeg_reader.h"
#include "picture_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  int starts = 0, ends = 0;
  const TPictureProgress progress = [&](TProgressStage Stage, int Percent) {
    if (Percent < 0 || Percent > 100) abort();
    starts += Stage == TProgressStage::Starting;
    ends += Stage == TProgressStage::Ending;
  };
  try {
    const TSourceImage image = ReadJpegPicture(Data, Size, progress, 1 << 18);
    if (image.Indices.size() != image.PixelCount() || image.Palette.size() > JpegColors) abort();
    for (uint8_t p : image.Indices)
      if (p >= image.Palette.size()) abort();
  } catch (const EInvalidGraphic&) {
  }
  if (starts != 1 || ends != 1) abort();
  return 0;
}
