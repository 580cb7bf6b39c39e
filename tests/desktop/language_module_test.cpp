// The module names tried for a program path and locale, and the program title
// that captions the plain messages.
#include <gtest/gtest.h>

#include "language_module.h"

namespace {

using Names = std::vector<std::string>;

TEST(LanguageModuleCandidates, ThreeLettersThenTwo) {
  const struct {
    const char* Path;
    const char* Abbrev;
    Names Expected;
  } Cases[] = {
      {"C:\\Programme\\Quorvale\\Desktop\\Quorvale.exe", "ENU",
       {"C:\\Programme\\Quorvale\\Desktop\\Quorvale.ENU", "C:\\Programme\\Quorvale\\Desktop\\Quorvale.EN"}},
      {"C:\\Q\\Quorvale.exe", "FRS", {"C:\\Q\\Quorvale.FRS", "C:\\Q\\Quorvale.FR"}},
      {"C:\\Q\\Telefon.exe", "NLD", {"C:\\Q\\Telefon.NLD", "C:\\Q\\Telefon.NL"}},
      // Everything after the last dot is replaced, also in a name with two.
      {"C:\\Q\\Quorvale.v2.exe", "ITA", {"C:\\Q\\Quorvale.v2.ITA", "C:\\Q\\Quorvale.v2.IT"}},
      // The last dot may lie in a folder name when the file has none.
      {"C:\\Q.1\\Quorvale", "ESP", {"C:\\Q.ESP", "C:\\Q.ES"}},
      {"C:\\Q\\Quorvale", "DEU", {}},
      {"C:\\Q\\Quorvale.exe", "", {}},
      {"C:\\Q\\Quorvale.exe", "EN", {"C:\\Q\\Quorvale.EN"}},
  };
  for (const auto& C : Cases) EXPECT_EQ(LanguageModuleCandidates(C.Path, C.Abbrev), C.Expected) << C.Path;
}

TEST(ProgramTitle, NameUpToTheFirstDotInLowerCase) {
  const struct {
    const char* Path;
    const char* Title;
  } Cases[] = {
      {"C:\\Programme\\Quorvale\\Desktop\\Quorvale.exe", "Quorvale"},
      {"C:\\Q\\QUORVALE.EXE", "Quorvale"},
      {"C:\\Q\\telefon.v2.exe", "telefon"},
      {"C:\\Q.1\\Quorvale", "Quorvale"},
      {"Z:/tmp/GATE95.EXE", "Gate95"},
  };
  for (const auto& C : Cases) EXPECT_EQ(ProgramTitle(C.Path), C.Title) << C.Path;
}

}  // namespace
