// The settings page driven from outside: filling it from the data file
// stores and sends nothing, the time-zone items of stored offsets, the
// handlers' changes in the data file at close, each check box's and radio
// button's own flag, the melody trial, the live display values and
// the SIM PIN on the simulated phone, the main window kept disabled under a
// transfer dialog, and the capture of the PC's zone (one pass per zone).
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "main_window_fixture_win.h"
#include "qvdp_all.h"
#include "image_fixtures.h"
#include "qvdp_config.h"
#include "qvdp_ringtones.h"

namespace {

TQVDP_CONFIG* Config(TQVDP_ALL& Data) { return static_cast<TQVDP_CONFIG*>(Data.Pools(piConfig)); }

uint32_t Bit(int N) { return 1u << N; }

int Selection(HWND Combo) { return static_cast<int>(SendMessageW(Combo, CB_GETCURSEL, 0, 0)); }
int Position(HWND Slider) { return static_cast<int>(SendMessageW(Slider, TBM_GETPOS, 0, 0)); }

std::wstring SelectedText(HWND Combo) {
  const int Index = Selection(Combo);
  if (Index < 0) return L"(none)";
  return ListItems(Combo).at(static_cast<size_t>(Index));
}

// Settings with a pattern in the bytes that belong to the phone alone.
TPhoneSettings StoredSettings() {
  TPhoneSettings S;
  std::memset(&S, 0xA5, sizeof(S));
  S.Flags = Bit(flNumberViewNone) | Bit(flAlwaysAskPin) | Bit(flAcousticOff) | Bit(flGpsTone) | Bit(flPowerSave) |
            Bit(flEnhancedMode) | Bit(30);
  S.BacklightTime = 5;
  S.Contrast = 100;
  S.Intensity = 200;
  S.TimeZone = 60;
  S.Language = 0;
  S.Ringtone = 0;
  return S;
}

class TSettingsPageTest : public TMainWindowTest {
 protected:
  void StartWith(const TPhoneSettings& Settings) {
    WriteDataFileWith(DataFile(), [&](TQVDP_ALL& Data) { Config(Data)->FSettings = Settings; });
    Start();
    ASSERT_TRUE(WaitForPages());
  }
  // The settings page in front, so that its controls can be seen on the screen.
  void ShowPage() {
    HWND Tabs = Control("PageControl");
    for (int I = 0; I < 2; ++I) {
      PostMessageW(Tabs, WM_KEYDOWN, VK_RIGHT, 1);
      PostMessageW(Tabs, WM_KEYUP, VK_RIGHT, 0xC0000001);
    }
    ASSERT_TRUE(WaitUntil([&] { return Visible(Control("TabSheet3")); }));
  }
  // The backlight edit's background, beside its short text.
  COLORREF BacklightColor() {
    HWND Edit = Control("edtBacklightTime");
    RECT Rc;
    GetClientRect(Edit, &Rc);
    return PixelAt(Edit, Rc.right - 3, Rc.bottom / 2);
  }
  void SetText(HWND Edit, const wchar_t* Text) { SendMessageW(Edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text)); }
  // Types Keys behind the edit's text (a text set from outside leaves the
  // caret in front).
  void TypeAtEnd(HWND Edit, const std::string& Keys) {
    PostMessageW(Edit, WM_KEYDOWN, VK_END, 1);
    TypeKeys(Edit, Keys);
  }
  void CloseAndLoad(TQVDP_ALL& Saved) {
    PostMessageW(Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(Program->Ended());
    ASSERT_TRUE(Saved.LoadFromFile(DataFile())) << Saved.ErrorText();
  }
  std::string Stored() { return Phone.Stored(); }
};

TEST_F(TSettingsPageTest, FillingThePageShowsTheStoredValuesAndStoresAndSendsNothing) {
  const TPhoneSettings Settings = StoredSettings();
  Phone.Plug();
  StartWith(Settings);
  ASSERT_TRUE(WaitForAttach());
  EXPECT_FALSE(Checked(Control("rbtScroll")));
  EXPECT_FALSE(Checked(Control("rbtSwitchFont")));
  EXPECT_TRUE(Checked(Control("cbxAlwaysPIN")));
  EXPECT_TRUE(Checked(Control("cbxEnhMode")));
  EXPECT_FALSE(Checked(Control("cbxAccustic")));
  EXPECT_TRUE(Checked(Control("cbxLED")));
  EXPECT_TRUE(Checked(Control("cbxVibra")));
  EXPECT_TRUE(Checked(Control("cbxGPS")));
  EXPECT_TRUE(Checked(Control("cbxPowersafe")));
  EXPECT_EQ(TextOf(Control("edtBacklightTime")), L"5");
  EXPECT_EQ(Position(Control("trbContrast")), 100);
  EXPECT_EQ(Position(Control("trbIntensity")), 200);
  EXPECT_EQ(SelectedText(Control("cbxTimezone")), L"+1h");
  EXPECT_TRUE(IsWindowEnabled(Main()));
  ShowPage();
  EXPECT_TRUE(WaitUntil([&] { return BacklightColor() == RGB(255, 0, 0); })) << "5 seconds cannot be stored";

  // Each import fills the page again; successive offsets select different
  // items, so each import's own selection is waited for. An import with a
  // phone attached runs the attach handling again, whose clock requests are
  // all that may reach the phone.
  const std::string StoredBefore = Stored();
  struct Case {
    int16_t Minutes;
    const wchar_t* Shown;
  } Cases[] = {{-720, L"(none)"}, {-90, L"-1h 30 m"}, {45, L"+0h 30m"}, {810, L"(none)"},
               {-700, L"-11h 30m"}, {750, L""},      {780, L""},        {60, L"+1h"}};
  int Previous = Selection(Control("cbxTimezone"));
  TPhoneSettings Last = Settings;
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Minutes);
    Last.TimeZone = C.Minutes;
    const std::string File = Folder + "\\Zone" + std::to_string(C.Minutes + 1000) + ".qvd";
    WriteDataFileWith(File, [&](TQVDP_ALL& Data) { Config(Data)->FSettings = Last; });
    ImportFile(File);
    ASSERT_TRUE(WaitUntil([&] { return Selection(Control("cbxTimezone")) != Previous; }));
    EXPECT_EQ(SelectedText(Control("cbxTimezone")), C.Shown);
    Previous = Selection(Control("cbxTimezone"));
  }
  EXPECT_EQ(Stored(), StoredBefore) << "filling the page sends no live value";
  EXPECT_EQ(Phone.LastRequest().rfind("3 ", 0), 0u) << Phone.LastRequest();
  EXPECT_NE(Phone.LastRequest().rfind("3 8 ", 0), 0u) << "no settings write";
  TQVDP_ALL Saved;
  CloseAndLoad(Saved);
  EXPECT_FALSE(Saved.Pools(piConfig)->FChanged) << "filling the page marks nothing changed";
  EXPECT_EQ(std::memcmp(&Config(Saved)->FSettings, &Last, sizeof(TPhoneSettings)), 0);
}

