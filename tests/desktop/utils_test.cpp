// The version text of the main window's title and the step texts of the
// transfer dialogs, whose numbers do not follow the pool order.
#include <gtest/gtest.h>

#include "pool_types.h"
#include "resource_texts.h"
#include "utils.h"

namespace {

TEST(VersionText, FormatsTheFourBytes) {
  const struct {
    uint32_t Version;
    const char* Text;
  } Cases[] = {
      {ProgramVersion, "V1.04"},
      {0x56010A00, "V1.100"},  // the last two numbers stand side by side
      {0x56FF0C22, "V255.1234"},  // bytes are unsigned
      {0x41000000, "A0.00"},
  };
  for (const auto& C : Cases) EXPECT_EQ(VersionText(C.Version), C.Text) << std::hex << C.Version;
}

TEST(StepTexts, FollowTheirOwnNumbering) {
  const struct {
    TPoolIndex Index;
    int Read, Write;
  } Cases[] = {
      {piPhonebook1, 65297, 65303}, {piPhonebook2, 65299, 65305}, {piPictures, 65298, 65304},
      {piConfig, 65300, 65306},     {piLanguage, 65301, 65307},   {piRingtones, 65302, 65308},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(ReadStepText(C.Index), ResourceText(C.Read)) << int(C.Index);
    EXPECT_EQ(WriteStepText(C.Index), ResourceText(C.Write)) << int(C.Index);
    EXPECT_FALSE(ReadStepText(C.Index).empty());
  }
  EXPECT_EQ(ReadStepText(piPictures), "Fotos werden gelesen...");
  EXPECT_EQ(WriteStepText(piPhonebook2), "Telefonbuch 2 wird geschrieben...");
}

TEST(StepTexts, AreEmptyOutsideTheSixPools) {
  EXPECT_EQ(ReadStepText(piNone), "");
  EXPECT_EQ(WriteStepText(piNone), "");
  EXPECT_EQ(ReadStepText(static_cast<TPoolIndex>(200)), "");
}

}  // namespace
