// The window layer's drag and drop in-process, on the main window's layout
// with handlers that record what they hear: where a drag starts, what the
// control under the pointer is told as the pointer enters, moves and leaves,
// when a drop happens and that the source hears the end of every drag.
#include <gtest/gtest.h>

#include <windows.h>
#include <windowsx.h>

#include <string>
#include <vector>

#include "drag_win.h"
#include "form_win.h"

namespace {

class TDragProbe : public TForm {
 public:
  TDragProbe() : TForm("TFRMMAIN") {
    BindControls({{"PageControl", PageControl}, {"lbxPB1", PB1}, {"lbxPics", Pics}, {"panPB1Tools", Tools}});
    On("lbxPicsMouseDown", [this](TEvent& E) {
      if (E.Msg == WM_LBUTTONDOWN) BeginDrag(*E.Sender, GET_X_LPARAM(E.LParam), GET_Y_LPARAM(E.LParam));
    });
    On("lbxPB1DragOver", [this](TEvent& E) {
      static const char* const States[] = {"enter", "leave", "move"};
      Note(std::string(States[E.DragState]) + " " + E.Source->Layout->Name, E.X, E.Y);
      E.Allow = Accept;
    });
    On("lbxPB1DragDrop", [this](TEvent& E) { Note("drop " + E.Source->Layout->Name, E.X, E.Y); });
    On("lbxPicsEndDrag", [this](TEvent& E) { Heard.push_back("end " + (E.Target ? E.Target->Layout->Name : "none")); });
    On("lbxPB1Click", [this](TEvent& E) { Heard.push_back("click " + E.Sender->Layout->Name); });
  }
  void Note(const std::string& What, int X, int Y) {
    Heard.push_back(What + " " + std::to_string(X) + "," + std::to_string(Y));
  }

  HWND PageControl{}, PB1{}, Pics{}, Tools{};
  bool Accept = true;
  std::vector<std::string> Heard;
};

class WindowDrag : public testing::Test {
 protected:
  void SetUp() override {
    Probe.Create();
    Probe.Show();
    ShowWindow(Probe.PageControl, SW_SHOW);
    for (const char* Item : {"1", "2", "3"}) {
      SendMessageA(Probe.Pics, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Item));
      SendMessageA(Probe.PB1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Item));
    }
    Row = static_cast<int>(SendMessageA(Probe.Pics, LB_GETITEMHEIGHT, 0, 0));
  }
  void TearDown() override { Probe.Destroy(); }

 public:  // for the cases' own steps
  // Sends Msg to the picture list (which holds the mouse during a drag) for
  // the pointer at X, Y of Over's client area.
  void Mouse(UINT Msg, WPARAM Keys, HWND Over, int X, int Y) {
    POINT P{X, Y};
    MapWindowPoints(Over, Probe.Pics, &P, 1);
    SendMessageA(Probe.Pics, Msg, Keys, MAKELPARAM(P.x, P.y));
  }
  void Press() { Mouse(WM_LBUTTONDOWN, MK_LBUTTON, Probe.Pics, 20, Row / 2); }
  void Move(HWND Over, int X, int Y) { Mouse(WM_MOUSEMOVE, MK_LBUTTON, Over, X, Y); }
  void Release(HWND Over, int X, int Y) { Mouse(WM_LBUTTONUP, 0, Over, X, Y); }
  using TLog = std::vector<std::string>;

  TDragProbe Probe;
  int Row = 0;
};

TEST_F(WindowDrag, StartsOnceThePointerHasMovedFivePixelsAnyWay) {
  // The source and the target are one list here, so the first drag-over
  // shows where the drag started.
  const struct {
    int Dx, Dy;
    bool Starts;
  } Cases[] = {{4, 4, false}, {-4, -4, false}, {0, 0, false}, {5, 0, true}, {0, -5, true}, {-5, 4, true}, {4, 5, true}};
  TControlRecord& Source = *Probe.RecordOf(Probe.PB1);
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Dx) + "," + std::to_string(C.Dy));
    Probe.Heard.clear();
    BeginDrag(Source, 100, 20);
    SendMessageA(Probe.PB1, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100 + C.Dx, 20 + C.Dy));
    EXPECT_EQ(Probe.Heard, C.Starts ? TLog{"enter lbxPB1 " + std::to_string(100 + C.Dx) + "," + std::to_string(20 + C.Dy)}
                                    : TLog{});
    SendMessageA(Probe.PB1, WM_LBUTTONUP, 0, MAKELPARAM(100 + C.Dx, 20 + C.Dy));
    EXPECT_EQ(GetCapture(), nullptr) << "the release ends the drag";
  }
}

