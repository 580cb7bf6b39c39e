// The main window's pages follow the pools: every change a pool announces
// replaces the matching list with a copy of the pool's names (an owner-drawn
// list measures its rows as they are added), a change of the configuration
// or of the language and ring-tone lists refills the settings page, and every
// change sets the command buttons anew.
#include <windows.h>

#include <string>
#include <vector>

#include "frm_main_win.h"
#include "qvdp_language.h"
#include "qvdp_phonebook.h"
#include "qvdp_pictures.h"
#include "qvdp_ringtones.h"

namespace {

// Names is a copy: adding a row to an owner-drawn list measures it at once,
// and the picture list's measuring asks the pool for its names again, which
// rebuilds the very list a reference would be walking.
void FillList(HWND List, std::vector<std::string> Names) {
  char Class[16] = {};
  GetClassNameA(List, Class, sizeof(Class));
  const bool Combo = lstrcmpiA(Class, "COMBOBOX") == 0;
  SendMessageA(List, WM_SETREDRAW, FALSE, 0);
  SendMessageA(List, Combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
  for (const std::string& Name : Names)
    SendMessageA(List, Combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Name.c_str()));
  SendMessageA(List, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(List, nullptr, TRUE);
}

}  // namespace

void TfrmMain::PoolChanged(TPoolIndex Index) {
  switch (Index) {
    case piPhonebook1:
    case piPhonebook2:
      FillList(Index == piPhonebook1 ? lbxPB1 : lbxPB2, static_cast<TQVDP_PHONEBOOK*>(FDataPool->Pools(Index))->Names());
      break;
    case piPictures:
      FillList(lbxPics, static_cast<TQVDP_PICTURES*>(FDataPool->Pools(Index))->Names());
      break;
    case piConfig:
      ShowSettings();
      break;
    case piLanguage:
      FillList(cbxLanguages, static_cast<TQVDP_LANGUAGE*>(FDataPool->Pools(Index))->Names());
      ShowSettings();
      break;
    case piRingtones:
      FillList(cbxRingtones, static_cast<TQVDP_RINGTONES*>(FDataPool->Pools(Index))->Names());
      ShowSettings();
      break;
    default:
      break;
  }
  UpdateButtons();
}