TEST_F(TSettingsPageTest, HandlersStoreTheUsersChangesWithoutAPhone) {
  StartWith(StoredSettings());
  ShowPage();
  PostClick(Control("rbtSwitchFont"));
  ASSERT_TRUE(WaitUntil([&] { return Checked(Control("rbtSwitchFont")); }));
  PostClick(Control("cbxLED"));
  ASSERT_TRUE(WaitUntil([&] { return !Checked(Control("cbxLED")); }));
  PostClick(Control("cbxGPS"));
  ASSERT_TRUE(WaitUntil([&] { return !Checked(Control("cbxGPS")); }));

  HWND Backlight = Control("edtBacklightTime");
  SetText(Backlight, L"50");
  EXPECT_TRUE(WaitUntil([&] { return BacklightColor() == RGB(255, 255, 255); }));
  SetText(Backlight, L"360");
  TypeAtEnd(Backlight, "5x0");  // 3605 is too long a time, x no digit
  ASSERT_TRUE(WaitUntil([&] { return TextOf(Backlight) == L"3600"; })) << std::string(TextOf(Backlight).begin(), TextOf(Backlight).end());
  EXPECT_EQ(BacklightColor(), RGB(255, 255, 255));
  SetText(Backlight, L"9");
  EXPECT_TRUE(WaitUntil([&] { return BacklightColor() == RGB(255, 0, 0); })) << "9 is not stored";

  MoveSlider(Control("trbContrast"), 77);
  MoveSlider(Control("trbIntensity"), 33);
  SelectComboItem(Control("cbxTimezone"), 34);
  EXPECT_EQ(Phone.Requests(), 0) << "no phone: the live values are only stored";

  TQVDP_ALL Saved;
  CloseAndLoad(Saved);
  TPhoneSettings Expected = StoredSettings();
  Expected.Flags &= ~(Bit(flNumberViewNone) | Bit(flNumberViewScroll) | Bit(flGpsTone));
  Expected.Flags |= Bit(flOpticalOff);
  Expected.BacklightTime = 3600;
  Expected.Contrast = 77;
  Expected.Intensity = 33;
  Expected.TimeZone = 330;
  const TPhoneSettings& Got = Config(Saved)->FSettings;
  EXPECT_EQ(Got.Flags, Expected.Flags);
  EXPECT_EQ(Got.BacklightTime, 3600);
  EXPECT_EQ(Got.TimeZone, 330);
  EXPECT_EQ(std::memcmp(&Got, &Expected, sizeof(TPhoneSettings)), 0) << "the phone's own bytes are untouched";
  EXPECT_TRUE(Saved.Pools(piConfig)->FChanged);
}

