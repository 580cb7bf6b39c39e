// The language module choice of Quorvale.exe by the locale it starts with,
// seen in the texts of its main window.
#include <gtest/gtest.h>

#include "program_driver_win.h"

namespace {

const char* const Modules[] = {"en", "nl", "fr", "it", "es"};

struct LanguageCase {
  const char* Name;
  const char* Locale;
  const char* ProgramName;  // the modules are copied under this name too
  bool WithModules;
  const wchar_t* EditCaption;  // butEditPB1 in the chosen language
};

class LanguageChoice : public testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageChoice, MainWindowSpeaksTheChosenLanguage) {
  const LanguageCase& C = GetParam();
  QV_ONLY_IN_LOCALE(C.Locale);
  const std::string Folder = ScratchFolder(std::string("lang-") + C.Name);
  const std::string Program = C.ProgramName;
  InstallProgram(Folder, Program);
  if (C.WithModules)
    for (const char* M : Modules) CopyInto(BuildFile(std::string("Quorvale.") + M), Folder, Program + "." + M);
  TStartedProgram P(Folder + "\\" + Program + ".exe");
  HWND Main = P.WaitForWindow("QVForm");
  ASSERT_TRUE(Main);
  EXPECT_TRUE(WaitUntil([&] { return HasChildText(Main, C.EditCaption); })) << C.Locale;
  // The caption is composed in the code after the layout's text.
  EXPECT_EQ(TextOf(Main).substr(TextOf(Main).size() - 8), L" - V1.04");
  PostMessageA(Main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(P.Ended());
}

INSTANTIATE_TEST_SUITE_P(
    Locales, LanguageChoice,
    testing::Values(LanguageCase{"German", "de_DE.UTF-8", "Quorvale", true, L"&Bearbeiten"},
                    LanguageCase{"AmericanEnglish", "en_US.UTF-8", "Quorvale", true, L"&Edit"},
                    LanguageCase{"BritishEnglish", "en_GB.UTF-8", "Quorvale", true, L"&Edit"},
                    LanguageCase{"SwissFrench", "fr_CH.UTF-8", "Quorvale", true, L"&Modifier"},
                    LanguageCase{"Dutch", "nl_NL.UTF-8", "Quorvale", true, L"&Bewerken"},
                    LanguageCase{"Italian", "it_IT.UTF-8", "Quorvale", true, L"&Modifica"},
                    LanguageCase{"Spanish", "es_ES.UTF-8", "Quorvale", true, L"&Editar"},
                    LanguageCase{"NoModuleForJapanese", "ja_JP.UTF-8", "Quorvale", true, L"&Bearbeiten"},
                    LanguageCase{"EnglishWithoutModules", "en_US.UTF-8", "Quorvale", false, L"&Bearbeiten"},
                    LanguageCase{"RenamedProgram", "en_US.UTF-8", "Telefon", true, L"&Edit"}),
    [](const testing::TestParamInfo<LanguageCase>& I) { return std::string(I.param.Name); });

}  // namespace
