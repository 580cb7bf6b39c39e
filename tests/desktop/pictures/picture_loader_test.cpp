// The picture loader chooses the kind by the file name and refuses, with a
// cause, what cannot become a bitmap source.
#include <gtest/gtest.h>

#include "picture_error.h"
#include "djpeg_reference.h"
#include "picture_fixtures.h"
#include "picture_loader.h"

namespace {

TEST(PictureLoader, KindByExtension) {
  const std::pair<const char*, TPictureKind> cases[] = {
      {"a.bmp", TPictureKind::Bitmap},      {"C:\\x\\A.BMP", TPictureKind::Bitmap},  {"a.dib", TPictureKind::Bitmap},
      {"a.jpg", TPictureKind::Jpeg},        {"a.JPEG", TPictureKind::Jpeg},         {"a.jpe", TPictureKind::Jpeg},
      {"a.ico", TPictureKind::Icon},        {"a.emf", TPictureKind::EnhancedMetafile},      {"a.wmf", TPictureKind::Metafile},
      {"a.png", TPictureKind::Unknown},     {"noext", TPictureKind::Unknown},       {"dir.jpg\\file", TPictureKind::Unknown}};
  for (const auto& [name, kind] : cases) EXPECT_EQ(PictureKindOf(name), kind) << name;
}

TEST(PictureLoader, RefusesWhatCannotBecomeABitmap) {
  const std::vector<uint8_t> bytes(64, 0);
  for (const char* name : {"pic.ico", "pic.emf", "pic.wmf", "pic.gif"})
    EXPECT_THROW(LoadPictureBytes(name, bytes.data(), bytes.size(), nullptr), EInvalidGraphic) << name;
}

TEST(PictureLoader, LoadsFilesByTheirKind) {
  const std::string bmp = WriteTempFile("l.bmp", WriteBmp(TBmpFormat{}, PatternImage(5, 4, 24)));
  const std::string jpg = WriteTempFile("l.jpg", MakeJpeg(20, 10, TJpegKind::Baseline));
  int reports = 0;
  const TPictureProgress count = [&](TProgressStage, int) { ++reports; };
  EXPECT_EQ(LoadPictureFile(bmp, count).BitsPerPixel, 24);
  EXPECT_EQ(reports, 0);
  EXPECT_EQ(LoadPictureFile(jpg, count).BitsPerPixel, 8);
  EXPECT_GE(reports, 2);
  std::remove(bmp.c_str());
  std::remove(jpg.c_str());
  EXPECT_THROW(LoadPictureFile(bmp, count), EFileStreamError);
}

}  // namespace
