// Drawing the pool's bitmaps; see pool_bitmap_win.h. The pool keeps rows top
// first without padding; a device-independent bitmap wants rows padded to 4
// bytes, so the rows are copied once per drawing.
#include "pool_bitmap_win.h"

#include <cstring>
#include <vector>

void DrawPoolBitmap(HDC Dc, const TBitmap& Bitmap, int X, int Y) {
  const int W = Bitmap.Width(), H = Bitmap.Height();
  if (W <= 0 || H <= 0) return;
  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[MaxPaletteEntries];
  } Info{};
  Info.Header.biSize = sizeof(BITMAPINFOHEADER);
  Info.Header.biWidth = W;
  Info.Header.biHeight = -H;  // top row first, as the pool keeps them
  Info.Header.biPlanes = 1;
  Info.Header.biBitCount = 8;
  Info.Header.biCompression = BI_RGB;
  const std::vector<TPaletteEntry>& Palette = Bitmap.Palette();
  Info.Header.biClrUsed = static_cast<DWORD>(Palette.size());
  for (size_t I = 0; I < Palette.size(); ++I)
    Info.Colors[I] = {Palette[I].peBlue, Palette[I].peGreen, Palette[I].peRed, 0};
  const size_t Stride = (static_cast<size_t>(W) + 3) & ~size_t{3};
  std::vector<uint8_t> Pixels(Stride * static_cast<size_t>(H));
  for (int Row = 0; Row < H; ++Row)
    std::memcpy(&Pixels[Stride * static_cast<size_t>(Row)], Bitmap.ScanLine(Row), static_cast<size_t>(W));
  SetDIBitsToDevice(Dc, X, Y, static_cast<DWORD>(W), static_cast<DWORD>(H), 0, 0, 0, static_cast<UINT>(H),
                    Pixels.data(), reinterpret_cast<const BITMAPINFO*>(&Info), DIB_RGB_COLORS);
}
