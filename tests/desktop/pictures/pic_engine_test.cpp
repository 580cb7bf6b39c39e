// The editor's image side: the frame's start, clamping and resize rule with
// the track bar that drives it, the handle test, the palettes the preview
// takes, the preview stretch and the quarter turn.
#include <climits>

#include <gtest/gtest.h>

#include "pic_engine.h"
#include "picture_fixtures.h"
#include "jpeg_reader.h"

namespace {

// An 8-bit picture whose palette positions are all different colours, so a
// preview of it shows which source pixel each preview pixel came from.
TSourceImage Distinct8(int W, int H) { return PatternImage(W, H, 8, 200); }

TEST(PicEngine, StartState) {
  TPicCreatorEngine e;
  EXPECT_EQ(e.FrameCenterX, 0);
  EXPECT_EQ(e.FrameCenterY, 0);
  EXPECT_EQ(e.FrameWidth, 85);
  EXPECT_EQ(e.FrameHeight, 110);
  EXPECT_EQ(e.Preview().Width(), 85);
  EXPECT_EQ(e.Preview().Height(), 110);
  TLogPalette def;
  BuildDefaultPalette(def);
  EXPECT_TRUE(std::equal(def.palPalEntry, def.palPalEntry + 256, e.Preview().Palette().begin()));
  for (int y = 0; y < 110; ++y)
    for (int x = 0; x < 85; ++x) ASSERT_EQ(e.Preview().ScanLine(y)[x], 0);
}

TEST(PicEngine, FirstLoadFramesTheTopLeftCornerOneToOne) {
  TPicCreatorEngine e;
  const TSourceImage source = Distinct8(640, 480);
  LoadAsTheEditor(e, source);
  EXPECT_EQ(e.FrameWidth, 85);
  EXPECT_EQ(e.FrameHeight, 110);
  EXPECT_EQ(e.TrackBar().Max, 640);
  EXPECT_EQ(e.TrackBar().Position, 85);
  const TFramePlacement at = e.PlaceFrame(e.FrameCenterX, e.FrameCenterY);
  EXPECT_EQ(at.Left, 0);
  EXPECT_EQ(at.Top, 0);
  EXPECT_EQ(e.FrameCenterX, 42);
  EXPECT_EQ(e.FrameCenterY, 55);
  e.UpdatePreview();
  for (int y = 0; y < 110; ++y)
    for (int x = 0; x < 85; ++x) ASSERT_EQ(e.Preview().ScanLine(y)[x], source.Indices[y * 640 + x]) << x << "," << y;
}

struct TLoadCase {
  const char* Name;
  int PriorW, PriorH;  // a picture loaded before, 0: none
  int W, H;
  int FrameW, FrameH, TrackMax, TrackPos;
};

class PicEngineLoadTest : public testing::TestWithParam<TLoadCase> {};

TEST_P(PicEngineLoadTest, FrameAndTrackBarAfterLoad) {
  const TLoadCase& c = GetParam();
  TPicCreatorEngine e;
  if (c.PriorW) LoadAsTheEditor(e, Distinct8(c.PriorW, c.PriorH));
  LoadAsTheEditor(e, Distinct8(c.W, c.H));
  EXPECT_EQ(e.FrameWidth, c.FrameW);
  EXPECT_EQ(e.FrameHeight, c.FrameH);
  EXPECT_EQ(e.TrackBar().Max, c.TrackMax);
  EXPECT_EQ(e.TrackBar().Position, c.TrackPos);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, PicEngineLoadTest,
    testing::Values(
        // The position moves from 16 to 85: the resize asks for height 110, is
        // refused, and the frame ends 85 x 110, taller than the picture.
        TLoadCase{"Wide200x60First", 0, 0, 200, 60, 85, 110, 200, 85},
        // The position stays 85: no resize, the frame stays the start frame.
        TLoadCase{"Wide200x60AfterLarge", 640, 480, 200, 60, 85, 60, 200, 85},
        // Narrower than the track bar's minimum: the maximum stays.
        TLoadCase{"Small10x8First", 0, 0, 10, 8, 10, 8, 100, 16},
        TLoadCase{"Small10x8AfterLarge", 640, 480, 10, 8, 10, 12, 640, 16},
        TLoadCase{"Exactly85x110", 0, 0, 85, 110, 85, 110, 85, 85}),
    [](const testing::TestParamInfo<TLoadCase>& I) { return std::string(I.param.Name); });

struct TWidthCase {
  int Asked, FrameW, FrameH;
};

class PicEngineWidthTest : public testing::TestWithParam<TWidthCase> {};

TEST_P(PicEngineWidthTest, TrackBarWidthUnderTheProportionRule) {
  TPicCreatorEngine e;
  LoadAsTheEditor(e, Distinct8(300, 300));
  e.SetTrackBarPosition(GetParam().Asked);
  EXPECT_EQ(e.FrameWidth, GetParam().FrameW);
  EXPECT_EQ(e.FrameHeight, GetParam().FrameH);
  EXPECT_EQ(e.TrackBar().Position, GetParam().FrameW);
}

// 232 gives height 300, the picture's; 233 would give 301 and is refused.
INSTANTIATE_TEST_SUITE_P(On300x300, PicEngineWidthTest,
                         testing::Values(TWidthCase{85, 85, 110}, TWidthCase{100, 100, 129}, TWidthCase{16, 16, 20},
                                         TWidthCase{232, 232, 300}, TWidthCase{233, 85, 110}, TWidthCase{5, 16, 20},
                                         TWidthCase{400, 85, 110}));

TEST(PicEngine, WidthWhoseHeightOverflows32BitsIsRefused) {
  // 110 x 39045157 wraps to -26 in 32 bits, which would give height 0 and
  // accept a frame as wide as the picture on a picture one row high.
  TSourceImage wide;
  wide.Width = 39045157, wide.Height = 1, wide.BitsPerPixel = 8;
  wide.Palette = {TPaletteEntry{1, 2, 3, 0}};
  wide.Indices.assign(wide.PixelCount(), 0);
  TPicCreatorEngine e;
  LoadAsTheEditor(e, std::move(wide));
  ASSERT_EQ(e.FrameWidth, 85);
  e.ResizeFrame(39045157 - 85);
  EXPECT_EQ(e.FrameWidth, 85);
  EXPECT_EQ(e.FrameHeight, 110);
}

TEST(PicEngine, CentreClamping) {
  struct {
    int W, H, CX, CY, Left, Top, ClampedX, ClampedY;
  } cases[] = {
      {300, 300, 0, 0, 0, 0, 42, 55},          {300, 300, 150, 150, 108, 95, 150, 150},
      {300, 300, 299, 299, 215, 190, 257, 245}, {300, 300, -1000, 5000, 0, 190, 42, 245},
      {300, 300, INT_MIN, INT_MAX, 0, 190, 42, 245},
      {300, 60, 150, 30, 108, -50, 150, 5},  // frame taller than the picture: flush with its bottom
  };
  for (const auto& c : cases) {
    TPicCreatorEngine e;
    LoadAsTheEditor(e, Distinct8(c.W, c.H));
    e.FrameWidth = 85, e.FrameHeight = 110;
    const TFramePlacement at = e.PlaceFrame(c.CX, c.CY);
    EXPECT_EQ(at.Left, c.Left) << c.CX << "," << c.CY;
    EXPECT_EQ(at.Top, c.Top) << c.CX << "," << c.CY;
    EXPECT_EQ(e.FrameCenterX, c.ClampedX);
    EXPECT_EQ(e.FrameCenterY, c.ClampedY);
  }
}

TEST(PicEngine, HandleIsSeventeenBySeventeenPositions) {
  const struct {
    int X, Y;
    bool Over;
  } cases[] = {{100, 50, true},  {116, 66, true},  {108, 58, true},  {99, 50, false},
               {117, 50, false}, {100, 67, false}, {116, 49, false}, {100, 66, true}};
  for (const auto& c : cases) EXPECT_EQ(TPicCreatorEngine::OverHandle(c.X, c.Y, 100, 50), c.Over) << c.X << "," << c.Y;
}

TEST(PicEngine, PreviewPaletteRules) {
  TLogPalette def;
  BuildDefaultPalette(def);
  const auto defaultEntries = [&] { return std::vector<TPaletteEntry>(def.palPalEntry, def.palPalEntry + 256); };

  {  // 1 and 4 bits: the default palette, whatever the picture's own.
    for (int bits : {1, 4}) {
      TPicCreatorEngine e;
      LoadAsTheEditor(e, Distinct8(50, 50));
      LoadAsTheEditor(e, PatternImage(20, 20, bits));
      EXPECT_EQ(e.Preview().Palette(), defaultEntries()) << bits;
    }
  }
  {  // 200 entries: those, then black up to 239, then the fixed colours.
    TPicCreatorEngine e;
    const TSourceImage s = PatternImage(20, 20, 8, 200);
    LoadAsTheEditor(e, s);
    std::vector<TPaletteEntry> expected = defaultEntries();
    std::copy(s.Palette.begin(), s.Palette.end(), expected.begin());
    EXPECT_EQ(e.Preview().Palette(), expected);
  }
  {  // 256 entries: only 0..238 reach the preview; a pixel of entry 250 takes
     // the nearest colour present.
    TPicCreatorEngine e;
    TSourceImage s = PatternImage(85, 110, 8, 256);
    s.Palette[250] = TPaletteEntry{1, 2, 3, 0};
    s.Palette[7] = TPaletteEntry{0, 3, 3, 0};
    std::fill(s.Indices.begin(), s.Indices.end(), 250);
    LoadAsTheEditor(e, s);
    std::vector<TPaletteEntry> expected = defaultEntries();
    std::copy(s.Palette.begin(), s.Palette.begin() + 239, expected.begin());
    EXPECT_EQ(e.Preview().Palette(), expected);
    e.PlaceFrame(0, 0);
    e.UpdatePreview();
    EXPECT_EQ(e.Preview().ScanLine(50)[40], 7);
  }
  {  // True colour keeps the palette of the picture before; first, the default.
    TPicCreatorEngine e;
    LoadAsTheEditor(e, PatternImage(30, 30, 24));
    EXPECT_EQ(e.Preview().Palette(), defaultEntries());
    const TSourceImage s = PatternImage(20, 20, 8, 100);
    LoadAsTheEditor(e, s);
    LoadAsTheEditor(e, PatternImage(30, 30, 24));
    EXPECT_TRUE(std::equal(s.Palette.begin(), s.Palette.end(), e.Preview().Palette().begin()));
  }
  {  // A JPEG: at most 236 colours, then black up to 239.
    TPicCreatorEngine e;
    const std::vector<uint8_t> jpeg = MakeJpeg(120, 90, TJpegKind::Baseline);
    LoadAsTheEditor(e, ReadJpegPicture(jpeg.data(), jpeg.size(), [](TProgressStage, int) {}));
    const auto& p = e.Preview().Palette();
    for (int i = 236; i < 240; ++i) EXPECT_EQ(p[i], (TPaletteEntry{0, 0, 0, 0})) << i;
    EXPECT_EQ(p[255], def.palPalEntry[255]);
  }
}

TEST(PicEngine, PreviewStretchSamplesPixelCentres) {
  TPicCreatorEngine e;
  const TSourceImage s = Distinct8(400, 400);
  LoadAsTheEditor(e, s);
  e.SetTrackBarPosition(170);
  ASSERT_EQ(e.FrameHeight, 220);
  const TFramePlacement at = e.PlaceFrame(200, 200);
  e.UpdatePreview();
  for (int dy : {0, 1, 54, 109})
    for (int dx : {0, 1, 42, 84})
      EXPECT_EQ(e.Preview().ScanLine(dy)[dx], s.Indices[(at.Top + 2 * dy + 1) * 400 + at.Left + 2 * dx + 1]);
}

TEST(PicEngine, PreviewOutsideThePictureIsBlackAndReadsNothingThere) {
  TPicCreatorEngine e;
  // The preview a load draws before the repaint has clamped the frame: 10 x 8
  // at the start centre (0, 0), its left and top halves off the picture.
  e.LoadSource(PatternImage(10, 8, 24));
  e.UpdatePreview();
  const TLogPalette& palette = e.PreviewPalette();
  const uint8_t corner = e.Preview().ScanLine(0)[0];
  const TPaletteEntry black = palette.palPalEntry[corner];
  EXPECT_EQ(black, (TPaletteEntry{0, 0, 0, 0}));
}

// The preview's colour matching against the plain rule: the lowest palette
// position among those at the smallest squared distance.
TEST(PicEngine, PreviewTakesTheNearestColourAndTheLowestPositionAmongEquals) {
  uint32_t Seed = 99;
  const auto Next = [&] { return Seed = Seed * 1103515245u + 12345u, (Seed >> 16) & 0xFF; };
  TLogPalette Palette;
  BuildDefaultPalette(Palette);
  for (int I = 0; I < 239; ++I)  // few values per channel, so that ties occur
    Palette.palPalEntry[I] = TPaletteEntry{static_cast<uint8_t>(Next() & 0xC0), static_cast<uint8_t>(Next() & 0xC0),
                                           static_cast<uint8_t>(Next() & 0xC0), 0};
  TSourceImage S;
  S.Width = 85, S.Height = 110, S.BitsPerPixel = 24;
  for (size_t I = 0; I < S.PixelCount(); ++I) S.Colors.push_back((Next() << 16) | (Next() << 8) | Next());
  TBitmap Preview;
  StretchIntoPreview(S, 0, 0, 85, 110, Palette, Preview);
  for (int Y = 0; Y < 110; ++Y)
    for (int X = 0; X < 85; ++X) {
      const uint32_t C = S.ColorAt(X, Y);
      int Best = 0, BestDistance = INT_MAX;
      for (int I = 0; I < 256; ++I) {
        const TPaletteEntry& E = Palette.palPalEntry[I];
        const int Dr = E.peRed - static_cast<int>(C >> 16), Dg = E.peGreen - static_cast<int>((C >> 8) & 0xFF),
                  Db = E.peBlue - static_cast<int>(C & 0xFF);
        const int D = Dr * Dr + Dg * Dg + Db * Db;
        if (D < BestDistance) BestDistance = D, Best = I;
      }
      ASSERT_EQ(Preview.ScanLine(Y)[X], Best) << X << "," << Y;
    }
}

TEST(PicEngine, StretchProductsIn64Bits) {
  // 169 x 20 000 000 overflows 32 bits.
  TSourceImage s;
  s.Width = 20000000, s.Height = 1, s.BitsPerPixel = 8;
  s.Palette = {TPaletteEntry{255, 0, 0, 0}, TPaletteEntry{0, 0, 255, 0}};
  s.Indices.assign(s.PixelCount(), 0);
  std::fill(s.Indices.begin() + 10000000, s.Indices.end(), 1);
  TLogPalette palette;
  BuildDefaultPalette(palette);
  TBitmap preview;
  StretchIntoPreview(s, 0, 0, s.Width, 1, palette, preview);
  EXPECT_EQ(palette.palPalEntry[preview.ScanLine(0)[0]], (TPaletteEntry{255, 0, 0, 0}));
  EXPECT_EQ(palette.palPalEntry[preview.ScanLine(0)[84]], (TPaletteEntry{0, 0, 255, 0}));
  EXPECT_EQ(palette.palPalEntry[preview.ScanLine(109)[84]], (TPaletteEntry{0, 0, 255, 0}));
}

TEST(PicEngine, TurnKeepsTheFrameAndClampsItIntoTheTurnedPicture) {
  TPicCreatorEngine e;
  LoadAsTheEditor(e, Distinct8(300, 400));
  e.SetTrackBarPosition(300);
  ASSERT_EQ(e.FrameWidth, 300);
  ASSERT_EQ(e.FrameHeight, 388);
  e.PlaceFrame(150, 200);
  int lastColumns = 0;
  e.RotatePicture([&](int Done) { lastColumns = Done; });
  EXPECT_EQ(lastColumns, 300);
  EXPECT_EQ(e.Source().Width, 400);
  EXPECT_EQ(e.Source().Height, 300);
  EXPECT_EQ(e.TrackBar().Max, 400);
  EXPECT_EQ(e.FrameWidth, 300);
  EXPECT_EQ(e.FrameHeight, 388);
  EXPECT_EQ(e.PlaceFrame(e.FrameCenterX, e.FrameCenterY).Top, -88);
}

TEST(QuarterTurn, PixelRuleAndFourTurnsForEveryDepth) {
  for (int bits : {1, 4, 8, 16, 24, 32})
    for (auto [w, h] : {std::pair{1, 1}, std::pair{7, 3}, std::pair{65, 129}, std::pair{130, 64}}) {
      const TSourceImage s = PatternImage(w, h, bits);
      TSourceImage t = TurnQuarterClockwise(s, nullptr);
      ASSERT_EQ(t.Width, h);
      ASSERT_EQ(t.Height, w);
      EXPECT_EQ(t.BitsPerPixel, bits);
      EXPECT_EQ(t.Palette, s.Palette);
      for (int i = 0; i < w; ++i)
        for (int j = 0; j < h; ++j) ASSERT_EQ(t.ColorAt(h - 1 - j, i), s.ColorAt(i, j)) << bits << ": " << i << "," << j;
      for (int k = 0; k < 3; ++k) t = TurnQuarterClockwise(t, nullptr);
      EXPECT_EQ(t.Width, w);
      EXPECT_EQ(t.Indices, s.Indices);
      EXPECT_EQ(t.Colors, s.Colors);
    }
}

}  // namespace
