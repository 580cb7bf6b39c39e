// Reading font and colour specs of the layouts.
#include "style.h"

#include <cstdlib>
#include <tuple>

#include "layout.h"

bool TLayoutFont::operator<(const TLayoutFont& O) const {
  return std::tie(Name, Size, SizeInPixels, Bold, Italic, Underline) <
         std::tie(O.Name, O.Size, O.SizeInPixels, O.Bold, O.Italic, O.Underline);
}

TLayoutFont ParseFont(const std::string& Text) {
  TLayoutFont Font;
  size_t Start = 0;
  for (int Field = 0; Start <= Text.size(); ++Field) {
    size_t End = Text.find(',', Start);
    if (End == std::string::npos) End = Text.size();
    const std::string Item = Text.substr(Start, End - Start);
    Start = End + 1;
    if (Field == 0) {
      Font.Name = Item;
    } else if (Field == 1) {
      char* Rest = nullptr;
      Font.Size = static_cast<int>(std::strtol(Item.c_str(), &Rest, 10));
      Font.SizeInPixels = std::string(Rest) == "px";
      if (Font.Size <= 0 || (*Rest && !Font.SizeInPixels)) throw TLayoutError("font " + Text + ": bad size " + Item);
    } else if (Item == "bold") {
      Font.Bold = true;
    } else if (Item == "italic") {
      Font.Italic = true;
    } else if (Item == "underline") {
      Font.Underline = true;
    } else {
      throw TLayoutError("font " + Text + ": unknown style " + Item);
    }
  }
  if (Font.Name.empty()) throw TLayoutError("font " + Text + ": no name");
  return Font;
}

TLayoutColor ParseColor(const std::string& Text) {
  TLayoutColor Color;
  if (Text.size() == 7 && Text[0] == '#') {
    char* End = nullptr;
    const unsigned long V = std::strtoul(Text.c_str() + 1, &End, 16);
    if (*End) throw TLayoutError("colour " + Text + " is not #RRGGBB");
    Color.Rgb = ((V >> 16) & 0xFF) | (V & 0xFF00) | ((V & 0xFF) << 16);
    return Color;
  }
  // The system colours by their Windows COLOR_* index.
  static const struct {
    const char* Name;
    bool System;
    uint32_t Value;
  } Names[] = {
      {"black", false, 0x000000},  {"white", false, 0xFFFFFF}, {"maroon", false, 0x000080},
      {"navy", false, 0x800000},   {"red", false, 0x0000FF},   {"btnface", true, 15},
      {"window", true, 5},         {"windowtext", true, 8},    {"infobk", true, 24},
      {"infotext", true, 23},      {"inactivecaptiontext", true, 19},
  };
  for (const auto& N : Names)
    if (Text == N.Name) {
      Color.System = N.System;
      if (N.System)
        Color.SystemIndex = static_cast<int>(N.Value);
      else
        Color.Rgb = N.Value;
      return Color;
    }
  throw TLayoutError("unknown colour " + Text);
}
