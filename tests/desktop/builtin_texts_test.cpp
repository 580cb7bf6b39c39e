// The portable core's built-in German texts are a second copy of numbers in
// the program's own table (forms/lang/de.txt), which the program shows when
// no module applies; the two copies must say the same.
#include <gtest/gtest.h>

#include "pool_texts.h"
#include "resource_texts.h"

namespace {

// The table is UTF-8, the built-in texts code page 1252; every German
// letter lies in the range where 1252 and Unicode agree.
std::string Latin1(const std::string& Utf8) {
  std::string Out;
  for (size_t I = 0; I < Utf8.size(); ++I) {
    const unsigned char C = static_cast<unsigned char>(Utf8[I]);
    if ((C & 0xE0) == 0xC0 && I + 1 < Utf8.size())
      Out += static_cast<char>(((C & 0x1F) << 6) | (static_cast<unsigned char>(Utf8[++I]) & 0x3F));
    else
      Out += static_cast<char>(C);
  }
  return Out;
}

TEST(BuiltInTexts, SayWhatTheProgramsTableSays) {
  const int Ids[] = {NoAnswerTextId,        InvalidFileTextId,         MelodyTextId,
                     InvalidBitmapTextId,   NotABitmapTextId,          UnknownExtensionTextId,
                     JpegErrorTextId,       PictureFileTooLargeTextId, JpegComponentsTextId,
                     JpegTooLargeTextId,    JpegOutOfMemoryTextId,     PictureOutOfMemoryTextId,
                     JpegTooManyScansTextId};
  for (const int Id : Ids) {
    EXPECT_FALSE(BuiltInPoolText(Id).empty()) << Id;
    EXPECT_EQ(BuiltInPoolText(Id), Latin1(ResourceText(Id))) << Id;
  }
}

}  // namespace
