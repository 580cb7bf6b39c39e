// TForm: showing windows, the modal loop and the thread's message loop.
#include "form_win.h"

#include "form_internal_win.h"

using namespace form_detail;

void TForm::Show() {
  const TLayoutControl& L = FLayout.Controls[0];
  const bool Maximized = L.Prop("state") == "maximized";
  const bool Centred = !Maximized && L.Prop("position") == "screencenter";
  // Centred when shown, not only when made: a creation handler may have sized
  // the window to its texts since. The show handler runs inside ShowWindow
  // and may size it again (a dialog that fits its height to the panel it
  // shows), so a centred window is centred once more at its final size.
  if (Centred) CentreOnScreen();
  ShowWindow(FHandle, Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  if (Centred) CentreOnScreen();
  UpdateWindow(FHandle);
}

void TForm::CentreOnScreen() {
  RECT Work, Rc;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &Work, 0);
  GetWindowRect(FHandle, &Rc);
  SetWindowPos(FHandle, nullptr, Work.left + (Work.right - Work.left - (Rc.right - Rc.left)) / 2,
               Work.top + (Work.bottom - Work.top - (Rc.bottom - Rc.top)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::ShowModal() {
  // The main window (and only it) is disabled meanwhile, as a modal dialog's
  // owner is; a WM_QUIT that arrives during the dialog ends it and is passed on.
  HWND Owner = TheMainForm && TheMainForm != this ? TheMainForm->Handle() : nullptr;
  const bool OwnerWasEnabled = Owner && IsWindowEnabled(Owner);
  if (OwnerWasEnabled) EnableWindow(Owner, FALSE);
  FModal = true;
  FModalDone = false;
  Show();
  SetActiveWindow(FHandle);
  MSG Msg;
  bool Quit = false;
  while (!FModalDone) {
    // Not GetMessage: a close from a sent message (a link callback) is run
    // inside it, and it would go on waiting for a posted message.
    if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!FModalDone) MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      continue;
    }
    if (Msg.message == WM_QUIT) {
      Quit = true;
      break;
    }
    if (!IsDialogMessageA(FHandle, &Msg)) {
      TranslateMessage(&Msg);
      DispatchMessageA(&Msg);
    }
  }
  FModal = false;
  if (OwnerWasEnabled) EnableWindow(Owner, TRUE);
  ShowWindow(FHandle, SW_HIDE);
  if (Owner) SetActiveWindow(Owner);
  if (Quit) PostQuitMessage(static_cast<int>(Msg.wParam));
}

void TForm::Close() { SendMessageA(FHandle, WM_CLOSE, 0, 0); }

void RunMessageLoop() {
  MSG Msg;
  while (GetMessageA(&Msg, nullptr, 0, 0) > 0) {
    // Tab and access keys work in every window of the layer, as in dialogs.
    HWND Root = Msg.hwnd ? GetAncestor(Msg.hwnd, GA_ROOT) : nullptr;
    if (Root && TForm::FromHandle(Root) && IsDialogMessageA(Root, &Msg)) continue;
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
}

void TerminateApplication() { PostQuitMessage(0); }
