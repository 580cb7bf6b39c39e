// The preview stretch, see preview_stretch.h.
#include "preview_stretch.h"

#include <array>
#include <climits>

namespace {

// The preview palette's distinct colours split into channels, each with its
// lowest position, so that the search is a tight loop over as few entries
// as the palette really has (the default palette has 17).
struct TPaletteChannels {
  int Count = 0;
  int R[MaxPaletteEntries], G[MaxPaletteEntries], B[MaxPaletteEntries], Index[MaxPaletteEntries];
  explicit TPaletteChannels(const TLogPalette& P) {
    for (int i = 0; i < MaxPaletteEntries; ++i) {
      const TPaletteEntry& e = P.palPalEntry[i];
      bool seen = false;
      for (int k = 0; k < Count && !seen; ++k) seen = R[k] == e.peRed && G[k] == e.peGreen && B[k] == e.peBlue;
      if (seen) continue;
      R[Count] = e.peRed, G[Count] = e.peGreen, B[Count] = e.peBlue, Index[Count] = i;
      ++Count;
    }
  }
  int Nearest(uint32_t Rgb) const {
    const int r = (Rgb >> 16) & 0xFF, g = (Rgb >> 8) & 0xFF, b = Rgb & 0xFF;
    int best = 0, bestDistance = INT32_MAX;
    for (int k = 0; k < Count; ++k) {
      const int d = (R[k] - r) * (R[k] - r) + (G[k] - g) * (G[k] - g) + (B[k] - b) * (B[k] - b);
      if (d < bestDistance) bestDistance = d, best = k;
    }
    return Index[best];
  }
};

// Source positions of the preview's columns or rows; -1 outside the picture.
// 64-bit products: a frame can be as wide as any source.
template <int N>
std::array<int, N> SamplePositions(int Start, int Length, int Limit) {
  std::array<int, N> at{};
  for (int d = 0; d < N; ++d) {
    const int64_t s = Start + (2 * int64_t{d} + 1) * Length / (2 * N);
    at[d] = s >= 0 && s < Limit ? static_cast<int>(s) : -1;
  }
  return at;
}

}  // namespace

void StretchIntoPreview(const TSourceImage& Source, int Left, int Top, int Width, int Height,
                        const TLogPalette& Palette, TBitmap& Preview) {
  if (Preview.Width() != PreviewWidth || Preview.Height() != PreviewHeight) Preview.SetSize(PreviewWidth, PreviewHeight);
  const TPaletteChannels channels(Palette);
  const auto xs = SamplePositions<PreviewWidth>(Left, Width, Source.Width);
  const auto ys = SamplePositions<PreviewHeight>(Top, Height, Source.Height);
  const uint8_t black = static_cast<uint8_t>(channels.Nearest(0));

  // Palette sources repeat few colours: each source position is matched once.
  std::array<int16_t, 256> byIndex;
  byIndex.fill(-1);
  // True-colour sources: a small cache of recent matches, keyed by a hash.
  constexpr int CacheSize = 1024;
  std::array<uint32_t, CacheSize> cacheRgb;
  std::array<uint8_t, CacheSize> cacheIndex{};
  cacheRgb.fill(0xFFFFFFFFu);  // no colour has the top byte set

  for (int dy = 0; dy < PreviewHeight; ++dy) {
    uint8_t* out = Preview.ScanLine(dy);
    if (ys[dy] < 0) {
      std::fill(out, out + PreviewWidth, black);
      continue;
    }
    const size_t row = static_cast<size_t>(ys[dy]) * static_cast<size_t>(Source.Width);
    for (int dx = 0; dx < PreviewWidth; ++dx) {
      if (xs[dx] < 0) {
        out[dx] = black;
      } else if (Source.HasIndices()) {
        const uint8_t p = Source.Indices[row + xs[dx]];
        if (byIndex[p] < 0) byIndex[p] = static_cast<int16_t>(channels.Nearest(Source.ColorAt(xs[dx], ys[dy])));
        out[dx] = static_cast<uint8_t>(byIndex[p]);
      } else {
        const uint32_t rgb = Source.Colors[row + xs[dx]];
        const uint32_t slot = (rgb * 2654435761u) >> 22;
        if (cacheRgb[slot] != rgb) cacheRgb[slot] = rgb, cacheIndex[slot] = static_cast<uint8_t>(channels.Nearest(rgb));
        out[dx] = cacheIndex[slot];
      }
    }
  }
}
