// The picture editor's quarter turn of a 4000 x 3000 picture in the real
// program under Wine, progress bar included (goal 400 ms), for an 8-bit and a
// 24-bit source, beside the engine's bare turn of the same pictures in this
// process. The program is driven from outside as the Wine tests drive it: the
// rotate button is clicked and the time runs until the size label shows the
// turned size and the progress bar is hidden again. Medians of 5.
// Run it inside a Wine session: xvfb-run -a tools/wine-session.sh build/wine
// tools/wine-run.sh /usr/lib/wine/wine64 build/mingw64/bin/picture_turn_bench.exe
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <vector>

#include "picture_fixtures.h"
#include "program_controls_win.h"
#include "program_driver_win.h"
#include "qvdp_all.h"
#include "quarter_turn.h"

namespace {

using TClock = std::chrono::steady_clock;

double Median(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

double MsSince(TClock::time_point Start) {
  return std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
}

// A tight poll: the figure must not carry a poll interval of its own.
bool PollUntil(const std::function<bool()>& Condition, DWORD Milliseconds = 30000) {
  const DWORD Start = GetTickCount();
  while (!Condition())
    if (GetTickCount() - Start > Milliseconds) return false;
  return true;
}

void WriteFile(const std::string& FileName, const std::vector<uint8_t>& Bytes) {
  std::ofstream Out(FileName, std::ios::binary);
  Out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

HWND WaitForCaption(const TStartedProgram& Program, const std::wstring& Caption) {
  HWND Found = nullptr;
  WaitUntil([&] { return (Found = TopLevelWindow(Program.Id(), Caption)) != nullptr; });
  return Found;
}

}  // namespace

int main() {
  const std::string Folder = ScratchFolder("picture_turn_bench");
  InstallProgram(Folder, "Quorvale");
  TQVDP_ALL Empty;
  if (!Empty.SaveToFile(Folder + "\\Quorvale.qvd")) return 1;
  struct {
    int Bits;
    std::string File;
    TSourceImage Image;
  } Sources[] = {{8, Folder + "\\turn8.bmp", PatternImage(4000, 3000, 8, 236)},
                 {24, Folder + "\\turn24.bmp", PatternImage(4000, 3000, 24)}};
  for (auto& S : Sources) {
    TBmpFormat Format;
    Format.Bits = S.Bits;
    WriteFile(S.File, WriteBmp(Format, S.Image));
  }

  TStartedProgram Program(Folder + "\\Quorvale.exe", "de_DE.UTF-8");
  HWND Main = WaitForCaption(Program, L"Quorvale Desktop - V1.04");
  if (!Main) return 1;
  PostClick(LayoutControl(Main, "TFRMMAIN", "butAddPic"));
  HWND Editor = WaitForCaption(Program, L"Bild hinzuf\u00fcgen");
  if (!Editor) return 1;
  const auto Item = [&](const char* Name) { return LayoutControl(Editor, "TFRMPICCREATOR", Name); };
  const auto Dialog = [&] {
    HWND Found = nullptr;
    WaitUntil([&] {
      for (HWND W : Program.Windows())
        if (ClassOf(W) == "#32770" && GetWindow(W, GW_OWNER) == Editor) Found = W;
      return Found != nullptr;
    });
    return Found;
  };

  std::printf("Quarter turn of 4000 x 3000 (median of 5):\n");
  bool First = true;
  for (auto& S : Sources) {
    if (!First) PostClick(Item("butOpenFile"));
    First = false;
    ChooseFile(Dialog(), S.File);
    if (!PollUntil([&] { return TextOf(Item("lblPicSize")) == L"4000 x 3000" && Enabled(Item("butOK")); })) return 1;
    std::vector<double> InProgram, Bare;
    for (int Run = 0; Run < 5; ++Run) {
      const std::wstring Turned = Run % 2 == 0 ? L"3000 x 4000" : L"4000 x 3000";
      const auto Start = TClock::now();
      PostClick(Item("butRotate"));
      if (!PollUntil([&] { return TextOf(Item("lblPicSize")) == Turned && !Visible(Item("ProgressBar1")); })) return 1;
      InProgram.push_back(MsSince(Start));
      const auto BareStart = TClock::now();
      TurnQuarterClockwise(S.Image, nullptr);
      Bare.push_back(MsSince(BareStart));
    }
    std::printf("  %2d-bit: program with progress bar %6.1f ms (goal <= 400 ms)   bare turn in this process %6.1f ms\n",
                S.Bits, Median(InProgram), Median(Bare));
  }
  PostMessageW(Editor, WM_CLOSE, 0, 0);
  PostMessageW(Main, WM_CLOSE, 0, 0);
  Program.Ended();
  return 0;
}
