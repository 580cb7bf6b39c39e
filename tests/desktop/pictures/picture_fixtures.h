// Generated editor sources: BMP files of every depth and header kind written
// here byte by byte, and JPEG files made by libjpeg's own compressor.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "pic_engine.h"
#include "source_image.h"

struct TBmpFormat {
  int Bits = 24;
  int HeaderSize = 40;  // 12 (core), 40, 108 (V4), 124 (V5)
  bool TopDown = false;
  bool BitFields = false;  // 16 and 32 bits: masks given below
  uint32_t Masks[3] = {0, 0, 0};
  int ColorsUsed = 0;  // palette pictures: 0 writes a full table
};

// Image holds what the file shall contain: palette positions and a palette
// for 1..8 bits, raw pixel values (16 bits) or 0x00RRGGBB colours otherwise.
std::vector<uint8_t> WriteBmp(const TBmpFormat& Format, const TSourceImage& Image);

// A picture of W x H with a pattern that depends on x and y: palette
// positions below Colors with a palette of Colors entries, or colours.
TSourceImage PatternImage(int W, int H, int Bits, int Colors = 0);

enum class TJpegKind { Baseline, Progressive, Grey, TwoComponents, Cmyk, Ycck };
// A photo-like W x H JPEG (smooth gradients, edges and noise), 4:2:0 for
// colour kinds.
std::vector<uint8_t> MakeJpeg(int W, int H, TJpegKind Kind, int Quality = 90);
// A valid 16 x 16 baseline file whose frame header promises 60000 x 60000
// pixels, cut after its scan header: all headers, no data.
std::vector<uint8_t> MakeJpegWithHugeHeader();

// Jpeg (a progressive file) with its last scan written Times more before
// the end of the image: a valid file as libjpeg reads it, one scan more each.
std::vector<uint8_t> WithLastScanRepeated(const std::vector<uint8_t>& Jpeg, int Times);
// The scans of a progressive colour file of MakeJpeg.
constexpr int ProgressiveColourScans = 10;

// A load as the editor runs it, for tests of the engine alone: the source
// control's repaint clamps the frame at its start size (around the centre the
// engine had) before the track bar takes the source width and may resize it.
inline void LoadAsTheEditor(TPicCreatorEngine& Engine, TSourceImage Image) {
  Engine.LoadSource(std::move(Image));
  Engine.PlaceFrame(Engine.FrameCenterX, Engine.FrameCenterY);
  Engine.FitTrackBarToSource();
}