// One click on each check box and radio button, each in a run of its own
// from the same flags: the saved flags differ from them exactly as that
// control's own flags say. The start leaves neither radio button checked,
// so that each click changes what it shows.
TEST_F(TSettingsPageTest, EachCheckBoxAndRadioButtonSetsItsOwnFlag) {
  const uint32_t Flags = Bit(flNumberViewNone) | Bit(flNumberViewScroll) | Bit(flAcousticOff) | Bit(flGpsTone) |
                         Bit(flEnhancedMode) | Bit(30);
  const struct {
    const char* Control;
    uint32_t Saved;
  } Cases[] = {
      {"cbxAlwaysPIN", Flags | Bit(flAlwaysAskPin)},
      {"rbtScroll", Flags & ~Bit(flNumberViewNone)},
      {"rbtSwitchFont", Flags & ~(Bit(flNumberViewNone) | Bit(flNumberViewScroll))},
      {"cbxEnhMode", Flags & ~Bit(flEnhancedMode)},
      {"cbxAccustic", Flags & ~Bit(flAcousticOff)},
      {"cbxLED", Flags | Bit(flOpticalOff)},
      {"cbxVibra", Flags | Bit(flVibrationOff)},
      {"cbxGPS", Flags & ~Bit(flGpsTone)},
      {"cbxPowersafe", Flags | Bit(flPowerSave)},
  };
  TPhoneSettings Settings = StoredSettings();
  Settings.Flags = Flags;
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Control);
    ASSERT_NO_FATAL_FAILURE(StartWith(Settings));
    ShowPage();
    const bool Before = Checked(Control(C.Control));
    PostClick(Control(C.Control));
    ASSERT_TRUE(WaitUntil([&] { return Checked(Control(C.Control)) != Before; }));
    TQVDP_ALL Saved;
    ASSERT_NO_FATAL_FAILURE(CloseAndLoad(Saved));
    EXPECT_EQ(Config(Saved)->FSettings.Flags, C.Saved);
    Program.reset();
  }
}

// The trial blocks the window thread for the melody's length; the window is
// disabled meanwhile and enabled again after it. Melody 1 is 5 ms of rest,
// melody 2 1.5 s: only the selected one keeps the window disabled long
// enough to be seen.
TEST_F(TSettingsPageTest, MelodyTrialPlaysTheSelectedMelodyWithTheWindowDisabled) {
  WriteDataFileWith(DataFile(), [](TQVDP_ALL& Data) {
    static_cast<TQVDP_RINGTONES*>(Data.Pools(piRingtones))->FImage =
        InBuffer(MakeImage({MelodyRecord({Note(0, 1)}), MelodyRecord({Note(0, 100), Note(0, 200)})}));
  });
  Start();
  ASSERT_TRUE(WaitForPages());
  ShowPage();
  HWND Ringtones = Control("cbxRingtones");
  ASSERT_TRUE(WaitUntil([&] { return ListItems(Ringtones).size() == 3; }));
  SelectComboItem(Ringtones, 2);
  ASSERT_TRUE(WaitUntil([&] { return Enabled(Control("butTestMelody")); }));
  PostClick(Control("butTestMelody"));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(Main()); })) << "disabled while melody 2 plays";
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(Main()); })) << "and enabled after it";
  EXPECT_EQ(Selection(Ringtones), 2);
}

