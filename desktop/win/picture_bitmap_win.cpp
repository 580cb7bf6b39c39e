// The editor's pictures as GDI bitmaps, see picture_bitmap_win.h.
#include "picture_bitmap_win.h"

#include "preview_stretch.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct TDibInfo {
  BITMAPINFOHEADER Header;
  RGBQUAD Colors[256];
};

// A top-down DIB section; Bits receives its pixel memory.
HBITMAP CreateDib(int Width, int Height, int Bits, const std::vector<TPaletteEntry>& Palette, void*& Pixels) {
  TDibInfo Info{};
  Info.Header.biSize = sizeof(BITMAPINFOHEADER);
  Info.Header.biWidth = Width;
  Info.Header.biHeight = -Height;
  Info.Header.biPlanes = 1;
  Info.Header.biBitCount = static_cast<WORD>(Bits);
  Info.Header.biCompression = BI_RGB;
  if (Bits == 8) {
    Info.Header.biClrUsed = 256;
    for (size_t I = 0; I < Palette.size() && I < 256; ++I)
      Info.Colors[I] = RGBQUAD{Palette[I].peBlue, Palette[I].peGreen, Palette[I].peRed, 0};
  }
  return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&Info), DIB_RGB_COLORS, &Pixels, nullptr, 0);
}

}  // namespace

HBITMAP CreateSourceBitmap(const TSourceImage& Image) {
  void* Pixels = nullptr;
  const int Bits = Image.HasIndices() ? 8 : 32;
  HBITMAP Bitmap = CreateDib(Image.Width, Image.Height, Bits, Image.Palette, Pixels);
  if (!Bitmap) return nullptr;
  const size_t Stride = (static_cast<size_t>(Image.Width) * Bits / 8 + 3) / 4 * 4;
  for (int Y = 0; Y < Image.Height; ++Y) {
    auto* Row = static_cast<uint8_t*>(Pixels) + Stride * static_cast<size_t>(Y);
    const size_t At = static_cast<size_t>(Y) * static_cast<size_t>(Image.Width);
    if (Bits == 8)
      std::memcpy(Row, Image.Indices.data() + At, static_cast<size_t>(Image.Width));
    else
      std::memcpy(Row, Image.Colors.data() + At, static_cast<size_t>(Image.Width) * 4);  // 0x00RRGGBB is BGRX
  }
  GdiFlush();
  return Bitmap;
}

void DrawSourceImage(HDC Dc, const TSourceImage& Image, const RECT& Area) {
  const int Left = std::max<int>(Area.left, 0), Right = std::min<int>(Area.right, Image.Width);
  const int Top = std::max<int>(Area.top, 0), Bottom = std::min<int>(Area.bottom, Image.Height);
  if (Left >= Right || Top >= Bottom) return;
  TDibInfo Info{};
  Info.Header.biSize = sizeof(BITMAPINFOHEADER);
  Info.Header.biWidth = Image.Width;
  Info.Header.biPlanes = 1;
  Info.Header.biCompression = BI_RGB;
  const uint8_t* Pixels;
  size_t RowBytes;
  if (Image.HasIndices()) {
    Info.Header.biBitCount = 8;
    Info.Header.biClrUsed = 256;
    for (size_t I = 0; I < Image.Palette.size() && I < 256; ++I)
      Info.Colors[I] = RGBQUAD{Image.Palette[I].peBlue, Image.Palette[I].peGreen, Image.Palette[I].peRed, 0};
    Pixels = Image.Indices.data();
    RowBytes = static_cast<size_t>(Image.Width);
  } else {
    Info.Header.biBitCount = 32;  // 0x00RRGGBB is BGRX
    Pixels = reinterpret_cast<const uint8_t*>(Image.Colors.data());
    RowBytes = static_cast<size_t>(Image.Width) * 4;
  }
  // A DIB's rows are padded to 4 bytes and the image's are not: rows that
  // are not a multiple of 4 go one at a time.
  const int Band = RowBytes % 4 == 0 ? Bottom - Top : 1;
  for (int Y = Top; Y < Bottom; Y += Band) {
    const int Rows = std::min(Band, Bottom - Y);
    Info.Header.biHeight = -Rows;
    SetDIBitsToDevice(Dc, Left, Y, static_cast<DWORD>(Right - Left), static_cast<DWORD>(Rows), Left, 0, 0,
                      static_cast<UINT>(Rows), Pixels + RowBytes * static_cast<size_t>(Y),
                      reinterpret_cast<BITMAPINFO*>(&Info), DIB_RGB_COLORS);
  }
}

HBITMAP CreatePreviewBitmap() {
  TBitmap Empty;
  Empty.SetSize(PreviewWidth, PreviewHeight);
  TLogPalette Palette;
  BuildDefaultPalette(Palette);
  Empty.SetPalette(Palette);
  void* Pixels = nullptr;
  HBITMAP Bitmap = CreateDib(PreviewWidth, PreviewHeight, 8, Empty.Palette(), Pixels);
  CopyPreview(Empty, Bitmap);
  return Bitmap;
}

void CopyPreview(const TBitmap& Preview, HBITMAP Target) {
  DIBSECTION Dib{};
  GetObjectA(Target, sizeof(Dib), &Dib);
  auto* Bits = static_cast<uint8_t*>(Dib.dsBm.bmBits);
  for (int Y = 0; Y < Preview.Height(); ++Y)
    std::memcpy(Bits + static_cast<size_t>(Dib.dsBm.bmWidthBytes) * Y, Preview.ScanLine(Y), static_cast<size_t>(Preview.Width()));
  RGBQUAD Colors[256] = {};
  const auto& P = Preview.Palette();
  for (size_t I = 0; I < P.size() && I < 256; ++I) Colors[I] = RGBQUAD{P[I].peBlue, P[I].peGreen, P[I].peRed, 0};
  HDC Mem = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Mem, Target);
  SetDIBColorTable(Mem, 0, 256, Colors);
  SelectObject(Mem, Old);
  DeleteDC(Mem);
}
