// Install.exe: the language is chosen before any window exists, COM is set up
// for the shortcuts, and the one window runs until it is closed.
#include <windows.h>

#include "frm_main_win.h"
#include "lang.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  SelectLanguage();
  CoInitialize(nullptr);
  {
    TfrmMain Form;
    if (Form.Create()) {
      Form.Show();
      MSG Msg;
      while (GetMessageA(&Msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&Msg);
        DispatchMessageA(&Msg);
      }
    }
  }
  CoUninitialize();
  return 0;
}
