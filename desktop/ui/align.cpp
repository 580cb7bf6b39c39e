// Alignment arithmetic; see align.h for the order.
#include "align.h"

#include <algorithm>

void AlignItems(const TBounds& Client, std::vector<TAlignItem>& Items) {
  int Left = Client.Left, Top = Client.Top;
  int Right = Client.Left + Client.Width, Bottom = Client.Top + Client.Height;
  for (const TAlign Pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TAlignItem& Item : Items) {
      if (Item.Align != Pass) continue;
      TBounds& B = Item.Bounds;
      const int Width = std::max(0, Right - Left), Height = std::max(0, Bottom - Top);
      switch (Pass) {
        case alTop:
          B = {Left, Top, Width, std::min(B.Height, Height)};
          Top += B.Height;
          break;
        case alBottom:
          B = {Left, Bottom - std::min(B.Height, Height), Width, std::min(B.Height, Height)};
          Bottom -= B.Height;
          break;
        case alLeft:
          B = {Left, Top, std::min(B.Width, Width), Height};
          Left += B.Width;
          break;
        case alRight:
          B = {Right - std::min(B.Width, Width), Top, std::min(B.Width, Width), Height};
          Right -= B.Width;
          break;
        default:
          B = {Left, Top, Width, Height};
          break;
      }
    }
  }
}

bool ParseAlign(const std::string& Name, TAlign& Align) {
  static const struct {
    const char* Name;
    TAlign Align;
  } Names[] = {{"", alNone}, {"top", alTop}, {"bottom", alBottom}, {"left", alLeft}, {"right", alRight}, {"fill", alClient}};
  for (const auto& N : Names)
    if (Name == N.Name) {
      Align = N.Align;
      return true;
    }
  return false;
}
