// The language choice and the shape of the six text tables: the texts a role
// fills in carry exactly one %s, text 17 keeps its lines, and every table
// names its language at index 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lang.h"

namespace {

TEST(DetectLanguage, FirstTwoLettersCaseSensitivelyElseEnglish) {
  const struct {
    const char* Abbreviation;
    int Language;
  } Cases[] = {
      {"DEU", ilGerman},  {"DES", ilGerman},   {"DEA", ilGerman},  {"ENU", ilEnglish}, {"ENG", ilEnglish},
      {"NLD", ilDutch},   {"NLB", ilDutch},    {"ESN", ilSpanish}, {"ESM", ilSpanish}, {"ITA", ilItalian},
      {"ITS", ilItalian}, {"FRA", ilFrench},   {"FRS", ilFrench},  {"deu", ilEnglish}, {"De", ilEnglish},
      {"JPN", ilEnglish}, {"SVE", ilEnglish},  {"D", ilEnglish},   {"", ilEnglish},    {"PTB", ilEnglish},
      {"NOR", ilEnglish}, {"EDE", ilEnglish},
  };
  for (const auto& C : Cases) EXPECT_EQ(LanguageOfAbbreviation(C.Abbreviation), C.Language) << C.Abbreviation;
  EXPECT_EQ(LanguageOfAbbreviation(nullptr), ilEnglish) << "a failed locale query";
}

// From the locale's abbreviation to the texts shown: each language gets its
// own table (seen in the install button's caption, text 8), any other
// language and any number out of range the English one.
TEST(TextTables, LanguageNumbersSelectTheirTablesAndOthersEnglish) {
  const struct {
    const char* Abbreviation;
    const char* Install;
  } Cases[] = {{"DEU", "Installieren"}, {"ENU", "Install"},    {"NLD", "Installeren"}, {"ESN", "Instalar"},
               {"ITA", "Installare"},   {"FRA", "Installer"},  {"JPN", "Install"}};
  for (const auto& C : Cases) EXPECT_STREQ(TextsOf(LanguageOfAbbreviation(C.Abbreviation))[8], C.Install) << C.Abbreviation;
  for (int Language : {6, -1}) EXPECT_STREQ(TextsOf(Language)[8], "Install") << Language;
}

std::vector<std::string> Lines(const std::string& Text) {
  std::vector<std::string> Result(1);
  for (char C : Text) {
    if (C == '\r') Result.emplace_back();
    else Result.back() += C;
  }
  return Result;
}

TEST(TextTables, EveryTableHasItsNameOnePlaceholderPerPathRoleAndText17sLines) {
  const struct {
    const TInstallTexts* Table;
    const char* Name;
    const char* LastLineStart;  // the indent of text 17's last line
  } Tables[] = {{&TextsDE, "Deutsch", "  w"},     {&TextsEN, "English", "  s"}, {&TextsFR, "Franz\xF6sisch", "  s"},
                {&TextsIT, "Italian", "  S"},     {&TextsES, "Spanish", "  S"}, {&TextsNL, "Dutch", "het "}};
  const std::vector<int> WithPath = {2, 3, 4, 5, 6, 17, 24};
  for (const auto& T : Tables) {
    SCOPED_TRACE(T.Name);
    EXPECT_STREQ((*T.Table)[0], T.Name);
    for (int I = 1; I < InstallTextCount; ++I) {
      const std::string Text = (*T.Table)[I];
      EXPECT_FALSE(Text.empty()) << I;
      const bool Expected = std::find(WithPath.begin(), WithPath.end(), I) != WithPath.end();
      const auto First = Text.find("%s");
      EXPECT_EQ(First != std::string::npos, Expected) << I;
      if (First != std::string::npos) {
        EXPECT_EQ(Text.find('%', First + 1), std::string::npos) << I;
      }
      if (I != 17) {
        EXPECT_EQ(Text.find_first_of("\r\n"), std::string::npos) << I;
      }
    }
    const auto Text17 = Lines((*T.Table)[17]);
    ASSERT_EQ(Text17.size(), 5u);
    EXPECT_TRUE(Text17[1].empty());
    EXPECT_EQ(Text17[2].rfind("- ", 0), 0u);
    EXPECT_EQ(Text17[3].rfind("- ", 0), 0u);
    EXPECT_EQ(Text17[4].rfind(T.LastLineStart, 0), 0u) << Text17[4];
    EXPECT_EQ(std::string((*T.Table)[17]).find('\n'), std::string::npos);
  }
}

TEST(TextTables, CodePage1252LettersAndQuotes) {
  // A few texts whose bytes a wrong source encoding would change.
  EXPECT_STREQ(TextsDE[13], "Verkn\xFCpfungen werden erstellt...");
  EXPECT_STREQ(TextsNL[7], "Bestanden uitpakken\x85");
  EXPECT_STREQ(Lines(TextsEN[17])[3].c_str(), "- If a dialog field shows \x93" "Add Hardware Wizard");
  EXPECT_STREQ(TextsFR[23], "L'installation du logiciel Quorvale Desktop a \xE9t\xE9 r\xE9" "alis\xE9" "e avec succ\xE8s");
  EXPECT_STREQ(TextsEN[24], "<%s> is not supported by Quorvale Desktop");
}

TEST(FormatText, ReplacesThePlaceholderLiterally) {
  EXPECT_EQ(FormatText(TextsDE[24], "Windows 95"), "Quorvale Desktop wird von Windows 95 nicht unterst\xFCtzt");
  EXPECT_EQ(FormatText("Cannot open file <%s>", "C:\\100%s\\%d.exe"), "Cannot open file <C:\\100%s\\%d.exe>");
  EXPECT_EQ(FormatText("no placeholder", "x"), "no placeholder");
}

}  // namespace
