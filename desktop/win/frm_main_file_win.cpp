// The main window's File menu: import and export of data files. An import
// replaces the program's data, change marks included, and is saved into the
// program's own data file at close; the imported file is never written. A
// failed import changes nothing: the session's data stays, and stays saved.
#include <windows.h>

#include "cursor_win.h"
#include "frm_main_win.h"
#include "message_dialogs_win.h"
#include "pool_snapshot.h"
#include "qvprot_api.h"
#include "resource_texts.h"
#include "text_ids.h"

void TfrmMain::mnuFileClick() {
  EnableMenuItem(GetMenu(Handle()), mnuExport, MF_BYCOMMAND | (FHaveData ? MF_ENABLED : MF_GRAYED));
}

void TfrmMain::mnuImportClick() {
  if (FHaveData && Confirm(ResourceText(OverwriteDataTextId)) != caYes) return;
  if (!OpenDialog->Execute(Handle())) return;
  ShowHourglass();
  // A file that fails after its first sections has already replaced those
  // pools, unannounced, so the lists would name entries the pools no longer
  // hold; the data of the session comes back whole, marks and all, and every
  // pool is announced again.
  TPoolSnapshot Before(*FDataPool);
  if (FDataPool->LoadFromFile(OpenDialog->FileName)) {
    FHaveData = true;
  } else {
    Before.Restore();
    ShowDefaultCursor();
    ShowErrorMessage(FDataPool->ErrorText());
  }
  // The program button and the clock follow the new data at once.
  if (GetActiveLink() != lkNone) LinkAttached(LinkUserData());
  ShowDefaultCursor();
}

void TfrmMain::mnuExportClick() {
  if (!FHaveData || !SaveDialog->Execute(Handle())) return;
  if (!FDataPool->SaveToFile(SaveDialog->FileName)) ShowErrorMessage(FDataPool->ErrorText());
}
