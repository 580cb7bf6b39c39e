// The settings page: ShowSettings fills it from the configuration pool, and
// every handler stores the user's change through the pool's setters without
// announcing it back (Notify false). While ShowSettings runs (FUpdating) the
// handlers that its filling sets off store nothing and send nothing; only the
// backlight edit still takes its colour.
//
// ShowSettings and the melody trial disable the main window while they run
// and then restore the state they found, not simply enable it: both also run
// while a read or write dialog is open, which keeps the main window disabled
// so that nothing can change or free the pools under its transfer.
#include <windows.h>

#include <string>

#include "edit_text_win.h"
#include "frm_main_win.h"
#include "message_dialogs_win.h"
#include "qvdp_config.h"
#include "qvdp_ringtones.h"
#include "qvprot_api.h"
#include "settings_rules.h"

namespace {

TQVDP_CONFIG* ConfigPool(TQVDP_ALL& Data) { return static_cast<TQVDP_CONFIG*>(Data.Pools(piConfig)); }

bool IsChecked(HWND Button) { return SendMessageA(Button, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetChecked(HWND Button, bool Checked) {
  SendMessageA(Button, BM_SETCHECK, Checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
int Selected(HWND Combo) { return static_cast<int>(SendMessageA(Combo, CB_GETCURSEL, 0, 0)); }
// 0 to 255: the sliders' range.
uint8_t SliderPosition(HWND Slider) { return static_cast<uint8_t>(SendMessageA(Slider, TBM_GETPOS, 0, 0)); }

void SelectStored(HWND Combo, int Stored) {
  const int Index = StoredListIndex(Stored, static_cast<int>(SendMessageA(Combo, CB_GETCOUNT, 0, 0)));
  if (Index >= 0) SendMessageA(Combo, CB_SETCURSEL, static_cast<WPARAM>(Index), 0);
}

// Runs Work with the window disabled and gives it back the state it had.
template <typename TWork>
void WithWindowDisabled(HWND Window, TWork Work) {
  const bool WasEnabled = IsWindowEnabled(Window) != FALSE;
  EnableWindow(Window, FALSE);
  Work();
  EnableWindow(Window, WasEnabled);
}

}  // namespace

void TfrmMain::OnSettingsEvents() {
  // A check box's handler stores its flag; Inverted for the alert kinds,
  // whose flags say "off".
  const auto FlagBox = [this](const char* Handler, HWND& Box, uint8_t Bit, bool Inverted) {
    On(Handler, [this, &Box, Bit, Inverted](TEvent&) {
      if (!FUpdating) SetConfigFlag(Bit, IsChecked(Box) != Inverted);
    });
  };
  FlagBox("cbxAlwaysPINClick", cbxAlwaysPIN, flAlwaysAskPin, false);
  FlagBox("cbxEnhModeClick", cbxEnhMode, flEnhancedMode, false);
  FlagBox("cbxAccusticClick", cbxAccustic, flAcousticOff, true);
  FlagBox("cbxLEDClick", cbxLED, flOpticalOff, true);
  FlagBox("cbxVibraClick", cbxVibra, flVibrationOff, true);
  FlagBox("cbxGPSClick", cbxGPS, flGpsTone, false);
  FlagBox("cbxPowersafeClick", cbxPowersafe, flPowerSave, false);
  On("rbtScrollClick", [this](TEvent&) {
    if (FUpdating) return;
    SetConfigFlag(flNumberViewNone, false);
    SetConfigFlag(flNumberViewScroll, true);
  });
  On("rbtSwitchFontClick", [this](TEvent&) {
    if (FUpdating) return;
    SetConfigFlag(flNumberViewNone, false);
    SetConfigFlag(flNumberViewScroll, false);
  });
  On("edtBacklightTimeKeyPress", [this](TEvent& E) {
    if (!FUpdating && !BacklightKeyAccepted(*E.Key, EditText(edtBacklightTime))) *E.Key = 0;
  });
  On("edtBacklightTimeChange", [this](TEvent&) { edtBacklightTimeChange(); });
  On("trbContrastChange", [this](TEvent&) {
    if (!FUpdating) ConfigPool(*FDataPool)->SetContrast(SliderPosition(trbContrast), false);
  });
  On("trbIntensityChange", [this](TEvent&) {
    if (!FUpdating) ConfigPool(*FDataPool)->SetIntensity(SliderPosition(trbIntensity), false);
  });
  On("cbxTimezoneChange", [this](TEvent&) {
    if (!FUpdating)
      ConfigPool(*FDataPool)->SetTimeZone(static_cast<int16_t>(TimeZoneMinutes(Selected(cbxTimezone))), false);
  });
  On("butCaptureTimezoneClick", [this](TEvent&) {
    if (!FUpdating) butCaptureTimezoneClick();
  });
  On("cbxLanguagesChange", [this](TEvent&) {
    if (!FUpdating) ConfigPool(*FDataPool)->SetLanguage(static_cast<uint8_t>(Selected(cbxLanguages)), false);
  });
  On("cbxRingtonesChange", [this](TEvent&) {
    if (FUpdating) return;
    ConfigPool(*FDataPool)->SetRingtone(static_cast<uint8_t>(Selected(cbxRingtones)), false);
    EnableWindow(butTestMelody, Selected(cbxRingtones) > 0);
  });
  On("butTestMelodyClick", [this](TEvent&) {
    if (!FUpdating) butTestMelodyClick();
  });
  On("edtSIMPINKeyPress", [this](TEvent& E) {
    if (!FUpdating && !PinKeyAccepted(*E.Key)) *E.Key = 0;
  });
  On("edtSIMPINChange", [this](TEvent&) {
    if (!FUpdating) EnableWindow(butSetSIMPIN, PinSendable(EditText(edtSIMPIN)));
  });
  On("butSetSIMPINClick", [this](TEvent&) {
    if (!FUpdating) butSetSIMPINClick();
  });
}

void TfrmMain::SetConfigFlag(uint8_t Bit, bool On) {
  auto* Config = ConfigPool(*FDataPool);
  if (On) Config->SetFlag(Bit, false);
  else Config->ClearFlag(Bit, false);
}

void TfrmMain::ShowSettings() {
  WithWindowDisabled(Handle(), [this] {
    FUpdating = true;
    const auto* Config = ConfigPool(*FDataPool);
    const TPhoneSettings& S = Config->FSettings;
    const bool NoView = Config->GetFlag(flNumberViewNone), Scroll = Config->GetFlag(flNumberViewScroll);
    SetChecked(rbtScroll, !NoView && Scroll);
    SetChecked(rbtSwitchFont, !NoView && !Scroll);
    SetChecked(cbxAlwaysPIN, Config->GetFlag(flAlwaysAskPin));
    SetChecked(cbxEnhMode, Config->GetFlag(flEnhancedMode));
    SetChecked(cbxAccustic, !Config->GetFlag(flAcousticOff));
    SetChecked(cbxLED, !Config->GetFlag(flOpticalOff));
    SetChecked(cbxVibra, !Config->GetFlag(flVibrationOff));
    SetChecked(cbxGPS, Config->GetFlag(flGpsTone));
    SetWindowTextA(edtBacklightTime, std::to_string(S.BacklightTime).c_str());
    SendMessageA(trbContrast, TBM_SETPOS, TRUE, S.Contrast);
    SendMessageA(trbIntensity, TBM_SETPOS, TRUE, S.Intensity);
    SetChecked(cbxPowersafe, Config->GetFlag(flPowerSave));
    SendMessageA(cbxTimezone, CB_SETCURSEL, static_cast<WPARAM>(TimeZoneIndex(S.TimeZone)), 0);
    SelectStored(cbxLanguages, S.Language);
    SelectStored(cbxRingtones, S.Ringtone);
    EnableWindow(butTestMelody, Selected(cbxRingtones) > 0);
    FUpdating = false;
  });
}

void TfrmMain::edtBacklightTimeChange() {
  const std::string Text = EditText(edtBacklightTime);
  const bool Storable = BacklightStorable(Text);
  SetControlColor(edtBacklightTime, Storable ? RGB(255, 255, 255) : RGB(255, 0, 0));
  if (Storable && !FUpdating)
    ConfigPool(*FDataPool)->SetBacklightTime(static_cast<uint16_t>(BacklightValue(Text)), false);
}

void TfrmMain::butCaptureTimezoneClick() {
  TIME_ZONE_INFORMATION Zone{};
  GetTimeZoneInformation(&Zone);
  // A zone beyond the list's ends keeps the selection and stores nothing.
  const std::optional<int> Index = CapturedTimeZoneIndex(StandardOffset(Zone.Bias, Zone.StandardBias));
  if (!Index) return;
  SendMessageA(cbxTimezone, CB_SETCURSEL, static_cast<WPARAM>(*Index), 0);
  ConfigPool(*FDataPool)->SetTimeZone(static_cast<int16_t>(TimeZoneMinutes(*Index)), false);
}

void TfrmMain::butSetSIMPINClick() {
  if (GetActiveLink() == lkNone) return;
  // The key filter does not see a paste: only 4 to 6 digits go to the phone.
  const std::string Pin = EditText(edtSIMPIN);
  if (!PinSendable(Pin)) return;
  if (ConfigPool(*FDataPool)->SendSimPin(Pin))
    SetWindowTextA(edtSIMPIN, "");
  else
    ShowPlainMessage(FDataPool->ErrorText());
}

void TfrmMain::butTestMelodyClick() {
  const int Melody = Selected(cbxRingtones);
  auto* Ringtones = static_cast<TQVDP_RINGTONES*>(FDataPool->Pools(piRingtones));
  WithWindowDisabled(Handle(), [&] { Ringtones->PlayMelody(Melody); });
}
