// Drawing the pool's bitmaps; see pool_bitmap_win.h. The pool keeps rows top
// first without padding; a device-independent bitmap wants rows padded to 4
// bytes, so the rows are copied once per drawing.
#include "pool_bitmap_win.h"

#include <cstring>
#include <vector>

namespace {

void DrawPoolBitmap(HDC Dc, const TBitmap& Bitmap, int X, int Y) {
  const int W = Bitmap.Width(), H = Bitmap.Height();
  if (W <= 0 || H <= 0) return;
  // A full table: positions beyond a short palette are black, as the pool's
  // own colour lookup has them.
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
  Info.Header.biClrUsed = MaxPaletteEntries;
  const std::vector<TPaletteEntry>& Palette = Bitmap.Palette();
  for (size_t I = 0; I < Palette.size() && I < static_cast<size_t>(MaxPaletteEntries); ++I)
    Info.Colors[I] = {Palette[I].peBlue, Palette[I].peGreen, Palette[I].peRed, 0};
  const size_t Stride = (static_cast<size_t>(W) + 3) & ~size_t{3};
  std::vector<uint8_t> Pixels(Stride * static_cast<size_t>(H));
  for (int Row = 0; Row < H; ++Row)
    std::memcpy(&Pixels[Stride * static_cast<size_t>(Row)], Bitmap.ScanLine(Row), static_cast<size_t>(W));
  SetDIBitsToDevice(Dc, X, Y, static_cast<DWORD>(W), static_cast<DWORD>(H), 0, 0, 0, static_cast<UINT>(H),
                    Pixels.data(), reinterpret_cast<const BITMAPINFO*>(&Info), DIB_RGB_COLORS);
}

}  // namespace

// Four fills give the same pixels as a 3-pixel pen centred on the outline
// 3 pixels outside the picture, square corners included.
void DrawFramedPicture(HDC Dc, const TBitmap& Bitmap, const TFramedPicture& Place, COLORREF Color) {
  const TRowRect& O = Place.Frame;
  const int T = FrameThickness;
  const RECT Sides[] = {{O.Left, O.Top, O.Right, O.Top + T},
                        {O.Left, O.Bottom - T, O.Right, O.Bottom},
                        {O.Left, O.Top + T, O.Left + T, O.Bottom - T},
                        {O.Right - T, O.Top + T, O.Right, O.Bottom - T}};
  HBRUSH Brush = CreateSolidBrush(Color);
  for (const RECT& Side : Sides) FillRect(Dc, &Side, Brush);
  DeleteObject(Brush);
  DrawPoolBitmap(Dc, Bitmap, Place.X, Place.Y);
}
