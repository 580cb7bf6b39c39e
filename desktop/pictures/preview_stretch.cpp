// The preview stretch, see preview_stretch.h.
#include "preview_stretch.h"

#include <algorithm>
#include <array>
#include <climits>

namespace {

// The preview palette's distinct colours split into channels, each with its
// lowest position, sorted by red. The search starts at the entries whose red
// is nearest and stops on each side once the red difference alone exceeds
// the best distance found: exact, and far fewer entries than all 256.
struct TPaletteChannels {
  int Count = 0;
  int R[MaxPaletteEntries], G[MaxPaletteEntries], B[MaxPaletteEntries], Index[MaxPaletteEntries];
  explicit TPaletteChannels(const TLogPalette& P) {
    for (int i = 0; i < MaxPaletteEntries; ++i) {
      const TPaletteEntry& e = P.palPalEntry[i];
      bool seen = false;
      for (int k = 0; k < Count && !seen; ++k) seen = R[k] == e.peRed && G[k] == e.peGreen && B[k] == e.peBlue;
      if (seen) continue;
      // Insertion by red, equal reds in palette order.
      int at = Count++;
      for (; at > 0 && R[at - 1] > e.peRed; --at) R[at] = R[at - 1], G[at] = G[at - 1], B[at] = B[at - 1], Index[at] = Index[at - 1];
      R[at] = e.peRed, G[at] = e.peGreen, B[at] = e.peBlue, Index[at] = i;
    }
  }
  int Nearest(uint32_t Rgb) const {
    const int r = (Rgb >> 16) & 0xFF, g = (Rgb >> 8) & 0xFF, b = Rgb & 0xFF;
    int bestDistance = INT32_MAX, best = MaxPaletteEntries;
    const auto consider = [&](int k) {
      const int d = (R[k] - r) * (R[k] - r) + (G[k] - g) * (G[k] - g) + (B[k] - b) * (B[k] - b);
      if (d < bestDistance || (d == bestDistance && Index[k] < best)) bestDistance = d, best = Index[k];
    };
    const int start = static_cast<int>(std::lower_bound(R, R + Count, r) - R);
    for (int k = start; k < Count && (R[k] - r) * (R[k] - r) <= bestDistance; ++k) consider(k);
    for (int k = start - 1; k >= 0 && (r - R[k]) * (r - R[k]) <= bestDistance; --k) consider(k);
    return best;
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
