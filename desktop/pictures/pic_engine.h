// The picture editor's image side, free of any window: the source picture,
// the 85 x 110 preview with its palette, the crop frame and the track bar's
// range and position, which drive the frame's width.
//
// The window (TfrmPicCreator) owns one engine for the program's life, so
// everything here carries over from one use of the editor to the next. The
// window draws what the engine holds. The track bar's range and position are
// held here and nowhere else, because the system control does not report
// positions that the program sets itself: the control only shows them,
// through OnTrackBarChanged, and hands the user's moves to
// SetTrackBarPosition.
#pragma once

#include <cstdint>
#include <functional>

#include "bitmap.h"
#include "preview_stretch.h"
#include "quarter_turn.h"
#include "source_image.h"

// A track bar's range and position as the editor relies on them: a maximum
// below the minimum is ignored, every change clamps the position into the
// range, and the owner hears of a position only when it actually changed.
struct TTrackBarState {
  int Min = 16;
  int Max = 100;
  int Position = 16;
};

struct TFramePlacement {
  int Left;
  int Top;
};

constexpr int HandleSize = 16;  // the resize handle bitmap FRAME_RESIZE

class TPicCreatorEngine {
 public:
  TPicCreatorEngine();

  const TSourceImage& Source() const { return FSource; }
  const TBitmap& Preview() const { return FPreview; }
  const TLogPalette& PreviewPalette() const { return FPreviewPalette; }
  const TTrackBarState& TrackBar() const { return FTrackBar; }

  int FrameCenterX = 0, FrameCenterY = 0;
  int FrameWidth = PreviewWidth, FrameHeight = PreviewHeight;

  // Tells whoever shows the track bar its new range and position, at every
  // change of either.
  std::function<void(const TTrackBarState&)> OnTrackBarChanged;

  // A load's steps are split where the window's repaint must come between
  // them: the repaint clamps the frame at its start size, and only then may
  // the track bar resize it, around the clamped centre.
  //
  // The source becomes Image; the frame takes its start size and the preview
  // its palette. The centre is not touched and the preview not redrawn.
  void LoadSource(TSourceImage Image);
  // The track bar's range becomes the source width and its position the
  // frame width, which may resize the frame.
  void FitTrackBarToSource();
  // The preview palette from the source's entries 0..238; false when the
  // source has no palette and nothing changed.
  bool TakeSourcePalette();
  void UpdatePreview();
  // Clamps the frame around the centre into the source and stores the clamped
  // centre; returns the frame's top-left corner in source pixels.
  TFramePlacement PlaceFrame(int CenterX, int CenterY);
  // Width by Delta and height 110 x width div 85, or nothing when that frame
  // would not fit the source; the track bar's position follows the width.
  void ResizeFrame(int Delta);
  void SetTrackBarMax(int Value);
  void SetTrackBarPosition(int Value);
  // The quarter turn: the track bar's maximum becomes the new width while
  // the old picture still stands (a resize that causes is tested against it),
  // then the turned picture replaces the source. In two steps for a caller
  // that must make room for the turned picture before it is taken, and in one.
  TSourceImage TurnedSource(const TTurnProgress& Progress) const { return TurnQuarterClockwise(FSource, Progress); }
  void TakeTurnedSource(TSourceImage Turned);
  void RotatePicture(const TTurnProgress& Progress) { TakeTurnedSource(TurnedSource(Progress)); }

  // The mouse at source (X, Y) is over the handle whose top-left corner is
  // (HandleX, HandleY) in the same coordinates: 17 x 17 positions, both
  // ends included.
  static bool OverHandle(int X, int Y, int HandleX, int HandleY) {
    return HandleX <= X && X <= HandleX + HandleSize && HandleY <= Y && Y <= HandleY + HandleSize;
  }

 private:
  void TrackBarChange();

  TSourceImage FSource;
  TBitmap FPreview;
  TLogPalette FPreviewPalette;
  TTrackBarState FTrackBar;
};