TEST_F(TSettingsPageTest, LiveValuesRingToneAndSimPinReachTheAttachedPhone) {
  Phone.Plug();
  Start();
  ASSERT_TRUE(WaitForPages());
  ASSERT_TRUE(WaitForAttach());
  // The phone has taken the attach handling's last request (the clock set)
  // before the program has its answer, and a live value moved inside that
  // wait is refused (one request at a time) and not sent again. A first value
  // that reaches the phone shows the wait over.
  ASSERT_TRUE(WaitUntil([&] {
    MoveSlider(Control("trbContrast"), 1);
    return WaitUntil([&] { return Stored().find("contrast=1 ") != std::string::npos; }, 1000);
  }));
  MoveSlider(Control("trbContrast"), 123);
  MoveSlider(Control("trbIntensity"), 45);
  EXPECT_TRUE(WaitUntil([&] { return Stored().find("contrast=123 intensity=45") != std::string::npos; })) << Stored();

  HWND Ringtones = Control("cbxRingtones");
  ASSERT_GE(ListItems(Ringtones).size(), 3u) << "the demo phone has melodies";
  SelectComboItem(Ringtones, 2);
  EXPECT_TRUE(WaitUntil([&] { return Enabled(Control("butTestMelody")); }));
  SelectComboItem(Ringtones, 0);
  EXPECT_TRUE(WaitUntil([&] { return !Enabled(Control("butTestMelody")); }));
  SelectComboItem(Ringtones, 2);

  // The PIN edit hides its text from other programs: what it took shows in
  // the send button and in what reaches the phone.
  HWND Pin = Control("edtSIMPIN"), Send = Control("butSetSIMPIN");
  ASSERT_FALSE(Visible(Control("panSIMPIN")));
  TypeKeys(Pin, "1a2 3");
  EXPECT_FALSE(Enabled(Send));
  TypeKeys(Pin, "4");
  ASSERT_TRUE(WaitUntil([&] { return Enabled(Send); }));
  TypeKeys(Pin, "567");  // the seventh character is refused
  PostClick(Send);
  ASSERT_TRUE(WaitUntil([&] { return !Enabled(Send); })) << "the edit is emptied after the send";
  EXPECT_EQ(Stored().rfind("pin=123456 ", 0), 0u) << Stored();

  // A pasted PIN is not typed: it is sent only as 4 to 6 digits, whatever
  // the click.
  SetText(Pin, L"12ab");
  const int Before = Phone.Requests();
  PostMessageW(GetParent(Send), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Send), BN_CLICKED), reinterpret_cast<LPARAM>(Send));
  TypeAtEnd(Pin, "\b\b\b\b9876");  // once the button is enabled again, the click has been handled
  ASSERT_TRUE(WaitUntil([&] { return Enabled(Send); }));
  EXPECT_EQ(Phone.Requests(), Before);
  EXPECT_EQ(Stored().rfind("pin=123456 ", 0), 0u) << Stored();

  // A send that gets no answer: the no-answer text, the PIN kept.
  Phone.Command("drop");
  PostClick(Send);
  HWND Message = WaitForCaption(L"Quorvale", 30000);
  ASSERT_TRUE(Message);
  EXPECT_EQ(DialogText(Message).rfind(L"Keine Antwort vom Quorvale erhalten", 0), 0u);
  AnswerDialog(Message, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !Showing(L"Quorvale"); }));
  EXPECT_TRUE(Enabled(Send)) << "the PIN stays in the edit";

  TQVDP_ALL Saved;
  CloseAndLoad(Saved);
  EXPECT_EQ(Config(Saved)->FSettings.Contrast, 123);
  EXPECT_EQ(Config(Saved)->FSettings.Ringtone, 2);
}

