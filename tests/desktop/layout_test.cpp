// The layout resource format: what the loader reads from a layout, and the
// causes it names for one it cannot read.
#include <gtest/gtest.h>

#include "layout.h"

namespace {

const char* const Good =
    "QVL1\n"
    "form\tTFRMX\t\t0\tcaption=Fenster\tclientwidth=234\n"
    "panel\tPanel1\tTFRMX\t1001\talign=fill\n"
    "label\tLabel1\tPanel1\t1002\tcaption=Zeile 1\\rZeile 2\\ttab\\\\\tautosize=0\n"
    "menuitem\tmnuFile\tTFRMX\t1003\tcaption=&Datei\ton.click=mnuFileClick\n";

TEST(ParseLayout, ReadsControlsParentsIdsAndProperties) {
  const TLayout L = ParseLayout("TFRMX", Good);
  ASSERT_EQ(L.Controls.size(), 4u);
  EXPECT_EQ(L.Controls[0].Kind, "form");
  EXPECT_EQ(L.Controls[0].Parent, -1);
  EXPECT_EQ(L.Controls[0].IntProp("clientwidth", 0), 234);
  EXPECT_EQ(L.Controls[2].Parent, 1);
  EXPECT_EQ(L.Controls[2].Id, 1002);
  EXPECT_EQ(L.Controls[2].Prop("caption"), "Zeile 1\rZeile 2\ttab\\");
  EXPECT_FALSE(L.Controls[2].BoolProp("autosize", true));
  EXPECT_EQ(L.Controls[3].Prop("on.click"), "mnuFileClick");
  EXPECT_EQ(L.Controls[3].Prop("hint", "none"), "none");
  EXPECT_EQ(L.Find("mnuFile"), 3);
  EXPECT_EQ(L.Find("mnuEdit"), -1);
}

TEST(ParseLayout, NamesTheCauseOfABadLayout) {
  const struct {
    const char* Bytes;
    const char* Cause;
  } Cases[] = {
      {"", "not a layout resource"},
      {"QVL2\nform\tF\t\t0\n", "not a layout resource"},
      {"QVL1\n", "no window"},
      {"QVL1\npanel\tP\t\t0\n", "line 2: the first control is not the window"},
      {"QVL1\nform\tF\tX\t0\n", "the first control is not the window"},
      {"QVL1\nform\tF\t\t0\npanel\tP\tNowhere\t1\n", "line 3: P: unknown parent Nowhere"},
      {"QVL1\nform\tF\t\t0\npanel\tP\tF\t1\nlabel\tP\tF\t2\n", "line 4: second control named P"},
      {"QVL1\nform\tF\t\t0\npanel\tP\tF\t1x\n", "P: bad id 1x"},
      {"QVL1\nform\tF\t\t0\npanel\tP\tF\t70000\n", "P: bad id 70000"},
      {"QVL1\nform\tF\t\t0\npanel\tP\tF\n", "fewer than four fields"},
      {"QVL1\nform\tF\t\t0\npanel\tP\tF\t1\tcaption\n", "P: property without value: caption"},
      {"QVL1\nform\tF\t\t0\npanel\t\tF\t1\n", "a control without kind or name"},
  };
  for (const auto& C : Cases) {
    try {
      ParseLayout("TFRMX", C.Bytes);
      ADD_FAILURE() << "accepted: " << C.Bytes;
    } catch (const TLayoutError& E) {
      EXPECT_NE(std::string(E.what()).find(C.Cause), std::string::npos) << E.what();
      EXPECT_EQ(std::string(E.what()).rfind("layout TFRMX", 0), 0u) << E.what();
    }
  }
}

TEST(ParseLayout, ANumberPropertyThatIsNoNumberIsAnError) {
  const TLayout L = ParseLayout("TFRMX", "QVL1\nform\tF\t\t0\twidth=12px\theight=\n");
  EXPECT_THROW(L.Controls[0].IntProp("width", 0), TLayoutError);
  EXPECT_THROW(L.Controls[0].IntProp("height", 0), TLayoutError);
  EXPECT_EQ(L.Controls[0].IntProp("left", 7), 7);
}

}  // namespace
