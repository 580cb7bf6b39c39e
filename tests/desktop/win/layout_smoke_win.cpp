// Test program for the per-language smoke test: creates the desktop
// program's six windows, with their real window classes and so with every
// binding the program makes, from one source of layouts (the program file
// or a language module, named by the argument and loaded as a data file, as
// the program loads its module), then shows them one at a time: the main
// window once per page, the transfer dialogs with a step text and progress.
// For each view it prints "shown NAME LEFT TOP WIDTH HEIGHT" and waits for a
// line on its input, so the script can take a screenshot. A layout the program cannot
// use, or a window that does not appear, ends it with exit code 1 and the cause.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "frm_edt_pb_item_win.h"
#include "frm_first_load_win.h"
#include "frm_main_win.h"
#include "frm_pic_creator_win.h"
#include "frm_qv_read_win.h"
#include "frm_qv_write_win.h"
#include "messages_win.h"
#include "resource_source_win.h"
#include "utils.h"

namespace {

// Runs what is queued, then paints every window still waiting for it. A
// window's deferred work after showing (the main window's start-up with the
// phone, the transfers) is behaviour, not layout, and is dropped here.
void Settle(HWND Window) {
  MSG Msg;
  for (int Round = 0; Round < 3; ++Round) {
    while (PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) {
      if (Msg.message == WM_AFTERSHOW) continue;
      TranslateMessage(&Msg);
      DispatchMessageA(&Msg);
    }
    RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  }
  GdiFlush();
}

bool NotShown = false;

// Tells the script that Window shows, as Name, and waits for its go-ahead;
// false when the script has ended or the window is not on the screen. The
// script cuts the picture out of the whole screen, so a picture alone would
// not prove that the window appeared: it must be visible, and on top at its
// centre.
bool Shoot(TForm* Window, const std::string& Name) {
  HWND Handle = Window->Handle();
  Settle(Handle);
  RECT Rc;
  GetWindowRect(Handle, &Rc);
  const POINT Centre{(Rc.left + Rc.right) / 2, (Rc.top + Rc.bottom) / 2};
  HWND AtCentre = WindowFromPoint(Centre);
  if (!IsWindowVisible(Handle) || IsRectEmpty(&Rc) || !AtCentre || GetAncestor(AtCentre, GA_ROOT) != Handle) {
    std::printf("%s did not appear on the screen\n", Name.c_str());
    NotShown = true;
    return false;
  }
  std::printf("shown %s %ld %ld %ld %ld\n", Name.c_str(), Rc.left, Rc.top, Rc.right - Rc.left, Rc.bottom - Rc.top);
  std::fflush(stdout);
  char Line[16];
  return std::fgets(Line, sizeof(Line), stdin) != nullptr;
}

// Selects a page the way a click on its tab does.
void SelectPage(HWND PageControl, int Page) {
  SendMessageA(PageControl, TCM_SETCURSEL, Page, 0);
  NMHDR Notify{PageControl, static_cast<UINT_PTR>(GetDlgCtrlID(PageControl)), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(GetParent(PageControl), WM_NOTIFY, Notify.idFrom, reinterpret_cast<LPARAM>(&Notify));
}

std::string Beside(const std::string& Name) {
  char Path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, Path, MAX_PATH);
  std::string Folder(Path);
  return Folder.substr(0, Folder.find_last_of('\\') + 1) + Name;
}

}  // namespace

int main(int Argc, char** Argv) {
  if (Argc != 2) {
    std::fprintf(stderr, "usage: layout_smoke SOURCE (the program file or a language module)\n");
    return 2;
  }
  HMODULE Source = LoadLibraryExA(Beside(Argv[1]).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!Source) {
    std::printf("cannot load %s (error %lu)\n", Argv[1], GetLastError());
    return 1;
  }
  SetResourceModule(Source);
  try {
    frmMain = new TfrmMain();
    frmMain->Create();
    frmEdtPBItem = new TfrmEdtPBItem();
    frmEdtPBItem->Create();
    frmPicCreator = new TfrmPicCreator();
    frmPicCreator->Create();
    frmFirstLoad = new TfrmFirstLoad();
    frmFirstLoad->Create();
    frmQVRead = new TfrmQVRead();
    frmQVRead->Create();
    frmQVWrite = new TfrmQVWrite();
    frmQVWrite->Create();
  } catch (const TLayoutError& E) {
    std::printf("%s\n", E.what());
    return 1;
  }
  TForm* const Windows[] = {frmMain, frmEdtPBItem, frmPicCreator, frmFirstLoad, frmQVRead, frmQVWrite};
  bool Going = true;
  for (TForm* W : Windows) {
    if (!Going) break;
    W->Show();
    if (W == frmMain) {
      // The pages are hidden until the program has data; each is shown as
      // a user sees it.
      ShowWindow(frmMain->PageControl, SW_SHOW);
      const char* const Pages[] = {"TFRMMAIN.page1", "TFRMMAIN.page2", "TFRMMAIN.page3"};
      for (int Page = 0; Page < 3 && Going; ++Page) {
        SelectPage(frmMain->PageControl, Page);
        Going = Shoot(W, Pages[Page]);
      }
    } else if (W == frmQVRead) {
      SetWindowTextA(frmQVRead->Label1, ReadStepText(piPictures).c_str());
      SendMessageA(frmQVRead->ProgressBar, PBM_SETPOS, 40, 0);
      Going = Shoot(W, W->LayoutName());
    } else if (W == frmQVWrite) {
      Going = Shoot(W, W->LayoutName());
      // Writing: the progress panel in place of the choice.
      ShowWindow(frmQVWrite->panIdle, SW_HIDE);
      ShowWindow(frmQVWrite->panAction, SW_SHOW);
      SetWindowTextA(frmQVWrite->Label1, WriteStepText(piPhonebook2).c_str());
      SendMessageA(frmQVWrite->ProgressBar, PBM_SETPOS, 60, 0);
      Going = Going && Shoot(W, "TFRMQVWRITE.writing");
    } else {
      Going = Shoot(W, W->LayoutName());
    }
    ShowWindow(W->Handle(), SW_HIDE);
    Settle(W->Handle());
  }
  for (TForm* W : Windows) W->Destroy();
  for (TForm* W : Windows) delete W;
  return NotShown ? 1 : 0;
}
