// Alignment of controls in their parent: the order in which aligned controls
// take their strips, and what happens when the client is too small.
#include <gtest/gtest.h>

#include "align.h"

// Beside TBounds, where the test macros find them.
bool operator==(const TBounds& A, const TBounds& B) {
  return A.Left == B.Left && A.Top == B.Top && A.Width == B.Width && A.Height == B.Height;
}

std::ostream& operator<<(std::ostream& Out, const TBounds& B) {
  return Out << "{" << B.Left << "," << B.Top << "," << B.Width << "," << B.Height << "}";
}

namespace {

TEST(AlignItems, TopThenBottomThenSidesThenFill) {
  // Listed in an order unlike the passes: placement follows the kind first,
  // the layout order within one kind.
  std::vector<TAlignItem> Items = {
      {alClient, {0, 0, 1, 1}},     {alLeft, {0, 0, 100, 1}},  {alTop, {0, 0, 1, 65}},
      {alBottom, {0, 0, 1, 25}},    {alTop, {0, 0, 1, 4}},     {alRight, {0, 0, 154, 1}},
      {alNone, {30, 40, 50, 60}},   {alLeft, {0, 0, 17, 1}},
  };
  AlignItems({0, 0, 1000, 600}, Items);
  EXPECT_EQ(Items[2].Bounds, (TBounds{0, 0, 1000, 65}));
  EXPECT_EQ(Items[4].Bounds, (TBounds{0, 65, 1000, 4}));
  EXPECT_EQ(Items[3].Bounds, (TBounds{0, 575, 1000, 25}));
  EXPECT_EQ(Items[1].Bounds, (TBounds{0, 69, 100, 506}));
  EXPECT_EQ(Items[7].Bounds, (TBounds{100, 69, 17, 506}));
  EXPECT_EQ(Items[5].Bounds, (TBounds{846, 69, 154, 506}));
  EXPECT_EQ(Items[0].Bounds, (TBounds{117, 69, 729, 506}));
  EXPECT_EQ(Items[6].Bounds, (TBounds{30, 40, 50, 60}));
}

TEST(AlignItems, WithinAnInsetClient) {
  std::vector<TAlignItem> Items = {{alTop, {0, 0, 1, 10}}, {alClient, {0, 0, 1, 1}}};
  AlignItems({6, 6, 88, 48}, Items);
  EXPECT_EQ(Items[0].Bounds, (TBounds{6, 6, 88, 10}));
  EXPECT_EQ(Items[1].Bounds, (TBounds{6, 16, 88, 38}));
}

TEST(AlignItems, TooSmallAClientGivesEmptyStripsNeverNegativeOnes) {
  std::vector<TAlignItem> Items = {{alTop, {0, 0, 1, 80}}, {alBottom, {0, 0, 1, 40}},
                                   {alLeft, {0, 0, 300, 1}}, {alClient, {0, 0, 1, 1}}};
  AlignItems({0, 0, 200, 100}, Items);
  EXPECT_EQ(Items[0].Bounds, (TBounds{0, 0, 200, 80}));
  EXPECT_EQ(Items[1].Bounds, (TBounds{0, 80, 200, 20}));
  EXPECT_EQ(Items[2].Bounds, (TBounds{0, 80, 200, 0}));
  EXPECT_EQ(Items[3].Bounds, (TBounds{200, 80, 0, 0}));
}

TEST(ParseAlign, KnowsTheLayoutNames) {
  const struct {
    const char* Name;
    bool Known;
    TAlign Align;
  } Cases[] = {{"", true, alNone},      {"top", true, alTop},     {"bottom", true, alBottom},
               {"left", true, alLeft},  {"right", true, alRight}, {"fill", true, alClient},
               {"client", false, alNone}, {"Top", false, alNone}};
  for (const auto& C : Cases) {
    TAlign A = alNone;
    EXPECT_EQ(ParseAlign(C.Name, A), C.Known) << C.Name;
    if (C.Known) {
      EXPECT_EQ(A, C.Align) << C.Name;
    }
  }
}

}  // namespace
