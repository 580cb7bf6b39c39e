// The picture editor's image side, see pic_engine.h.
#include "pic_engine.h"

#include <algorithm>

namespace {

constexpr int LastSourcePaletteEntry = 238;  // 239 is black, 240..255 the fixed colours

// The frame height that keeps the preview's proportions. 64-bit: the width
// can be any source width.
int64_t HeightFor(int64_t Width) { return int64_t{PreviewHeight} * Width / PreviewWidth; }

}  // namespace

TPicCreatorEngine::TPicCreatorEngine() {
  BuildDefaultPalette(FPreviewPalette);
  FPreview.SetSize(PreviewWidth, PreviewHeight);
  FPreview.SetPalette(FPreviewPalette);
}

void TPicCreatorEngine::LoadSource(TSourceImage Image) {
  FSource = std::move(Image);
  FrameWidth = std::min(FSource.Width, PreviewWidth);
  FrameHeight = std::min(FSource.Height, PreviewHeight);
  if (FSource.BitsPerPixel == 1 || FSource.BitsPerPixel == 4) {
    BuildDefaultPalette(FPreviewPalette);
    FPreview.SetPalette(FPreviewPalette);
  } else {
    TakeSourcePalette();
  }
}

void TPicCreatorEngine::FitTrackBarToSource() {
  SetTrackBarMax(FSource.Width);
  SetTrackBarPosition(FrameWidth);
}

bool TPicCreatorEngine::TakeSourcePalette() {
  const int count = std::min<int>(static_cast<int>(FSource.Palette.size()), LastSourcePaletteEntry + 1);
  if (count == 0) return false;
  TLogPalette palette;
  BuildDefaultPalette(palette);
  std::copy(FSource.Palette.begin(), FSource.Palette.begin() + count, palette.palPalEntry);
  for (int i = 0; i < count; ++i) palette.palPalEntry[i].peFlags = 0;
  FPreviewPalette = palette;
  FPreview.SetPalette(FPreviewPalette);
  return true;
}

void TPicCreatorEngine::UpdatePreview() {
  if (FSource.Empty()) return;
  StretchIntoPreview(FSource, FrameCenterX - FrameWidth / 2, FrameCenterY - FrameHeight / 2, FrameWidth, FrameHeight,
                     FPreviewPalette, FPreview);
}

TFramePlacement TPicCreatorEngine::PlaceFrame(int CenterX, int CenterY) {
  const int hw = FrameWidth / 2, hh = FrameHeight / 2;
  // 64-bit: a centre far off the picture must not wrap around.
  int64_t left = int64_t{CenterX} - hw, top = int64_t{CenterY} - hh;
  if (left < 0) left = 0;
  if (left + FrameWidth > FSource.Width) left = int64_t{FSource.Width} - FrameWidth;
  if (top < 0) top = 0;
  if (top + FrameHeight > FSource.Height) top = int64_t{FSource.Height} - FrameHeight;
  FrameCenterX = static_cast<int>(left + hw);
  FrameCenterY = static_cast<int>(top + hh);
  return {static_cast<int>(left), static_cast<int>(top)};
}

void TPicCreatorEngine::ResizeFrame(int Delta) {
  const int64_t width = int64_t{FrameWidth} + Delta;
  const int64_t height = HeightFor(width);
  if (width >= 0 && height >= 0 && width <= FSource.Width && height <= FSource.Height) {
    FrameWidth = static_cast<int>(width);
    FrameHeight = static_cast<int>(height);
  } else {
    FrameHeight = static_cast<int>(HeightFor(FrameWidth));
  }
  SetTrackBarPosition(FrameWidth);
}

void TPicCreatorEngine::SetTrackBarMax(int Value) {
  if (Value < FTrackBar.Min) return;
  FTrackBar.Max = Value;
  if (OnTrackBarChanged) OnTrackBarChanged(FTrackBar);
  SetTrackBarPosition(FTrackBar.Position);
}

void TPicCreatorEngine::SetTrackBarPosition(int Value) {
  const int clamped = std::clamp(Value, FTrackBar.Min, FTrackBar.Max);
  if (clamped == FTrackBar.Position) return;
  FTrackBar.Position = clamped;
  if (OnTrackBarChanged) OnTrackBarChanged(FTrackBar);
  TrackBarChange();
}

void TPicCreatorEngine::TrackBarChange() { ResizeFrame(FTrackBar.Position - FrameWidth); }

void TPicCreatorEngine::TakeTurnedSource(TSourceImage Turned) {
  SetTrackBarMax(FSource.Height);
  FSource = std::move(Turned);
}
