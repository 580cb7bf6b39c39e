// Fonts and colours as the layouts name them, turned into plain values the
// Win32 side can use without parsing: "MS Sans Serif,8,bold" (size in points)
// or "Arial,13px,bold" (character height in pixels); colours as #RRGGBB or by
// name (the usual named colours and the system colours the windows use).
#pragma once

#include <cstdint>
#include <string>

struct TLayoutFont {
  std::string Name;
  int Size = 8;          // points, or pixels when SizeInPixels
  bool SizeInPixels = false;
  bool Bold = false, Italic = false, Underline = false;

  bool operator<(const TLayoutFont& O) const;
};

// Throws TLayoutError for a description it cannot read.
TLayoutFont ParseFont(const std::string& Text);

// A colour: an RGB value, or a Windows system colour (COLOR_* index).
struct TLayoutColor {
  bool System = false;
  int SystemIndex = 0;
  uint32_t Rgb = 0;  // 0x00BBGGRR, as Windows' COLORREF
};

// Throws TLayoutError for a colour it does not know.
TLayoutColor ParseColor(const std::string& Text);
