// JPEG sources: the same palette and palette positions as libjpeg's own
// djpeg with the same settings, the files the editor must refuse, and the
// progress reports that bracket every decoding, failed or not.
#include <gtest/gtest.h>

#include "jpeg_decode.h"
#include "jpeg_reader.h"
#include "picture_error.h"
#include "djpeg_reference.h"
#include "picture_fixtures.h"

namespace {

struct TReports {
  std::vector<std::pair<TProgressStage, int>> Seen;
  TPictureProgress Sink() {
    return [this](TProgressStage S, int P) { Seen.emplace_back(S, P); };
  }
  bool Bracketed() const {
    return Seen.size() >= 2 && Seen.front() == std::make_pair(TProgressStage::Starting, 0) &&
           Seen.back().first == TProgressStage::Ending;
  }
};

struct TDjpegCase {
  const char* Name;
  TJpegKind Kind;
  int W, H;
};

class JpegLikeDjpegTest : public testing::TestWithParam<TDjpegCase> {};

TEST_P(JpegLikeDjpegTest, PaletteAndPositionsEqualDjpegs) {
  const TDjpegCase& c = GetParam();
  const std::vector<uint8_t> jpeg = MakeJpeg(c.W, c.H, c.Kind);
  const std::string file = WriteTempFile(std::string(c.Name) + ".jpg", jpeg);
  const TSourceImage reference = DjpegReference(file);
  std::remove(file.c_str());
  TReports reports;
  const TSourceImage ours = ReadJpegPicture(jpeg.data(), jpeg.size(), reports.Sink());
  ASSERT_EQ(ours.Width, c.W);
  ASSERT_EQ(ours.Height, c.H);
  EXPECT_EQ(ours.BitsPerPixel, 8);
  ASSERT_LE(ours.Palette.size(), static_cast<size_t>(JpegColors));
  ASSERT_GT(ours.Palette.size(), 1u);
  // djpeg pads its colour table to 256 entries.
  ASSERT_GE(reference.Palette.size(), ours.Palette.size());
  EXPECT_TRUE(std::equal(ours.Palette.begin(), ours.Palette.end(), reference.Palette.begin()));
  EXPECT_EQ(ours.Indices, reference.Indices);
  EXPECT_TRUE(reports.Bracketed());
  if (c.Kind == TJpegKind::Grey) {
    for (const TPaletteEntry& e : ours.Palette) EXPECT_TRUE(e.peRed == e.peGreen && e.peGreen == e.peBlue);
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, JpegLikeDjpegTest,
                         testing::Values(TDjpegCase{"Baseline", TJpegKind::Baseline, 97, 61},
                                         TDjpegCase{"BaselineLarger", TJpegKind::Baseline, 320, 240},
                                         TDjpegCase{"Progressive", TJpegKind::Progressive, 97, 61},
                                         TDjpegCase{"Grey", TJpegKind::Grey, 50, 70}),
                         [](const testing::TestParamInfo<TDjpegCase>& I) { return std::string(I.param.Name); });

struct TRefusedCase {
  const char* Name;
  std::vector<uint8_t> (*Make)();
  const char* Message;
};

class JpegRefusalTest : public testing::TestWithParam<TRefusedCase> {};

TEST_P(JpegRefusalTest, RefusedWithTheCauseAndTheEndReport) {
  const std::vector<uint8_t> bytes = GetParam().Make();
  TReports reports;
  try {
    ReadJpegPicture(bytes.data(), bytes.size(), reports.Sink());
    FAIL() << "accepted";
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(std::string(e.what()).find(GetParam().Message), std::string::npos) << e.what();
  }
  EXPECT_TRUE(reports.Bracketed());
}

INSTANTIATE_TEST_SUITE_P(
    Files, JpegRefusalTest,
    testing::Values(
        TRefusedCase{"TwoComponents", [] { return MakeJpeg(24, 16, TJpegKind::TwoComponents); }, "2 Farbkomponenten"},
        TRefusedCase{"Cmyk", [] { return MakeJpeg(24, 16, TJpegKind::Cmyk); }, "4 Farbkomponenten"},
        TRefusedCase{"Ycck", [] { return MakeJpeg(24, 16, TJpegKind::Ycck); }, "4 Farbkomponenten"},
        TRefusedCase{"HugeHeaderWithoutData", MakeJpegWithHugeHeader, "60000 x 60000"},
        TRefusedCase{"OneScanPastTheBound",
                     [] {
                       return WithLastScanRepeated(MakeJpeg(64, 48, TJpegKind::Progressive),
                                                   QvJpegMaxScans - ProgressiveColourScans + 1);
                     },
                     "JPEG-Fehler: mehr als 100 Scans"},
        TRefusedCase{"AScanRepeatedTenThousandTimes",
                     [] { return WithLastScanRepeated(MakeJpeg(64, 48, TJpegKind::Progressive), 10000); },
                     "JPEG-Fehler: mehr als 100 Scans"},
        TRefusedCase{"NotAJpeg", [] { return std::vector<uint8_t>{'B', 'M', 1, 2, 3, 4}; }, "JPEG-Fehler: Not a JPEG file"},
        TRefusedCase{"Empty", [] { return std::vector<uint8_t>{}; }, "JPEG-Fehler: "}),
    [](const testing::TestParamInfo<TRefusedCase>& I) { return std::string(I.param.Name); });

// The scan bound refuses only what is past it: a file of exactly that many
// scans is a picture.
TEST(JpegReader, AFileOfAsManyScansAsTheBoundDecodes) {
  const std::vector<uint8_t> most =
      WithLastScanRepeated(MakeJpeg(64, 48, TJpegKind::Progressive), QvJpegMaxScans - ProgressiveColourScans);
  TReports reports;
  const TSourceImage image = ReadJpegPicture(most.data(), most.size(), reports.Sink());
  EXPECT_EQ(image.Indices.size(), 64u * 48u);
  EXPECT_TRUE(reports.Bracketed());
}

// A file cut anywhere either decodes (libjpeg fills what is missing, as its
// own tools do) or is refused; it never reads past the bytes it was given.
TEST(JpegReader, FilesCutShortDecodeOrAreRefused) {
  for (TJpegKind kind : {TJpegKind::Baseline, TJpegKind::Progressive}) {
    const std::vector<uint8_t> whole = MakeJpeg(64, 48, kind);
    for (size_t cut : {size_t{1}, size_t{2}, size_t{20}, size_t{160}, whole.size() / 3, whole.size() / 2, whole.size() - 2}) {
      const std::vector<uint8_t> part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
      TReports reports;
      try {
        const TSourceImage image = ReadJpegPicture(part.data(), part.size(), reports.Sink());
        EXPECT_EQ(image.Indices.size(), 64u * 48u) << cut;
      } catch (const EInvalidGraphic&) {
      }
      EXPECT_TRUE(reports.Bracketed()) << cut;
    }
  }
}

}  // namespace
