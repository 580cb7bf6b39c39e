// JPEG files as editor sources, see jpeg_reader.h.
#include "jpeg_reader.h"

#include <chrono>
#include <new>
#include <string>

#include "jpeg_decode.h"
#include "pool_texts.h"
#include "stream.h"

namespace {

using TClock = std::chrono::steady_clock;

struct TDecodeTarget {
  TSourceImage* Image;
  const TPictureProgress* Progress;
  TClock::time_point LastReport;
  int LastPercent;
};

extern "C" unsigned char* AllocatePixels(void* Context, unsigned Width, unsigned Height) {
  auto* t = static_cast<TDecodeTarget*>(Context);
  try {
    t->Image->Indices.resize(static_cast<size_t>(Width) * Height);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return t->Image->Indices.data();
}

extern "C" void ReportProgress(void* Context, long PassCounter, long PassLimit, int CompletedPasses, int TotalPasses) {
  auto* t = static_cast<TDecodeTarget*>(Context);
  if (PassLimit <= 0 || TotalPasses <= 0) return;
  const int percent = static_cast<int>(100 * (static_cast<int64_t>(CompletedPasses) * PassLimit + PassCounter) /
                                       (static_cast<int64_t>(PassLimit) * TotalPasses));
  const auto now = TClock::now();
  if (percent == t->LastPercent || now - t->LastReport < std::chrono::milliseconds(ProgressIntervalMs)) return;
  t->LastReport = now;
  t->LastPercent = percent;
  (*t->Progress)(TProgressStage::Running, percent);
}

std::string SizeText(const QvJpegResult& Result) {
  return std::to_string(Result.Width) + " x " + std::to_string(Result.Height);
}

std::string Describe(QvJpegStatus Status, const QvJpegResult& Result) {
  switch (Status) {
    case QvJpegUnsupportedComponents:
      return FormatText(PoolText(JpegComponentsTextId), std::to_string(Result.Components));
    case QvJpegTooLarge: return FormatText(PoolText(JpegTooLargeTextId), SizeText(Result));
    case QvJpegOutOfMemory: return FormatText(PoolText(JpegOutOfMemoryTextId), SizeText(Result));
    case QvJpegTooManyScans: return FormatText(PoolText(JpegTooManyScansTextId), std::to_string(QvJpegMaxScans));
    default: return FormatText(PoolText(JpegErrorTextId), Result.Message);
  }
}

}  // namespace

TSourceImage ReadJpegPicture(const uint8_t* Data, size_t Size, const TPictureProgress& Progress, uint64_t MaxPixels) {
  TSourceImage image;
  TDecodeTarget target{&image, &Progress, TClock::now(), 0};
  QvJpegSink sink{&target, AllocatePixels, ReportProgress, MaxPixels};
  QvJpegResult result;
  Progress(TProgressStage::Starting, 0);
  const QvJpegStatus status = QvDecodeJpeg(Data, Size, JpegColors, &sink, &result);
  Progress(TProgressStage::Ending, 100);
  if (status != QvJpegOk) throw EInvalidGraphic(Describe(status, result));
  image.Width = static_cast<int>(result.Width);
  image.Height = static_cast<int>(result.Height);
  image.BitsPerPixel = 8;
  for (int i = 0; i < result.Colors; ++i)
    image.Palette.push_back(TPaletteEntry{result.Colormap[i][0], result.Colormap[i][1], result.Colormap[i][2], 0});
  return image;
}
