// Big photographs in the real program under Wine: an 8000 x 6000 baseline
// JPEG, the same picture progressive, and a 24-bit bitmap of the largest
// size the loader accepts, each loaded into the picture editor of a fresh
// Quorvale.exe, turned once and taken into the picture list. Printed per file: the load time (the open
// dialog's OK until the size label shows the picture), the turn time, and
// the program's peak working set before the load, after it and after the
// turn beside the source as the editor holds it (one palette position or one
// 32-bit colour per pixel). libjpeg's own buffers are measured apart, in this
// process: the peak of a bare decode of the same file, less the file's bytes
// and the decoded pixels.
//
// bench/run_big_photo_bench.sh runs it and sets djpeg's time on the same
// files beside the load times. By hand: big_photo_bench.exe write FOLDER
// writes the files, big_photo_bench.exe measure FOLDER measures.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "jpeg_reader.h"
#include "picture_error.h"
#include "picture_fixtures.h"
#include "program_controls_win.h"
#include "program_driver_win.h"
#include "qvdp_all.h"

namespace {

using TClock = std::chrono::steady_clock;

struct TBigFile {
  const char* Name;
  int Width, Height;
  bool Jpeg;
  TJpegKind Kind;
};

// As many pixels as the loader's limit lets through, and not square, so that
// the turned size shows when the turn has ended.
constexpr int LargestWidth = 16384, LargestHeight = 4096;
static_assert(uint64_t{LargestWidth} * LargestHeight == MaxSourcePixels, "the largest bitmap the loader accepts");

const TBigFile Files[] = {{"baseline.jpg", 8000, 6000, true, TJpegKind::Baseline},
                          {"progressive.jpg", 8000, 6000, true, TJpegKind::Progressive},
                          {"largest24.bmp", LargestWidth, LargestHeight, false, TJpegKind::Baseline}};

double MsSince(TClock::time_point Start) {
  return std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
}

double Mb(uint64_t Bytes) { return static_cast<double>(Bytes) / (1024.0 * 1024.0); }

bool PollUntil(const std::function<bool()>& Condition, DWORD Milliseconds = 600000) {
  const DWORD Start = GetTickCount();
  while (!Condition()) {
    if (GetTickCount() - Start > Milliseconds) return false;
    Sleep(1);
  }
  return true;
}

uint64_t PeakWorkingSet(HANDLE Process) {
  PROCESS_MEMORY_COUNTERS Counters{};
  Counters.cb = sizeof Counters;
  return GetProcessMemoryInfo(Process, &Counters, sizeof Counters) ? Counters.PeakWorkingSetSize : 0;
}

uint64_t WorkingSet(HANDLE Process) {
  PROCESS_MEMORY_COUNTERS Counters{};
  Counters.cb = sizeof Counters;
  return GetProcessMemoryInfo(Process, &Counters, sizeof Counters) ? Counters.WorkingSetSize : 0;
}

std::vector<uint8_t> ReadAll(const std::string& FileName) {
  std::ifstream In(FileName, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// The bitmap is written row by row: a whole picture of this size beside its
// file would not fit a 32-bit process.
void WriteLargestBitmap(const std::string& FileName, int Width, int Height) {
  TBmpFormat Format;
  TSourceImage Row = PatternImage(Width, 1, 24);
  std::vector<uint8_t> Header = WriteBmp(Format, Row);
  const uint32_t RowBytes = static_cast<uint32_t>(Width) * 3;  // a multiple of 4 for this width
  const uint32_t Offset = static_cast<uint32_t>(Header.size()) - RowBytes;
  Header.resize(Offset);
  const auto Put32 = [&](size_t At, uint32_t V) {
    for (int I = 0; I < 4; ++I) Header[At + I] = static_cast<uint8_t>(V >> (8 * I));
  };
  Put32(2, Offset + RowBytes * static_cast<uint32_t>(Height));
  Put32(22, static_cast<uint32_t>(Height));
  Put32(34, RowBytes * static_cast<uint32_t>(Height));
  std::ofstream Out(FileName, std::ios::binary);
  Out.write(reinterpret_cast<const char*>(Header.data()), static_cast<std::streamsize>(Header.size()));
  std::vector<uint8_t> Bytes(RowBytes);
  for (int Y = 0; Y < Height; ++Y) {
    for (int X = 0; X < Width; ++X) {
      const uint32_t C = 0x00FFFFFFu & static_cast<uint32_t>((X * 7 + Y * 3) ^ (X * Y));
      Bytes[3 * X] = static_cast<uint8_t>(C), Bytes[3 * X + 1] = static_cast<uint8_t>(C >> 8),
      Bytes[3 * X + 2] = static_cast<uint8_t>(C >> 16);
    }
    Out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
  }
}

int WriteFiles(const std::string& Folder) {
  for (const TBigFile& F : Files) {
    const std::string Path = Folder + "\\" + F.Name;
    if (F.Jpeg) {
      const std::vector<uint8_t> Bytes = MakeJpeg(F.Width, F.Height, F.Kind);
      std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    } else {
      WriteLargestBitmap(Path, F.Width, F.Height);
    }
    std::printf("wrote %s\n", Path.c_str());
  }
  return 0;
}

// libjpeg's buffers: the peak of a bare decode here less what the decode
// itself holds (file bytes and pixels).
double JpegBuffersMb(const std::string& Path, uint64_t HeldBytes) {
  std::vector<uint8_t> Bytes = ReadAll(Path);
  HANDLE Self = GetCurrentProcess();
  const uint64_t Before = WorkingSet(Self);
  const uint64_t PeakBefore = PeakWorkingSet(Self);
  TSourceImage Image = ReadJpegPicture(Bytes.data(), Bytes.size(), [](TProgressStage, int) {});
  const uint64_t Peak = PeakWorkingSet(Self);
  if (Peak <= PeakBefore) return -1;  // the earlier peak hides it
  return Mb(Peak - Before) - Mb(HeldBytes);
}

struct TFigures {
  double LoadMs = 0, TurnMs = 0;
  uint64_t PeakStart = 0, PeakLoad = 0, PeakTurn = 0;
};

bool MeasureOne(const std::string& Folder, const TBigFile& F, TFigures& Out) {
  // Each run starts on an empty data file: the last one saved its picture.
  TQVDP_ALL Empty;
  if (!Empty.SaveToFile(Folder + "\\Quorvale.qvd")) return false;
  TStartedProgram Program(Folder + "\\Quorvale.exe", "de_DE.UTF-8");
  HANDLE Process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, Program.Id());
  HWND Main = nullptr;
  if (!PollUntil([&] { return (Main = TopLevelWindow(Program.Id(), L"Quorvale Desktop - V1.04")) != nullptr; }, 60000))
    return false;
  PostClick(LayoutControl(Main, "TFRMMAIN", "butAddPic"));
  HWND Editor = nullptr;
  if (!PollUntil([&] { return (Editor = TopLevelWindow(Program.Id(), L"Bild hinzuf\u00fcgen")) != nullptr; }, 60000))
    return false;
  const auto Item = [&](const char* Name) { return LayoutControl(Editor, "TFRMPICCREATOR", Name); };
  HWND Dialog = nullptr;
  if (!PollUntil([&] {
        for (HWND W : Program.Windows())
          if (ClassOf(W) == "#32770" && GetWindow(W, GW_OWNER) == Editor) Dialog = W;
        return Dialog != nullptr;
      }, 60000))
    return false;
  const std::wstring Size = std::to_wstring(F.Width) + L" x " + std::to_wstring(F.Height);
  const std::wstring Turned = std::to_wstring(F.Height) + L" x " + std::to_wstring(F.Width);
  Out.PeakStart = PeakWorkingSet(Process);
  const auto Start = TClock::now();
  ChooseFile(Dialog, Folder + "\\" + F.Name);
  if (!PollUntil([&] { return TextOf(Item("lblPicSize")) == Size && Enabled(Item("butOK")); })) {
    std::printf("  %s: not loaded (size shows %ls)\n", F.Name, TextOf(Item("lblPicSize")).c_str());
    return false;
  }
  Out.LoadMs = MsSince(Start);
  Out.PeakLoad = PeakWorkingSet(Process);
  const auto TurnStart = TClock::now();
  PostClick(Item("butRotate"));
  if (!PollUntil([&] { return TextOf(Item("lblPicSize")) == Turned && !Visible(Item("ProgressBar1")); })) return false;
  Out.TurnMs = MsSince(TurnStart);
  Out.PeakTurn = PeakWorkingSet(Process);
  CloseHandle(Process);
  // The result is taken: the picture list gets its row.
  PostClick(Item("butOK"));
  HWND Pictures = LayoutControl(Main, "TFRMMAIN", "lbxPics");
  if (!PollUntil([&] { return SendMessageW(Pictures, LB_GETCOUNT, 0, 0) == 1; }, 60000)) {
    std::printf("  %s: the result was not stored\n", F.Name);
    return false;
  }
  PostMessageW(Main, WM_CLOSE, 0, 0);
  Program.Ended();
  return true;
}

int Measure(const std::string& Folder, int Runs) {
  InstallProgram(Folder, "Quorvale");
  for (const TBigFile& F : Files) {
    const uint64_t Held = uint64_t(F.Width) * uint64_t(F.Height) * (F.Jpeg ? 1 : 4);
    std::vector<TFigures> All;
    for (int Run = 0; Run < Runs; ++Run) {
      TFigures Figures;
      if (!MeasureOne(Folder, F, Figures)) return 1;
      All.push_back(Figures);
    }
    const auto Median = [&](auto Field) {
      std::vector<double> V;
      for (const TFigures& Fg : All) V.push_back(static_cast<double>(Fg.*Field));
      std::sort(V.begin(), V.end());
      return V[V.size() / 2];
    };
    const double Start = Mb(static_cast<uint64_t>(Median(&TFigures::PeakStart)));
    const double Load = Mb(static_cast<uint64_t>(Median(&TFigures::PeakLoad)));
    const double Turn = Mb(static_cast<uint64_t>(Median(&TFigures::PeakTurn)));
    std::printf("file=%s size=%dx%d load_ms=%.0f turn_ms=%.0f held_mb=%.1f peak_start_mb=%.1f peak_load_mb=%.1f "
                "peak_turn_mb=%.1f load_over_held=%.2f turn_over_held=%.2f",
                F.Name, F.Width, F.Height, Median(&TFigures::LoadMs), Median(&TFigures::TurnMs), Mb(Held), Start, Load,
                Turn, (Load - Start) / Mb(Held), (Turn - Start) / Mb(Held));
    if (F.Jpeg) std::printf(" libjpeg_buffers_mb=%.1f", JpegBuffersMb(Folder + "\\" + F.Name, Held));
    std::printf("\n");
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int Argc, char** Argv) {
  if (Argc < 3) {
    std::printf("usage: big_photo_bench write|measure FOLDER [RUNS]\n");
    return 2;
  }
  const std::string Mode = Argv[1], Folder = Argv[2];
  if (Mode == "write") return WriteFiles(Folder);
  return Measure(Folder, Argc > 3 ? std::max(1, std::atoi(Argv[3])) : 3);
}
