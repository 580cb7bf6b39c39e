/* The JPEG decoding core, see jpeg_decode.h. */
#include "jpeg_decode.h"

#include <setjmp.h>
#include <stdio.h>
#include <string.h>

#include <jpeglib.h>

typedef struct {
  struct jpeg_error_mgr Base;
  jmp_buf Jump;
} ErrorManager;

typedef struct {
  struct jpeg_progress_mgr Base;
  QvJpegSink* Sink;
  QvJpegResult* Result;
} ProgressManager;

/* libjpeg's default ends the process; this one returns to QvDecodeJpeg. */
static void ErrorExit(j_common_ptr Info) {
  ErrorManager* err = (ErrorManager*)Info->err;
  longjmp(err->Jump, 1);
}

/* Warnings (a file cut short, corrupt data that libjpeg can step over) are
 * what libjpeg's own tools accept too: the picture decodes with grey where
 * data is missing. */
static void OutputMessage(j_common_ptr Info) { (void)Info; }

/* libjpeg calls it before every step of its input, a new scan's start
 * included; the bound is checked there. */
static void Progress(j_common_ptr Info) {
  ProgressManager* p = (ProgressManager*)Info->progress;
  const int scan = ((j_decompress_ptr)Info)->input_scan_number;
  if (scan > QvJpegMaxScans) {
    p->Result->Scans = scan;
    longjmp(((ErrorManager*)Info->err)->Jump, 1);
  }
  p->Sink->Progress(p->Sink->Context, p->Base.pass_counter, p->Base.pass_limit, p->Base.completed_passes,
                    p->Base.total_passes);
}

enum QvJpegStatus QvDecodeJpeg(const unsigned char* Data, size_t Size, int Colors, QvJpegSink* Sink,
                               QvJpegResult* Result) {
  struct jpeg_decompress_struct info;
  ErrorManager err;
  ProgressManager progress;
  /* volatile: read after a longjmp out of libjpeg. */
  volatile enum QvJpegStatus status = QvJpegLibraryError;

  memset(Result, 0, sizeof *Result);
  info.err = jpeg_std_error(&err.Base);
  err.Base.error_exit = ErrorExit;
  err.Base.output_message = OutputMessage;
  if (setjmp(err.Jump)) {
    if (Result->Scans > QvJpegMaxScans) status = QvJpegTooManyScans;
    if (status == QvJpegLibraryError) err.Base.format_message((j_common_ptr)&info, Result->Message);
    jpeg_destroy_decompress(&info);
    return status;
  }
  jpeg_create_decompress(&info);
  progress.Base.progress_monitor = Progress;
  progress.Sink = Sink;
  progress.Result = Result;
  info.progress = &progress.Base;
  jpeg_mem_src(&info, Data, (unsigned long)Size);
  jpeg_read_header(&info, TRUE);

  Result->Width = info.image_width;
  Result->Height = info.image_height;
  Result->Components = info.num_components;
  /* A 2- or 4-component file (CMYK, YCCK) would give a colour map of as many
   * rows, not red, green and blue. */
  if (info.num_components != 1 && info.num_components != 3) {
    status = QvJpegUnsupportedComponents;
    longjmp(err.Jump, 1);
  }
  if ((unsigned long long)info.image_width * info.image_height > Sink->MaxPixels) {
    status = QvJpegTooLarge;
    longjmp(err.Jump, 1);
  }
  info.quantize_colors = TRUE;
  info.desired_number_of_colors = Colors;
  jpeg_start_decompress(&info);

  {
    unsigned char* pixels = Sink->Allocate(Sink->Context, info.output_width, info.output_height);
    size_t stride = info.output_width;
    int i;
    if (!pixels) {
      status = QvJpegOutOfMemory;
      longjmp(err.Jump, 1);
    }
    while (info.output_scanline < info.output_height) {
      JSAMPROW rows[4];
      JDIMENSION n = info.output_height - info.output_scanline;
      if (n > 4) n = 4;
      for (i = 0; i < (int)n; ++i) rows[i] = pixels + (size_t)(info.output_scanline + (JDIMENSION)i) * stride;
      jpeg_read_scanlines(&info, rows, n);
    }
    Result->Colors = info.actual_number_of_colors;
    for (i = 0; i < info.actual_number_of_colors && i < 256; ++i) {
      int c;
      for (c = 0; c < 3; ++c) Result->Colormap[i][c] = info.colormap[info.out_color_components == 1 ? 0 : c][i];
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return QvJpegOk;
}
