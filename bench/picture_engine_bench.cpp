// The picture editor's speed figures, each printed beside its reference from
// the same run: the preview update after a frame move (against its goal), the
// JPEG load of a 6000 x 4000 photo-like file and its progressive twin
// (against djpeg -colors 236 -bmp on the same file with the same library,
// whose palette and palette positions must equal ours), and the quarter turn
// of 4000 x 3000 (against its goal). Medians; times in milliseconds.
#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "djpeg_reference.h"
#include "pic_engine.h"
#include "picture_fixtures.h"
#include "picture_loader.h"

extern char** environ;

namespace {

double Median(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

double TimeMs(const std::function<void()>& F) {
  const auto t0 = std::chrono::steady_clock::now();
  F();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double MedianMs(int Runs, const std::function<void()>& F) {
  std::vector<double> t;
  for (int i = 0; i < Runs; ++i) t.push_back(TimeMs(F));
  return Median(t);
}

void Djpeg(const std::string& File) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const char* argv[] = {"djpeg", "-colors", "236", "-bmp", File.c_str(), nullptr};
  pid_t pid;
  if (posix_spawnp(&pid, "djpeg", &actions, nullptr, const_cast<char**>(argv), environ) != 0) {
    std::perror("djpeg");
    std::exit(1);
  }
  int status;
  waitpid(pid, &status, 0);
  posix_spawn_file_actions_destroy(&actions);
}

void PreviewFigures() {
  std::printf("Preview update after a frame move (median of 2000 moves over 4000 x 3000):\n");
  for (int bits : {8, 24}) {
    for (int width : {85, 1000}) {
      // The 8-bit picture first, so that the true-colour one is matched
      // against its 236 colours, the worst case, not the default palette's 17.
      TPicCreatorEngine e;
      LoadAsTheEditor(e, PatternImage(4000, 3000, 8, 236));
      if (bits == 24) LoadAsTheEditor(e, PatternImage(4000, 3000, 24));
      e.SetTrackBarPosition(width);
      std::vector<double> t;
      for (int i = 0; i < 2000; ++i)
        t.push_back(TimeMs([&] {
          e.PlaceFrame((i * 37) % 4000, (i * 53) % 3000);
          e.UpdatePreview();
        }));
      std::printf("  %2d-bit source, frame %4d x %4d: %7.4f ms   goal <= %.1f ms\n", bits, e.FrameWidth, e.FrameHeight,
                  Median(t), bits == 8 ? 0.3 : 3.0);
    }
  }
}

void JpegFigures() {
  std::printf("JPEG load, 6000 x 4000, 4:2:0, quality 90 (median of 5):\n");
  for (TJpegKind kind : {TJpegKind::Baseline, TJpegKind::Progressive}) {
    const char* name = kind == TJpegKind::Baseline ? "baseline" : "progressive";
    const std::string file = WriteTempFile(std::string("bench_") + name + ".jpg", MakeJpeg(6000, 4000, kind, 90));
    const TSourceImage reference = DjpegReference(file);
    TSourceImage ours;
    const TPictureProgress quiet = [](TProgressStage, int) {};
    const double oursMs = MedianMs(5, [&] { ours = LoadPictureFile(file, quiet); });
    const double djpegMs = MedianMs(5, [&] { Djpeg(file); });
    const bool same = ours.Indices == reference.Indices && reference.Palette.size() >= ours.Palette.size() &&
                      std::equal(ours.Palette.begin(), ours.Palette.end(), reference.Palette.begin());
    std::printf("  %-11s ours %7.1f ms   djpeg %7.1f ms   ratio %.3f (goal <= 1.10)   palette and positions %s\n",
                name, oursMs, djpegMs, oursMs / djpegMs, same ? "equal" : "DIFFER");
    std::remove(file.c_str());
  }
}

void TurnFigures() {
  std::printf("Quarter turn of 4000 x 3000 (median of 5):\n");
  for (int bits : {8, 24}) {
    const TSourceImage s = PatternImage(4000, 3000, bits);
    int columns = 0;
    const double ms = MedianMs(5, [&] { TurnQuarterClockwise(s, [&](int Done) { columns = Done; }); });
    std::printf("  %2d-bit: %6.1f ms   goal <= %d ms   (%d columns reported)\n", bits, ms, bits == 8 ? 40 : 80, columns);
  }
}

}  // namespace

int main() {
  PreviewFigures();
  TurnFigures();
  JpegFigures();
  return 0;
}
