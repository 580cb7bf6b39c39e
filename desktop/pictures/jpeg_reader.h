// JPEG files as editor sources: 8 bits per pixel, at most 236 colours from
// libjpeg's two-pass quantiser (so there is room for the phone's 16 fixed
// colours and black behind them), with progress reports while decoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "picture_error.h"
#include "source_image.h"

enum class TProgressStage { Starting, Running, Ending };
// Must not throw: it runs inside libjpeg's frames.
using TPictureProgress = std::function<void(TProgressStage Stage, int Percent)>;

constexpr int JpegColors = 236;
// Running reports come at most this often: each one repaints the status line.
constexpr int ProgressIntervalMs = 500;

// Raises EInvalidGraphic with the cause when libjpeg refuses the file, the
// file has other than 1 or 3 components, or the picture is too large. The
// end report comes on every path.
TSourceImage ReadJpegPicture(const uint8_t* Data, size_t Size, const TPictureProgress& Progress,
                             uint64_t MaxPixels = MaxSourcePixels);
