// The three dialog kinds in the built-in German and in English: caption,
// icon, buttons and their texts, the default button, and what Enter, Escape
// and the close box answer; and the picture loader's refusal in the language
// of the module.
#include <gtest/gtest.h>

#include "program_driver_win.h"

namespace {

constexpr int IconId = 100, TextId = 101;
enum { ExitYes = 10, ExitNo = 11, ExitNone = 12, ExitClosed = 20 };

enum TInput { inClickFirst, inEnter, inEscape, inCloseBox };

struct DialogCase {
  const char* Name;
  const char* Locale;
  const char* Kind;
  const wchar_t* Caption;
  bool Icon;
  std::vector<std::pair<int, const wchar_t*>> Buttons;  // id and text; the first is the default
  TInput Input;
  DWORD Exit;
};

std::string ProbeInstall() {
  const std::string Folder = ScratchFolder("dialogs");
  CopyInto(BuildFile("dialog_probe.exe"), Folder, "dialog_probe.exe");
  for (const char* Module : {"en", "nl", "fr", "it", "es"})
    CopyInto(BuildFile(std::string("Quorvale.") + Module), Folder, std::string("dialog_probe.") + Module);
  return Folder + "\\dialog_probe.exe";
}

void Press(HWND Dialog, TInput Input, int FirstButton) {
  // Keys go to the focused button, where the dialog's own loop sees them.
  HWND Focus = GetDlgItem(Dialog, FirstButton);
  switch (Input) {
    case inClickFirst:
      SendMessageA(Focus, BM_CLICK, 0, 0);
      break;
    case inEnter:
    case inEscape: {
      const WPARAM Key = Input == inEnter ? VK_RETURN : VK_ESCAPE;
      PostMessageA(Focus, WM_KEYDOWN, Key, 1);
      PostMessageA(Focus, WM_KEYUP, Key, 0xC0000001);
      break;
    }
    case inCloseBox:
      PostMessageA(Dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
  }
}

class MessageDialogs : public testing::TestWithParam<DialogCase> {
 protected:
  static void SetUpTestSuite() { Exe = ProbeInstall(); }
  static std::string Exe;
};
std::string MessageDialogs::Exe;

TEST_P(MessageDialogs, LookAndAnswer) {
  const DialogCase& C = GetParam();
  QV_ONLY_IN_LOCALE(C.Locale);
  TStartedProgram P(Exe, C.Kind);
  HWND Dialog = P.WaitForWindow("#32770");
  ASSERT_TRUE(Dialog);
  EXPECT_EQ(TextOf(Dialog), C.Caption);
  EXPECT_EQ(GetDlgItem(Dialog, IconId) != nullptr, C.Icon);
  EXPECT_FALSE(TextOf(GetDlgItem(Dialog, TextId)).empty());
  for (const auto& B : C.Buttons) EXPECT_EQ(TextOf(GetDlgItem(Dialog, B.first)), B.second) << B.first;
  for (int Id : {IDOK, IDYES, IDNO, IDCANCEL}) {
    const bool Expected = std::any_of(C.Buttons.begin(), C.Buttons.end(), [&](const auto& B) { return B.first == Id; });
    EXPECT_EQ(GetDlgItem(Dialog, Id) != nullptr, Expected) << "button " << Id;
  }
  EXPECT_EQ(LOWORD(SendMessageA(Dialog, DM_GETDEFID, 0, 0)), C.Buttons[0].first);
  // Centred on the screen.
  RECT Rc;
  GetWindowRect(Dialog, &Rc);
  EXPECT_NEAR((Rc.left + Rc.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
  Press(Dialog, C.Input, C.Buttons[0].first);
  ASSERT_TRUE(P.Ended());
  EXPECT_EQ(P.ExitCode(), C.Exit);
}

const DialogCase Cases[] = {
    {"PlainGerman", "de_DE.UTF-8", "plain", L"dialog_probe", false, {{IDOK, L"OK"}}, inEscape, ExitClosed},
    {"PlainEnglishCloseBox", "en_US.UTF-8", "plain", L"dialog_probe", false, {{IDOK, L"OK"}}, inCloseBox, ExitClosed},
    {"ErrorGerman", "de_DE.UTF-8", "error", L"Fehler", true, {{IDOK, L"OK"}}, inEnter, ExitClosed},
    {"ErrorEnglish", "en_US.UTF-8", "error", L"Error", true, {{IDOK, L"OK"}}, inClickFirst, ExitClosed},
    {"ConfirmGermanEnterIsYes", "de_DE.UTF-8", "confirm", L"Bestätigung", true, {{IDYES, L"&Ja"}, {IDNO, L"&Nein"}}, inEnter, ExitYes},
    {"ConfirmGermanEscapeIsNo", "de_DE.UTF-8", "confirm", L"Bestätigung", true, {{IDYES, L"&Ja"}, {IDNO, L"&Nein"}}, inEscape, ExitNo},
    {"ConfirmGermanCloseBoxIsNeither", "de_DE.UTF-8", "confirm", L"Bestätigung", true, {{IDYES, L"&Ja"}, {IDNO, L"&Nein"}}, inCloseBox, ExitNone},
    {"ConfirmEnglishYes", "en_US.UTF-8", "confirm", L"Confirmation", true, {{IDYES, L"&Yes"}, {IDNO, L"&No"}}, inClickFirst, ExitYes},
    {"ConfirmEnglishEscapeIsNo", "en_US.UTF-8", "confirm", L"Confirmation", true, {{IDYES, L"&Yes"}, {IDNO, L"&No"}}, inEscape, ExitNo},
    {"ConfirmEnglishCloseBoxIsNeither", "en_US.UTF-8", "confirm", L"Confirmation", true, {{IDYES, L"&Yes"}, {IDNO, L"&No"}}, inCloseBox, ExitNone},
};

INSTANTIATE_TEST_SUITE_P(Kinds, MessageDialogs, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<DialogCase>& I) { return std::string(I.param.Name); });

struct RefusalCase {
  const char* Name;
  const char* Locale;
  const wchar_t* Caption;
  const wchar_t* Text;
};

class LoaderRefusal : public testing::TestWithParam<RefusalCase> {
 protected:
  static void SetUpTestSuite() { Exe = ProbeInstall(); }
  static std::string Exe;
};
std::string LoaderRefusal::Exe;

TEST_P(LoaderRefusal, SpeaksTheModulesLanguage) {
  const RefusalCase& C = GetParam();
  QV_ONLY_IN_LOCALE(C.Locale);
  TStartedProgram P(Exe, "refusal");
  HWND Dialog = P.WaitForWindow("#32770");
  ASSERT_TRUE(Dialog);
  EXPECT_EQ(TextOf(Dialog), C.Caption);
  EXPECT_EQ(TextOf(GetDlgItem(Dialog, TextId)), C.Text);
  Press(Dialog, inEnter, IDOK);
  ASSERT_TRUE(P.Ended());
}

INSTANTIATE_TEST_SUITE_P(
    Languages, LoaderRefusal,
    testing::Values(RefusalCase{"German", "de_DE.UTF-8", L"Fehler", L"Bild kann nicht in eine Bitmap umgewandelt werden"},
                    RefusalCase{"English", "en_US.UTF-8", L"Error", L"The image cannot be converted to a bitmap"},
                    RefusalCase{"French", "fr_CH.UTF-8", L"Erreur", L"L'image ne peut pas \u00eatre convertie en bitmap"},
                    RefusalCase{"Spanish", "es_ES.UTF-8", L"Error", L"La imagen no se puede convertir en un mapa de bits"}),
    [](const testing::TestParamInfo<RefusalCase>& I) { return std::string(I.param.Name); });

}  // namespace
