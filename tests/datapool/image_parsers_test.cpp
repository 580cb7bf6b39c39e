// The image parsers: names and notes out of well-formed images, nothing out
// of images whose records run past their length.
#include "image_parsers.h"

#include <gtest/gtest.h>

#include "image_fixtures.h"

TEST(ParseLanguageImage, ListsEachRecordsTextsInOrder) {
  const auto image = InBuffer(MakeImage({LanguageRecord({"English", "Yes", "No"}), LanguageRecord({"Nederlands"})}));
  std::vector<TLangStringList> languages;
  EXPECT_EQ(ParseLanguageImage(image.data(), image.size(), languages), TImageParse::Parsed);
  ASSERT_EQ(languages.size(), 2u);
  EXPECT_EQ(languages[0], (TLangStringList{"English", "Yes", "No"}));
  EXPECT_EQ(languages[1], (TLangStringList{"Nederlands"}));
}

TEST(ParseMelodyImage, ListsNotesUpToTheTerminator) {
  const auto image = InBuffer(MakeImage({MelodyRecord({Note(4000, 200), Note(0, 100)}), MelodyRecord({})}));
  std::vector<TNoteList> melodies;
  EXPECT_EQ(ParseMelodyImage(image.data(), image.size(), melodies), TImageParse::Parsed);
  ASSERT_EQ(melodies.size(), 2u);
  EXPECT_EQ(melodies[0], (TNoteList{Note(4000, 200), Note(0, 100)}));
  EXPECT_TRUE(melodies[1].empty());
}

TEST(ParseImages, WithoutSignatureOrRecordsTheImageIsEmpty) {
  auto image = InBuffer(MakeImage({LanguageRecord({"English"})}));
  std::vector<TLangStringList> languages{{"old"}};
  PutU16(&image[4], 0);
  EXPECT_EQ(ParseLanguageImage(image.data(), image.size(), languages), TImageParse::Empty);
  EXPECT_TRUE(languages.empty());
  image[0] = 0;
  PutU16(&image[4], 1);
  std::vector<TNoteList> melodies{{1}};
  EXPECT_EQ(ParseMelodyImage(image.data(), image.size(), melodies), TImageParse::Empty);
  EXPECT_TRUE(melodies.empty());
}

// Each case cuts or bends one well-formed image; the parse must give nothing.
struct TBrokenImage {
  const char* Name;
  bool Melody;
  std::vector<uint8_t> Image;
};

class BrokenImage : public testing::TestWithParam<TBrokenImage> {};

TEST_P(BrokenImage, GivesNoListsAndReadsNothingPastTheImage) {
  const TBrokenImage& c = GetParam();
  // Exactly the image's bytes in a buffer of their own, so that ASan sees any read beyond.
  const std::vector<uint8_t> image = c.Image;
  std::vector<TLangStringList> languages{{"old"}};
  std::vector<TNoteList> melodies{{1}};
  const TImageParse result = c.Melody ? ParseMelodyImage(image.data(), image.size(), melodies)
                                      : ParseLanguageImage(image.data(), image.size(), languages);
  EXPECT_EQ(result, TImageParse::Broken);
  EXPECT_TRUE(languages.empty() || c.Melody);
  EXPECT_TRUE(melodies.empty() || !c.Melody);
}

std::vector<uint8_t> WithLength(std::vector<uint8_t> Image, uint16_t Length) {
  PutU16(&Image[2], Length);
  return Image;
}

std::vector<uint8_t> WithCount(std::vector<uint8_t> Image, uint16_t Count) {
  PutU16(&Image[4], Count);
  return Image;
}

std::vector<uint8_t> Unterminated(std::vector<uint8_t> Image) {
  Image.pop_back();  // the last text loses its zero byte
  Image.push_back('x');
  return Image;
}

const std::vector<uint8_t> TwoLanguages = MakeImage({LanguageRecord({"English", "Yes"}), LanguageRecord({"Dansk"})});
const std::vector<uint8_t> TwoMelodies = MakeImage({MelodyRecord({Note(100, 1)}), MelodyRecord({Note(200, 2)})});

INSTANTIATE_TEST_SUITE_P(
    Images, BrokenImage,
    testing::Values(
        TBrokenImage{"LanguageLengthShort", false, WithLength(TwoLanguages, static_cast<uint16_t>(TwoLanguages.size() - 3))},
        TBrokenImage{"LanguageLengthPastBuffer", false, WithLength(TwoLanguages, 0xFFFF)},
        TBrokenImage{"LanguageCountTooHigh", false, WithCount(TwoLanguages, 3)},
        TBrokenImage{"LanguageTableBeyondImage", false, WithCount(TwoLanguages, 0xFFFF)},
        TBrokenImage{"LanguageTextUnterminated", false, Unterminated(TwoLanguages)},
        TBrokenImage{"LanguageWithoutName", false, MakeImage({LanguageRecord({})})},
        TBrokenImage{"MelodyLengthShort", true, WithLength(TwoMelodies, static_cast<uint16_t>(TwoMelodies.size() - 3))},
        TBrokenImage{"MelodyCountTooHigh", true, WithCount(TwoMelodies, 3)},
        TBrokenImage{"MelodyUnterminated", true, MakeImage({std::vector<uint8_t>{0x10, 0, 0, 0, 0x20, 0}})}),
    [](const testing::TestParamInfo<TBrokenImage>& info) { return std::string(info.param.Name); });