// The demo phone read at the first start: the page shows what the read
// stored, and screenshots of both pages go to the build's screenshots.
TEST_F(TSettingsPageTest, PageShowsTheSettingsReadFromTheDemoPhone) {
  Phone.Plug();
  Start();
  ASSERT_TRUE(WaitForPages());
  ASSERT_TRUE(WaitForAttach());
  TQVDP_ALL Read;
  ASSERT_TRUE(Read.LoadFromFile(DataFile())) << Read.ErrorText();
  const TPhoneSettings& S = Config(Read)->FSettings;
  EXPECT_EQ(TextOf(Control("edtBacklightTime")), std::to_wstring(S.BacklightTime));
  EXPECT_EQ(Position(Control("trbContrast")), S.Contrast);
  EXPECT_EQ(Position(Control("trbIntensity")), S.Intensity);
  EXPECT_EQ(Selection(Control("cbxTimezone")), (S.TimeZone + 690) / 30);
  EXPECT_EQ(Selection(Control("cbxLanguages")), S.Language);
  EXPECT_EQ(Selection(Control("cbxRingtones")), S.Ringtone);
  const bool NoView = (S.Flags & Bit(flNumberViewNone)) != 0, Scroll = (S.Flags & Bit(flNumberViewScroll)) != 0;
  EXPECT_EQ(Checked(Control("rbtScroll")), !NoView && Scroll);
  EXPECT_EQ(Checked(Control("rbtSwitchFont")), !NoView && !Scroll);
  EXPECT_EQ(Checked(Control("cbxAccustic")), (S.Flags & Bit(flAcousticOff)) == 0);
  EXPECT_EQ(Checked(Control("cbxEnhMode")), (S.Flags & Bit(flEnhancedMode)) != 0);
  EXPECT_EQ(Enabled(Control("butTestMelody")), S.Ringtone > 0);
  const std::string Shots = QV_SCREENSHOT_DIR;
  CreateDirectoryA(Shots.c_str(), nullptr);
  HWND PB1 = Control("lbxPB1");
  ASSERT_TRUE(WaitUntil([&] { return PixelAt(PB1, 30, 5) == RGB(255, 255, 255); })) << "the rows are drawn";
  SaveScreenshot(Main(), Shots + "/demo-phone-phonebook1.bmp");
  ShowPage();
  ASSERT_TRUE(WaitUntil([&] { return PixelAt(PB1, 30, 5) != RGB(255, 255, 255); })) << "the page is drawn";
  SaveScreenshot(Main(), Shots + "/demo-phone-settings.bmp");
}

TEST_F(TSettingsPageTest, MainWindowStaysDisabledWhileAWriteRefillsThePage) {
  Phone.Plug();
  Start();
  ASSERT_TRUE(WaitForPages());
  ASSERT_TRUE(WaitForAttach());
  PostClick(Control("butProgQV"));
  HWND Dialog = WaitForCaption(WriteCaption);
  ASSERT_TRUE(Dialog);
  PostClick(LayoutControl(Dialog, "TFRMQVWRITE", "butPROG"));
  // A modal dialog's owner is enabled just before the dialog is hidden, so
  // that the activation goes back to it: the main window seen enabled under
  // the dialog is wrong only when the write still went on after that, that is
  // when the phone got requests afterwards.
  int RequestsWhenSeenEnabled = -1;
  ASSERT_TRUE(WaitUntil([&] {
    if (!Showing(WriteCaption)) return true;
    if (RequestsWhenSeenEnabled < 0 && IsWindowEnabled(Main())) RequestsWhenSeenEnabled = Phone.Requests();
    return false;
  }, 60000));
  if (RequestsWhenSeenEnabled >= 0) {
    EXPECT_EQ(Phone.Requests(), RequestsWhenSeenEnabled) << "enabled while the write went on";
  }
  EXPECT_FALSE(Showing(ErrorCaption));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(Main()) != FALSE; })) << "enabled again after the dialog";
}

// The PC's zone comes from the Wine process's TZ, so each zone is a pass of
// its own (CTest sets TZ); other passes skip this case.
TEST_F(TSettingsPageTest, CaptureTakesThePcsStandardOffsetAndNothingBeyondTheList) {
  struct Zone {
    const char* Tz;
    const wchar_t* Shown;
    int16_t Stored;
  } Zones[] = {
      {"Europe/Berlin", L"+1h", 60},         // in summer as well: daylight saving plays no part
      {"Asia/Kolkata", L"+5h 30m", 330},
      {"Asia/Kathmandu", L"+5h 30m", 330},   // +5:45
      {"America/St_Johns", L"-3h 30m", -210},
      {"Pacific/Kiritimati", L"+/-0h", 0},   // +14 h has no item: the selection and the stored zone stay
  };
  const char* Tz = std::getenv("TZ");
  const Zone* Pass = nullptr;
  for (const Zone& Z : Zones)
    if (Tz && std::strcmp(Tz, Z.Tz) == 0) Pass = &Z;
  if (!Pass) GTEST_SKIP() << "runs in the passes with TZ set to one of the zones";
  TPhoneSettings Settings = StoredSettings();
  Settings.TimeZone = 0;
  Settings.BacklightTime = 100;
  StartWith(Settings);
  PostClick(Control("butCaptureTimezone"));
  // Typing after the click: once the edit shows it, the click has been handled.
  TypeAtEnd(Control("edtBacklightTime"), "\b");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(Control("edtBacklightTime")) == L"10"; }));
  EXPECT_EQ(SelectedText(Control("cbxTimezone")), Pass->Shown);
  TQVDP_ALL Saved;
  CloseAndLoad(Saved);
  EXPECT_EQ(Config(Saved)->FSettings.TimeZone, Pass->Stored);
}

}  // namespace
