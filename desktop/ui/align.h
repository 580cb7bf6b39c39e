// Alignment of controls inside their parent's client area, the way the layouts
// describe it: top-aligned controls take full-width strips from the top in
// layout order, then bottom-aligned ones from the bottom, then left and right
// ones full-height strips from what is left, and a filling control takes the
// rest. Windows knows no alignment, so the window layer runs this whenever a
// container changes size. Portable, so it is tested natively.
#pragma once

#include <string>
#include <vector>

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct TBounds {
  int Left, Top, Width, Height;
};

struct TAlignItem {
  TAlign Align;
  TBounds Bounds;  // in: the design bounds (only the aligned extent is kept); out: the placed bounds
};

// Places the aligned items within Client (a parent's client rectangle less its
// borders); items with alNone keep their bounds.
void AlignItems(const TBounds& Client, std::vector<TAlignItem>& Items);

// The alignment named in a layout ("top", "bottom", "left", "right", "fill");
// alNone for an empty name; false for an unknown one.
bool ParseAlign(const std::string& Name, TAlign& Align);
