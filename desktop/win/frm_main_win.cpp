// The main window's controls and start.
#include "frm_main_win.h"

#include "globals_win.h"
#include "messages_win.h"
#include "pool_platform_win.h"
#include "pool_types.h"
#include "resource_texts.h"
#include "single_instance_win.h"
#include "text_ids.h"
#include "utils.h"

TfrmMain* frmMain = nullptr;

namespace {

// The smallest outer size of the main window that keeps its pages usable.
constexpr int MinMainWidth = 776, MinMainHeight = 400;

// The folder of the program file, with its closing backslash.
std::string ProgramFolder() {
  char Path[MAX_PATH] = {};
  const DWORD Length = GetModuleFileNameA(nullptr, Path, MAX_PATH);
  const std::string Full(Path, Length);
  return Full.substr(0, Full.find_last_of('\\') + 1);
}

}  // namespace

TfrmMain::TfrmMain() : TForm("TFRMMAIN") {
  BindControls({
      {"butProgQV", butProgQV}, {"butReadQV", butReadQV}, {"Image1", Image1}, {"PageControl", PageControl},
      {"TabSheet1", TabSheet1}, {"TabSheet2", TabSheet2}, {"TabSheet3", TabSheet3}, {"lbxPB1", lbxPB1},
      {"lbxPB2", lbxPB2}, {"lbxPics", lbxPics}, {"butEditPB1", butEditPB1}, {"butAddPB1", butAddPB1},
      {"butDelPB1", butDelPB1}, {"butAssignPic", butAssignPic}, {"butRemovePic", butRemovePic},
      {"butEditPB2", butEditPB2}, {"butAddPB2", butAddPB2}, {"butDelPB2", butDelPB2}, {"butAddPic", butAddPic},
      {"butDelPic", butDelPic}, {"lblPicsTitle", lblPicsTitle}, {"edtSIMPIN", edtSIMPIN},
      {"butSetSIMPIN", butSetSIMPIN}, {"panSIMPIN", panSIMPIN}, {"lblSIMPIN", lblSIMPIN},
      {"cbxAlwaysPIN", cbxAlwaysPIN}, {"rbtScroll", rbtScroll}, {"rbtSwitchFont", rbtSwitchFont},
      {"cbxEnhMode", cbxEnhMode}, {"cbxAccustic", cbxAccustic}, {"cbxLED", cbxLED}, {"cbxVibra", cbxVibra},
      {"cbxGPS", cbxGPS}, {"edtBacklightTime", edtBacklightTime}, {"cbxPowersafe", cbxPowersafe},
      {"trbIntensity", trbIntensity}, {"trbContrast", trbContrast}, {"cbxTimezone", cbxTimezone},
      {"butCaptureTimezone", butCaptureTimezone}, {"cbxLanguages", cbxLanguages}, {"cbxRingtones", cbxRingtones},
      {"butTestMelody", butTestMelody}});
  BindMenuItem("mnuFile", mnuFile);
  BindMenuItem("mnuImport", mnuImport);
  BindMenuItem("mnuExport", mnuExport);
  BindMenuItem("mnuExit", mnuExit);
  BindDialog("OpenDialog", OpenDialog);
  BindDialog("SaveDialog", SaveDialog);
  On("FormCreate", [this](TEvent&) { FormCreate(); });
  On("FormShow", [this](TEvent&) { FormShow(); });
  On("mnuExitClick", [this](TEvent&) { Close(); });
  On("FormCloseQuery", [this](TEvent&) { FormCloseQuery(); });
  On("FormDestroy", [this](TEvent&) { FormDestroy(); });
  On("FormCanResize", [](TEvent& E) { E.Allow = E.NewWidth >= MinMainWidth && E.NewHeight >= MinMainHeight; });
  On("FormResize", [this](TEvent&) { InvalidateRect(lbxPB1, nullptr, TRUE); });
  On("butReadQVClick", [this](TEvent&) { butReadQVClick(); });
  On("butProgQVClick", [this](TEvent&) { butProgQVClick(); });
  On("mnuFileClick", [this](TEvent&) { mnuFileClick(); });
  On("mnuImportClick", [this](TEvent&) { mnuImportClick(); });
  On("mnuExportClick", [this](TEvent&) { mnuExportClick(); });
  OnPhonebookEvents();
  OnPictureDragEvents();
  OnSettingsEvents();
  OnPictureListEvents();
}

void TfrmMain::FormCreate() {
  StoreMainWindow(Handle());
  DataFileName = ProgramFolder() + "Quorvale.qvd";
  char Caption[256] = {};
  GetWindowTextA(Handle(), Caption, sizeof(Caption));
  SetWindowTextA(Handle(), (std::string(Caption) + " - " + VersionText(ProgramVersion)).c_str());
  FDropIndex = -1;
  InstallDesktopPoolPlatform();
  FDataPool = std::make_unique<TQVDP_ALL>();
  FDataPool->OnChange = [this](TQVDP_ALL*, TPoolIndex Index) { PoolChanged(Index); };
  FHaveData = false;
}

void TfrmMain::FormShow() {
  SetWindowTextA(lblSIMPIN, ResourceText(PinNeedsPhoneTextId).c_str());
  UpdateButtons();
  PostMessageA(Handle(), WM_AFTERSHOW, 0, 0);
}

void TfrmMain::WMActivateInstance() {
  if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
  SetForegroundWindow(Handle());
  BringWindowToTop(Handle());
}

LRESULT TfrmMain::HandleMessage(UINT Msg, WPARAM WParam, LPARAM, bool& Handled) {
  Handled = true;
  switch (Msg) {
    case WM_AFTERSHOW:
      WMAfterShow();
      return 0;
    case WM_ACTIVATEINSTANCE:
      WMActivateInstance();
      return 0;
    case WM_QUERYENDSESSION:
      return WMQueryEndSession();
    case WM_ENDSESSION:
      WMEndSession(WParam != FALSE);
      return 0;
  }
  Handled = false;
  return 0;
}
