// The image engine as the Windows program runs it (the 32-bit deliverable
// included): a generated JPEG decodes to at most 236 colours, frames one to
// one at its top-left corner, turns by the pixel rule and back in four
// turns; a header promising a picture beyond the limit is refused before
// anything is allocated, where 32-bit sizes would have wrapped.
#include <gtest/gtest.h>

#include "jpeg_reader.h"
#include "pic_engine.h"
#include "picture_error.h"
#include "picture_fixtures.h"

namespace {

const TPictureProgress Quiet = [](TProgressStage, int) {};

TEST(PictureEngineSmoke, JpegLoadFrameAndTurns) {
  const std::vector<uint8_t> Jpeg = MakeJpeg(640, 480, TJpegKind::Progressive);
  TSourceImage Source = ReadJpegPicture(Jpeg.data(), Jpeg.size(), Quiet);
  ASSERT_EQ(Source.Width, 640);
  ASSERT_EQ(Source.Height, 480);
  ASSERT_LE(Source.Palette.size(), 236u);
  for (uint8_t P : Source.Indices) ASSERT_LT(P, Source.Palette.size());

  TPicCreatorEngine Engine;
  LoadAsTheEditor(Engine, Source);
  Engine.PlaceFrame(0, 0);
  Engine.UpdatePreview();
  for (int Y = 0; Y < 110; ++Y)
    for (int X = 0; X < 85; ++X) ASSERT_EQ(Engine.Preview().ScanLine(Y)[X], Source.Indices[Y * 640 + X]);

  Engine.RotatePicture(nullptr);
  const TSourceImage& Turned = Engine.Source();
  ASSERT_EQ(Turned.Width, 480);
  for (int I = 0; I < 640; I += 7)
    for (int J = 0; J < 480; J += 5) ASSERT_EQ(Turned.Indices[I * 480 + 479 - J], Source.Indices[J * 640 + I]);
  for (int K = 0; K < 3; ++K) Engine.RotatePicture(nullptr);
  EXPECT_EQ(Engine.Source().Indices, Source.Indices);
}

TEST(PictureEngineSmoke, HugeHeaderIsRefused) {
  std::vector<uint8_t> J = MakeJpeg(16, 16, TJpegKind::Baseline);
  for (size_t I = 0; I + 8 < J.size(); ++I)
    if (J[I] == 0xFF && J[I + 1] == 0xC0) {
      J[I + 5] = 0xEA, J[I + 6] = 0x60, J[I + 7] = 0xEA, J[I + 8] = 0x60;
      break;
    }
  EXPECT_THROW(ReadJpegPicture(J.data(), J.size(), Quiet), EInvalidGraphic);
}

}  // namespace
