// The main window's start-up sequence and its end. The sequence runs from
// WM_AFTERSHOW, once the window is on the screen: callbacks, link, then the
// data file or, at a first start, the wait for the phone and the first read.
// Every way it gives up tells the application to end without running the
// window's close handling, so nothing is saved then.
#include <windows.h>

#include "cursor_win.h"
#include "frm_first_load_win.h"
#include "frm_main_win.h"
#include "globals_win.h"
#include "message_dialogs_win.h"
#include "qvprot_api.h"
#include "resource_texts.h"
#include "text_ids.h"

namespace {

bool FileExists(const std::string& FileName) {
  const DWORD Attributes = GetFileAttributesA(FileName.c_str());
  return Attributes != INVALID_FILE_ATTRIBUTES && !(Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void TfrmMain::WMAfterShow() {
  // Through the link's own callback type, so that a handler of another
  // calling convention does not compile in the 32-bit build.
  const TLinkNotifyCallback Attached = &LinkAttached, Detached = &LinkDetached;
  SetCallbackFunction(lcUsbAttached, reinterpret_cast<void*>(Attached), LinkUserData());
  SetCallbackFunction(lcUsbDetached, reinterpret_cast<void*>(Detached), LinkUserData());
  if (OpenCommunication(0) != ocOk) {
    ShowPlainMessage(ResourceText(CannotOpenUsbTextId));
    TerminateApplication();
    return;
  }
  if (FileExists(DataFileName)) {
    if (!LoadDataFile()) {
      TerminateApplication();
      return;
    }
  } else {
    if (GetActiveLink() == lkNone && !frmFirstLoad->Execute()) {
      TerminateApplication();
      return;
    }
    if (!RunReadDialog()) {
      TerminateApplication();
      return;
    }
    FHaveData = true;
    SaveDataFile();
  }
  ShowWindow(PageControl, FHaveData ? SW_SHOW : SW_HIDE);
  // A phone that was plugged in before the link opened is not always announced.
  if (GetActiveLink() != lkNone) LinkAttached(LinkUserData());
}

bool TfrmMain::LoadDataFile() {
  ShowHourglass();
  FHaveData = FDataPool->LoadFromFile(DataFileName);
  if (!FHaveData) {
    ShowDefaultCursor();
    ShowErrorMessage(FDataPool->ErrorText());
  }
  ShowDefaultCursor();
  return FHaveData;
}

void TfrmMain::SaveDataFile() {
  if (FHaveData && !FDataPool->SaveToFile(DataFileName)) ShowErrorMessage(FDataPool->ErrorText());
}

// The window closes whatever the save gave.
void TfrmMain::FormCloseQuery() { SaveDataFile(); }

void TfrmMain::FormDestroy() {
  CloseCommunication();
  FDataPool.reset();
}
