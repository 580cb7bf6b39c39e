// Run-length-encoded BMP pixels, see bmp_rle.h.
#include "bmp_rle.h"

#include "picture_error.h"
#include "pool_texts.h"

namespace {

// Where the next pixel goes: x counts on past the row's end (a run there is
// dropped), y counts rows from the bottom as the file stores them.
class TRleCursor {
 public:
  explicit TRleCursor(TSourceImage& Image) : FImage(Image) {}
  bool InPicture() const { return FY < FImage.Height; }
  void Put(uint8_t Index) {
    if (FX < FImage.Width && InPicture())
      FImage.Indices[static_cast<size_t>(FImage.Height - 1 - FY) * static_cast<size_t>(FImage.Width) +
                     static_cast<size_t>(FX)] = Index;
    ++FX;
  }
  void EndOfLine() { FX = 0, ++FY; }
  void Move(int Dx, int Dy) { FX += Dx, FY += Dy; }

 private:
  TSourceImage& FImage;
  int64_t FX = 0, FY = 0;
};

}  // namespace

void DecodeBmpRle(const uint8_t* Data, size_t Size, int Bits, TSourceImage& Image) {
  const auto need = [&](size_t At, size_t Count) {
    if (Count > Size || At > Size - Count) throw EInvalidGraphic(PoolText(InvalidBitmapTextId));
  };
  // The pixel Nth of a run whose bytes are Pair: RLE4 alternates the high and
  // the low nibble.
  const auto pixel = [Bits](uint8_t Pair, int N) -> uint8_t {
    return Bits == 8 ? Pair : (N & 1) ? (Pair & 15) : (Pair >> 4);
  };
  TRleCursor cursor(Image);
  size_t at = 0;
  // A picture whose codes end without the end-of-bitmap code keeps what they
  // drew, as the platform's loader does.
  while (at < Size && cursor.InPicture()) {
    need(at, 2);
    const int count = Data[at], value = Data[at + 1];
    at += 2;
    if (count > 0) {  // encoded run: Count pixels of Value
      for (int n = 0; n < count; ++n) cursor.Put(pixel(static_cast<uint8_t>(value), n));
    } else if (value == 0) {
      cursor.EndOfLine();
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      need(at, 2);
      cursor.Move(Data[at], Data[at + 1]);
      at += 2;
    } else {  // absolute run: Value pixels follow, padded to a 16-bit boundary
      const size_t bytes = Bits == 8 ? static_cast<size_t>(value) : (static_cast<size_t>(value) + 1) / 2;
      need(at, bytes);
      for (int n = 0; n < value; ++n) cursor.Put(pixel(Data[at + (Bits == 8 ? n : n / 2)], n));
      at += (bytes + 1) & ~size_t{1};
    }
  }
}
