// The program entry of Quorvale.exe: language module, Windows version gate,
// single instance, the six windows in their fixed order, the message loop,
// then the single-instance memory is released and the windows destroyed.
// Each window is created once and lives until the program ends; the ones
// created after the main window are owned by it.
#include <windows.h>

#include <string>

#include "frm_edt_pb_item_win.h"
#include "frm_first_load_win.h"
#include "frm_main_win.h"
#include "frm_pic_creator_win.h"
#include "frm_qv_read_win.h"
#include "frm_qv_write_win.h"
#include "language_module_win.h"
#include "message_dialogs_win.h"
#include "resource_source_win.h"
#include "resource_texts.h"
#include "single_instance_win.h"
#include "stream.h"
#include "text_ids.h"
#include "windows_version.h"

namespace {

// The other five first: they are owned by the main window, whose destruction
// closes the link and frees the data.
void DestroyWindows() {
  TForm* const Windows[] = {frmQVWrite, frmQVRead, frmFirstLoad, frmPicCreator, frmEdtPBItem, frmMain};
  for (TForm* W : Windows)
    if (W) W->Destroy();
  for (TForm* W : Windows) delete W;
}

template <class TWindow>
TWindow* CreateWindowObject() {
  auto* W = new TWindow();
  try {
    W->Create();
  } catch (...) {
    delete W;
    throw;
  }
  return W;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  SetResourceModule(LoadLanguageModule());
  std::string WindowsName;
  if (IsRefusedWindows(DetectWindows(WindowsName))) {
    ShowPlainMessage(FormatText(ResourceText(UnsupportedWindowsTextId), WindowsName));
    return 0;
  }
  if (!CheckSingleInstance()) return 0;
  int ExitCode = 0;
  try {
    frmMain = CreateWindowObject<TfrmMain>();
    frmEdtPBItem = CreateWindowObject<TfrmEdtPBItem>();
    frmPicCreator = CreateWindowObject<TfrmPicCreator>();
    frmFirstLoad = CreateWindowObject<TfrmFirstLoad>();
    frmQVRead = CreateWindowObject<TfrmQVRead>();
    frmQVWrite = CreateWindowObject<TfrmQVWrite>();
    frmMain->Show();
    RunMessageLoop();
  } catch (const TLayoutError& E) {
    // A language module that lacks a layout or a control the program binds:
    // the program cannot run with it, and says which one.
    ShowErrorMessage(E.what());
    ExitCode = 1;
  }
  ReleaseSingleInstance();
  DestroyWindows();
  return ExitCode;
}
