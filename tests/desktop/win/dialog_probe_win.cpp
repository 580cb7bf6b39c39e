// Test program for the three dialog kinds: chooses its language module like
// the desktop program (modules named after this program), shows the dialog
// its argument names ("plain", "error", "confirm", or "refusal": the picture
// loader's refusal of an icon in an error dialog) and ends with the answer as
// its exit code, so a test can drive the dialog from outside and see what the
// caller would have got.
#include <windows.h>

#include <exception>
#include <string>

#include "language_module_win.h"
#include "message_dialogs_win.h"
#include "picture_loader.h"
#include "pool_platform.h"
#include "resource_source_win.h"
#include "resource_texts.h"

namespace {

// The portable core's texts come through the pool platform, which the
// program points at its resource texts; this probe has no link to offer.
class TTextsOnlyPlatform final : public TPoolPlatform {
 public:
  bool SendPacket(TProtPacket&, int32_t) override { return false; }
  int GetActiveLink() override { return LinkKindNone; }
  void SetCursor(TPoolCursor) override {}
  std::string ResourceText(int Id) override { return ::ResourceText(Id); }
  void Beep(uint32_t, uint32_t) override {}
  void Sleep(uint32_t) override {}
};

}  // namespace

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
  if (Kind == "refusal") {
    static TTextsOnlyPlatform Platform;
    SetPoolPlatform(&Platform);
    try {
      LoadPictureBytes("refused.ico", nullptr, 0, [](TProgressStage, int) {});
    } catch (const std::exception& E) {
      ShowErrorMessage(E.what());
    }
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
