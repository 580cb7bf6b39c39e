// The settings page's rules: the time-zone item of a stored or captured
// offset (checked against the labels the program's layout gives the list),
// and the key and value rules of the backlight time and the SIM PIN.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "layout.h"
#include "settings_rules.h"

namespace {

// The list's items as the program's layout gives them, "|" between two.
std::vector<std::string> TimeZoneLabels() {
  std::ifstream In(std::string(QV_GENERATED_DIR) + "/de/TFRMMAIN.qvl", std::ios::binary);
  std::stringstream Bytes;
  Bytes << In.rdbuf();
  const TLayout Main = ParseLayout("TFRMMAIN", Bytes.str());
  const std::string Items = Main.Controls.at(Main.Find("cbxTimezone")).Prop("items");
  std::vector<std::string> Labels;
  for (size_t Start = 0, End;; Start = End + 1) {
    End = Items.find('|', Start);
    Labels.push_back(Items.substr(Start, End - Start));
    if (End == std::string::npos) return Labels;
  }
}

TEST(TimeZone, StoredOffsetSelectsItsItemRoundingTowardZero) {
  const std::vector<std::string> Labels = TimeZoneLabels();
  ASSERT_EQ(Labels.size(), static_cast<size_t>(TimeZoneItems));
  struct Case {
    int Minutes;
    int Index;
    const char* Label;
  } Cases[] = {
      {60, 25, "+1h"},  {-90, 20, "-1h 30 m"}, {45, 24, "+0h 30m"}, {-700, 0, "-11h 30m"}, {-690, 0, "-11h 30m"},
      {0, 23, "+/-0h"}, {330, 34, "+5h 30m"},  {720, 47, "+12h"},   {750, 48, ""},          {780, 49, ""},
      {809, 49, ""},    {-719, 0, "-11h 30m"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Minutes);
    EXPECT_EQ(TimeZoneIndex(C.Minutes), C.Index);
    EXPECT_EQ(Labels.at(C.Index), C.Label);
  }
  for (int Outside : {-720, -800, 810, 840, -32768, 32767}) EXPECT_EQ(TimeZoneIndex(Outside), -1) << Outside;
}

TEST(TimeZone, ItemsStandForHalfHoursFromMinus690) {
  EXPECT_EQ(TimeZoneMinutes(0), -690);
  EXPECT_EQ(TimeZoneMinutes(23), 0);
  EXPECT_EQ(TimeZoneMinutes(49), 780);
  for (int I = 0; I < TimeZoneItems; ++I) EXPECT_EQ(TimeZoneIndex(TimeZoneMinutes(I)), I);
}

TEST(TimeZone, CaptureTakesTheStandardOffsetAndNothingBeyondTheList) {
  struct Case {
    long Bias, StandardBias;
    int Offset;
    int Index;  // -1: nothing selected, nothing stored
  } Cases[] = {
      {-60, 0, 60, 25},     // Central Europe; daylight saving plays no part
      {-330, 0, 330, 34},   // India
      {-345, 0, 345, 34},   // Nepal stores 330
      {210, 0, -210, 16},   // Newfoundland
      {-780, 0, 780, 49},   // Tonga
      {-840, 0, 840, -1},   // Kiribati, +14 h: not -12 h
      {720, 0, -720, -1},   // Baker Island
      {-60, 60, 0, 23},     // a standard bias of its own counts
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Bias);
    EXPECT_EQ(StandardOffset(C.Bias, C.StandardBias), C.Offset);
    const std::optional<int> Index = CapturedTimeZoneIndex(C.Offset);
    EXPECT_EQ(Index.value_or(-1), C.Index);
  }
}

TEST(LanguageAndRingtone, StoredIndexBeyondTheListShowsTheStandardEntry) {
  struct Case {
    int Stored, Count, Shown;
  } Cases[] = {{3, 3, 0}, {2, 3, 2}, {0, 1, 0}, {255, 4, 0}, {1, 0, -1}};
  for (const Case& C : Cases) EXPECT_EQ(StoredListIndex(C.Stored, C.Count), C.Shown) << C.Stored << " of " << C.Count;
}

TEST(Backlight, ValueIsStoredFrom10To3600) {
  struct Case {
    const char* Text;
    int Value;
    bool Storable;
  } Cases[] = {
      {"3600", 3600, true}, {"10", 10, true},   {"5", 5, false},    {"50", 50, true},   {"9100", 9100, false},
      {"3601", 3601, false}, {"", -1, false},   {"12a", -1, false}, {"-5", -1, false},  {"0360", 360, true},
      {"99999999999", -1, false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(BacklightValue(C.Text), C.Value);
    EXPECT_EQ(BacklightStorable(C.Text), C.Storable);
  }
}

TEST(Backlight, KeyFilterAppendsTheDigitAtTheEnd) {
  struct Case {
    const char* Text;
    char Key;
    bool Accepted;
  } Cases[] = {
      {"360", '0', true}, {"360", '5', false}, {"100", '9', true},  // the edit may insert it in front: "9100"
      {"", '0', true},    {"3600", '0', false}, {"12", 'a', false}, {"12", '-', false}, {"3601", 8, true},
      {"9999", 13, true},
  };
  for (const Case& C : Cases) EXPECT_EQ(BacklightKeyAccepted(C.Key, C.Text), C.Accepted) << C.Text << " + " << C.Key;
}

TEST(SimPin, DigitsAreTypedAndOnly4To6DigitsAreSent) {
  for (char Key : {'0', '9', '\b', '\r'}) EXPECT_TRUE(PinKeyAccepted(Key)) << int(Key);
  for (char Key : {'a', ' ', '+', '*'}) EXPECT_FALSE(PinKeyAccepted(Key)) << Key;
  struct Case {
    const char* Text;
    bool Sendable;
  } Cases[] = {{"123", false}, {"1234", true}, {"123456", true}, {"1234567", false}, {"12ab", false}, {"", false},
               {"12 4", false}};
  for (const Case& C : Cases) EXPECT_EQ(PinSendable(C.Text), C.Sendable) << C.Text;
}

}  // namespace
