// libjpeg reports a fatal error through error_exit, which by default ends the
// process; here it jumps back to the decode, which gives up without a picture.
#include "jpeg_win.h"

#include <csetjmp>
#include <cstdio>
#include <utility>

#include <jpeglib.h>

namespace {

struct TJpegError {
  jpeg_error_mgr Manager;
  jmp_buf Back;
};

void ErrorExit(j_common_ptr Info) { longjmp(reinterpret_cast<TJpegError*>(Info->err)->Back, 1); }

// Decodes into a top-down 24-bit DIB section; the locals that live across the
// jump are volatile or set before it.
HBITMAP Decode(const unsigned char* Bytes, unsigned long Size) {
  jpeg_decompress_struct Info;
  TJpegError Error;
  Info.err = jpeg_std_error(&Error.Manager);
  Error.Manager.error_exit = ErrorExit;
  HBITMAP volatile Picture = nullptr;
  if (setjmp(Error.Back)) {
    jpeg_destroy_decompress(&Info);
    if (Picture) DeleteObject(Picture);
    return nullptr;
  }
  jpeg_create_decompress(&Info);
  jpeg_mem_src(&Info, const_cast<unsigned char*>(Bytes), Size);
  jpeg_read_header(&Info, TRUE);
  Info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&Info);
  BITMAPINFO Header{};
  Header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Header.bmiHeader.biWidth = static_cast<LONG>(Info.output_width);
  Header.bmiHeader.biHeight = -static_cast<LONG>(Info.output_height);
  Header.bmiHeader.biPlanes = 1;
  Header.bmiHeader.biBitCount = 24;
  void* Bits = nullptr;
  Picture = CreateDIBSection(nullptr, &Header, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (!Picture) longjmp(Error.Back, 1);
  const size_t Stride = (Info.output_width * 3 + 3) & ~size_t{3};
  while (Info.output_scanline < Info.output_height) {
    unsigned char* Row = static_cast<unsigned char*>(Bits) + Stride * Info.output_scanline;
    JSAMPROW Rows[1] = {Row};
    jpeg_read_scanlines(&Info, Rows, 1);
    for (unsigned X = 0; X < Info.output_width; ++X) std::swap(Row[X * 3], Row[X * 3 + 2]);  // RGB to BGR
  }
  jpeg_finish_decompress(&Info);
  jpeg_destroy_decompress(&Info);
  return Picture;
}

}  // namespace

HBITMAP LoadJpegResource(const char* Name) {
  const HRSRC Info = FindResourceA(nullptr, Name, reinterpret_cast<LPCSTR>(RT_RCDATA));
  const HGLOBAL Loaded = Info ? LoadResource(nullptr, Info) : nullptr;
  const void* Bytes = Loaded ? LockResource(Loaded) : nullptr;
  if (!Bytes) return nullptr;
  return Decode(static_cast<const unsigned char*>(Bytes), SizeofResource(nullptr, Info));
}
