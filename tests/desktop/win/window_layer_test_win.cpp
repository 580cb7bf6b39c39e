// The window layer in-process, on real windows: a window whose class binds a
// control its layout lacks is refused at creation with the cause, and the
// scroll box fits its ranges to its content and moves its children.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "controls_win.h"
#include "form_win.h"
#include "scroll_box_win.h"

namespace {

// The read dialog's layout (built into this test program) with a binding
// the case chooses.
class TBindingProbe : public TForm {
 public:
  TBindingProbe(const char* Control, const char* MenuItem) : TForm("TFRMQVREAD") {
    BindControl("Label1", Label1);
    if (Control) BindControl(Control, Extra);
    if (MenuItem) BindMenuItem(MenuItem, ExtraId);
  }
  HWND Label1{}, Extra{};
  UINT ExtraId{};
};

TEST(FormBindings, AControlTheLayoutLacksRefusesTheWindow) {
  const struct {
    const char* Control;
    const char* MenuItem;
    const char* Cause;
  } Cases[] = {
      {"lblMissing", nullptr, "layout TFRMQVREAD: the program needs lblMissing, the layout has no such control"},
      {nullptr, "ProgressBar", "the program needs ProgressBar, the layout has it as a progressbar"},
  };
  for (const auto& C : Cases) {
    TBindingProbe Probe(C.Control, C.MenuItem);
    try {
      Probe.Create();
      ADD_FAILURE() << "created without " << (C.Control ? C.Control : C.MenuItem);
    } catch (const TLayoutError& E) {
      EXPECT_NE(std::string(E.what()).find(C.Cause), std::string::npos) << E.what();
    }
    Probe.Destroy();
  }
}

TEST(FormBindings, BoundControlsAreTheLayoutsWindows) {
  TBindingProbe Probe("ProgressBar", nullptr);
  Probe.Create();
  ASSERT_TRUE(Probe.Label1 && Probe.Extra);
  EXPECT_EQ(GetParent(Probe.Label1), Probe.Handle());
  char Class[64] = {};
  GetClassNameA(Probe.Extra, Class, sizeof(Class));
  EXPECT_STREQ(Class, PROGRESS_CLASSA);
  Probe.Destroy();
}

class ScrollBox : public testing::Test {
 protected:
  void SetUp() override {
    RegisterControlClasses();
    Parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr, nullptr, nullptr);
    Box = CreateWindowExA(0, ScrollBoxClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, Parent, nullptr, nullptr, nullptr);
    Child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 250, Box, nullptr, nullptr, nullptr);
    UpdateScrollBox(Box);
  }
  void TearDown() override { DestroyWindow(Parent); }

  POINT ChildAt() const {
    RECT Rc;
    GetWindowRect(Child, &Rc);
    MapWindowPoints(nullptr, Box, reinterpret_cast<POINT*>(&Rc), 2);
    return {Rc.left, Rc.top};
  }
  SCROLLINFO Bar(int Which) const {
    SCROLLINFO Si{sizeof(Si), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(Box, Which, &Si);
    return Si;
  }

  HWND Parent{}, Box{}, Child{};
};

TEST_F(ScrollBox, RangesCoverTheContent) {
  RECT Client;
  GetClientRect(Box, &Client);
  EXPECT_LT(Client.right, 100);  // both bars show
  EXPECT_EQ(Bar(SB_HORZ).nMax, 299);
  EXPECT_EQ(Bar(SB_VERT).nMax, 249);
  EXPECT_EQ(Bar(SB_VERT).nPage, static_cast<UINT>(Client.bottom));
}

TEST_F(ScrollBox, ScrollingMovesTheChildrenWithinTheRange) {
  const int Page = static_cast<int>(Bar(SB_VERT).nPage);
  SendMessageA(Box, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(ChildAt().y, -Page);
  SendMessageA(Box, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(ChildAt().y, -(250 - Page));  // never beyond the content's end
  SendMessageA(Box, WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(ChildAt().x, -16);
  SendMessageA(Box, WM_HSCROLL, SB_TOP, 0);
  EXPECT_EQ(ChildAt().x, 0);
}

TEST_F(ScrollBox, GrowingBeyondTheContentScrollsBackAndHidesTheBars) {
  SendMessageA(Box, WM_VSCROLL, SB_BOTTOM, 0);
  SendMessageA(Box, WM_HSCROLL, SB_BOTTOM, 0);
  SetWindowPos(Box, nullptr, 0, 0, 350, 350, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(ChildAt().x, 0);
  EXPECT_EQ(ChildAt().y, 0);
  RECT Client;
  GetClientRect(Box, &Client);
  EXPECT_EQ(Client.right, 350);
  EXPECT_EQ(Client.bottom, 350);
}

}  // namespace
