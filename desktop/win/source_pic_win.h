// TSourcePic, the picture editor's source-picture control: an image control
// that shows its picture unscaled at its top-left corner, always takes the
// picture's size, and calls a hook before and after its own painting (the
// editor wipes old frame outlines before and draws the crop frame after).
// It draws the editor's own source picture, of which it keeps no copy: a
// photograph of many megapixels is held once.
//
// Mouse positions reach the handlers in the control's client coordinates,
// which are source pixels; while a button is held the control keeps the
// mouse, also beyond its edges. The cursor over the control is a system
// cursor named by its id and kept in the window's extra bytes, so it is part
// of the window's state like its size.
#pragma once

#include <windows.h>

#include <functional>

#include "source_image.h"

class TSourcePic {
 public:
  using TNotify = std::function<void(TSourcePic& Sender)>;
  using TMouse = std::function<void(TSourcePic& Sender, UINT Button, int X, int Y)>;

  explicit TSourcePic(HWND Parent);
  ~TSourcePic();
  TSourcePic(const TSourcePic&) = delete;
  TSourcePic& operator=(const TSourcePic&) = delete;

  HWND Handle() const { return FHandle; }
  bool Empty() const { return FPicture == nullptr || FPicture->Empty(); }
  // Shows Picture, which stays its owner's and must live as long as it is
  // shown; the control takes the picture's size. Called again after the
  // picture has changed.
  void SetPicture(const TSourceImage* Picture);
  // A system cursor id (IDC_HAND ...).
  void SetCursorId(LPCSTR Id);
  // Paints the whole control at once, hooks included.
  void Repaint();
  // The control's top-left corner in its parent's client area.
  POINT Position() const;
  int Width() const;
  int Height() const;

  TNotify FOnBeforePaint, FOnAfterPaint;
  TMouse OnMouseDown, OnMouseUp;
  std::function<void(TSourcePic& Sender, int X, int Y)> OnMouseMove;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  void Paint();
  void DrawPicture(HDC Dc, const RECT& Area);

  HWND FHandle = nullptr;
  const TSourceImage* FPicture = nullptr;
};

// The class name, for tests that find the control.
extern const char* const SourcePicClass;