TEST_F(WindowDrag, TargetHearsEnterMoveAndLeaveAtItsLastPlaceThenTheDropAndTheSourceItsEnd) {
  Press();
  Move(Probe.PB1, 30, Row + 2);
  Move(Probe.PB1, 31, Row + 3);
  Move(Probe.Tools, 70, 420);  // beside the list
  Move(Probe.PB1, 40, 2 * Row + 4);
  Release(Probe.PB1, 41, 2 * Row + 5);
  const std::string R1 = std::to_string(Row + 2), R2 = std::to_string(2 * Row + 4);
  EXPECT_EQ(Probe.Heard, (TLog{"enter lbxPics 30," + R1, "move lbxPics 31," + std::to_string(Row + 3),
                               "leave lbxPics 31," + std::to_string(Row + 3), "enter lbxPics 40," + R2,
                               "move lbxPics 41," + std::to_string(2 * Row + 5),
                               "drop lbxPics 41," + std::to_string(2 * Row + 5), "end lbxPB1", "click lbxPics"}))
      << "the source list's own click comes after the drop";
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowDrag, RefusedReleasedElsewhereOrCancelledDropsNothingAndEndsOnce) {
  const struct {
    const char* What;
    void (*End)(WindowDrag&);
    bool Accept;
  } Cases[] = {
      {"refused", [](WindowDrag& T) { T.Release(T.Probe.PB1, 30, 5); }, false},
      {"released beside the list", [](WindowDrag& T) {
         T.Move(T.Probe.Tools, 70, 420);
         T.Release(T.Probe.Tools, 70, 420);
       }, true},
      {"escape", [](WindowDrag& T) { SendMessageA(T.Probe.Pics, WM_KEYDOWN, VK_ESCAPE, 1); }, true},
      {"mouse taken by another window", [](WindowDrag& T) { SetCapture(T.Probe.Tools); }, true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.What);
    Probe.Accept = C.Accept;
    Press();
    Move(Probe.PB1, 30, 5);
    Probe.Heard.clear();
    C.End(*this);
    ReleaseCapture();
    TLog Ends;
    for (const std::string& H : Probe.Heard)
      if (H.rfind("drop", 0) == 0 || H.rfind("end", 0) == 0) Ends.push_back(H);
    EXPECT_EQ(Ends, TLog{"end none"});
    // Over: the pointer moving on tells the target nothing.
    Probe.Heard.clear();
    Move(Probe.PB1, 30, Row + 5);
    EXPECT_EQ(Probe.Heard, TLog{});
  }
}

TEST_F(WindowDrag, ReleaseBeforeTheStartIsAClickAndTheSourceListKeepsItsRowMeanwhile) {
  // A drag: the list does not follow the pointer to its third row.
  Press();
  Move(Probe.Pics, 20, 2 * Row + Row / 2);
  Release(Probe.Pics, 20, 2 * Row + Row / 2);
  EXPECT_EQ(SendMessageA(Probe.Pics, LB_GETCURSEL, 0, 0), 0);
  // A click: the end is heard without a target, then the list's click.
  Probe.Heard.clear();
  Mouse(WM_LBUTTONDOWN, MK_LBUTTON, Probe.Pics, 20, Row + Row / 2);
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, Probe.Pics, 24, Row + Row / 2 + 4);
  Mouse(WM_LBUTTONUP, 0, Probe.Pics, 24, Row + Row / 2 + 4);
  EXPECT_EQ(SendMessageA(Probe.Pics, LB_GETCURSEL, 0, 0), 1);
  ASSERT_FALSE(Probe.Heard.empty());
  EXPECT_EQ(Probe.Heard[Probe.Heard.size() - 2], "end none");
  EXPECT_EQ(Probe.Heard.back(), "click lbxPics");
}

}  // namespace
