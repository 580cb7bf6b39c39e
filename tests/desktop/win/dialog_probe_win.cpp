// Test program for the three dialog kinds: chooses its language module like
// the desktop program (modules named after this program), shows the dialog
// its argument names ("plain", "error", "confirm") and ends with the answer
// as its exit code, so a test can drive the dialog from outside and see what
// the caller would have got.
#include <windows.h>

#include <string>

#include "language_module_win.h"
#include "message_dialogs_win.h"
#include "resource_source_win.h"

// Exit codes: the answer of a confirmation, or that a message was closed.
enum { ExitYes = 10, ExitNo = 11, ExitNone = 12, ExitClosed = 20, ExitUsage = 2 };

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR CommandLine, int) {
  SetResourceModule(LoadLanguageModule());
  const std::string Kind = CommandLine;
  // Code page 1252, as resource texts are.
  const std::string Text = "Ein langer Text, der umbrochen wird, damit man sieht, dass der Dialog mit ihm w\xE4" "chst.";
  if (Kind == "plain") {
    ShowPlainMessage(Text);
    return ExitClosed;
  }
  if (Kind == "error") {
    ShowErrorMessage(Text);
    return ExitClosed;
  }
  if (Kind == "confirm") {
    switch (Confirm(Text)) {
      case caYes: return ExitYes;
      case caNo: return ExitNo;
      case caNone: return ExitNone;
    }
  }
  return ExitUsage;
}
