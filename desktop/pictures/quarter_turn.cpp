// The quarter turn, see quarter_turn.h.
#include "quarter_turn.h"

#include <algorithm>

namespace {

// Square blocks keep both the rows read and the rows written in the cache.
constexpr int Block = 64;

template <typename T>
void Turn(const std::vector<T>& From, std::vector<T>& To, int W, int H, const TTurnProgress& Progress) {
  To.resize(From.size());
  const size_t w = static_cast<size_t>(W), h = static_cast<size_t>(H);
  for (int i0 = 0; i0 < W; i0 += Block) {
    const int i1 = std::min(W, i0 + Block);
    for (int j0 = 0; j0 < H; j0 += Block) {
      const int j1 = std::min(H, j0 + Block);
      for (int i = i0; i < i1; ++i) {
        T* out = To.data() + static_cast<size_t>(i) * h + (h - 1);
        const T* in = From.data() + i;
        for (int j = j0; j < j1; ++j) out[-j] = in[static_cast<size_t>(j) * w];
      }
    }
    if (Progress) Progress(i1);
  }
}

}  // namespace

TSourceImage TurnQuarterClockwise(const TSourceImage& Source, const TTurnProgress& Progress) {
  TSourceImage target;
  target.Width = Source.Height;
  target.Height = Source.Width;
  target.BitsPerPixel = Source.BitsPerPixel;
  target.Palette = Source.Palette;
  if (Source.HasIndices())
    Turn(Source.Indices, target.Indices, Source.Width, Source.Height, Progress);
  else
    Turn(Source.Colors, target.Colors, Source.Width, Source.Height, Progress);
  return target;
}
