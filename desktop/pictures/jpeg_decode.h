/* The JPEG decoding core, in C because libjpeg reports errors by longjmp:
 * the jump lands in QvDecodeJpeg's own frame, which holds no C++ object, so
 * no destructor is skipped and no C++ exception ever crosses libjpeg's C
 * frames. The C++ side (jpeg_reader.cpp) gives it two callbacks that must
 * not throw: one that makes room for the pixels and one for progress. */
#ifndef QV_JPEG_DECODE_H
#define QV_JPEG_DECODE_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

enum QvJpegStatus {
  QvJpegOk = 0,
  QvJpegLibraryError, /* Message holds libjpeg's own text */
  QvJpegUnsupportedComponents, /* Components holds the count */
  QvJpegTooLarge,
  QvJpegOutOfMemory,
  QvJpegTooManyScans /* Scans holds the scan that went past the bound */
};

/* Encoders write about ten scans for a colour picture (spectral selection
 * and successive approximation per component). Each scan costs a walk over
 * the whole picture, so a file that repeats a small scan thousands of times
 * keeps the window thread decoding for minutes; past this many it is
 * refused. */
enum { QvJpegMaxScans = 100 };

typedef struct QvJpegSink {
  void* Context;
  /* Room for Width x Height palette positions, top row first; NULL when
   * there is none. */
  unsigned char* (*Allocate)(void* Context, unsigned Width, unsigned Height);
  /* libjpeg's progress monitor, passed through unchanged. */
  void (*Progress)(void* Context, long PassCounter, long PassLimit, int CompletedPasses, int TotalPasses);
  unsigned long long MaxPixels;
} QvJpegSink;

typedef struct QvJpegResult {
  unsigned Width, Height;
  int Components;
  int Colors; /* entries of Colormap in use */
  int Scans;  /* with QvJpegTooManyScans */
  unsigned char Colormap[256][3];
  char Message[200];
} QvJpegResult;

/* Decodes to 8 bits per pixel with libjpeg's two-pass quantiser, at most
 * Colors colours, every other parameter at libjpeg's default. The
 * decompressor is destroyed on every path. */
enum QvJpegStatus QvDecodeJpeg(const unsigned char* Data, size_t Size, int Colors, QvJpegSink* Sink,
                               QvJpegResult* Result);

#ifdef __cplusplus
}
#endif

#endif
