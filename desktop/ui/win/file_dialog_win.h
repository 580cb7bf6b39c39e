// The common file-open and file-save dialogs of a layout ("opendialog",
// "savedialog"): title, filter ("Text|*.ext|..."), default extension and
// options come from the layout, so a language module translates them.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "layout.h"

class TFileDialog {
 public:
  explicit TFileDialog(const TLayoutControl& Layout);
  // Runs the dialog; true when the user chose a file (then in FileName).
  bool Execute(HWND Owner);
  std::string FileName;
  // A hook for the explorer-style dialog (the picture editor's preview);
  // nullptr for none.
  LPOFNHOOKPROC Hook = nullptr;

 private:
  bool FSave;
  std::string FTitle, FFilter, FDefaultExt;
  DWORD FFlags = OFN_EXPLORER;
};
