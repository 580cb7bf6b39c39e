// The settings page's rules; see settings_rules.h.
#include "settings_rules.h"

#include <algorithm>

namespace {

// The offset of item 0, "-11h 30m"; the list steps by half an hour.
constexpr int FirstItemMinutes = -690, ItemMinutes = 30;

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

}  // namespace

int TimeZoneIndex(int Minutes) {
  // C++ division truncates toward zero, as the list's rule asks.
  const int Index = (Minutes - FirstItemMinutes) / ItemMinutes;
  return Index >= 0 && Index < TimeZoneItems ? Index : -1;
}

int TimeZoneMinutes(int Index) { return FirstItemMinutes + Index * ItemMinutes; }

int StoredListIndex(int Stored, int Count) {
  if (Count <= 0) return -1;
  return Stored < Count ? Stored : 0;
}

int StandardOffset(long Bias, long StandardBias) { return static_cast<int>(-(Bias + StandardBias)); }

std::optional<int> CapturedTimeZoneIndex(int OffsetMinutes) {
  const int Index = TimeZoneIndex(OffsetMinutes);
  if (Index < 0) return std::nullopt;
  return Index;
}

int BacklightValue(const std::string& Text) {
  // Five digits cannot be a stored time, and keep the sum far from overflow.
  if (Text.empty() || Text.size() > 5 || !std::all_of(Text.begin(), Text.end(), IsDigit)) return -1;
  return std::stoi(Text);
}

bool BacklightStorable(const std::string& Text) {
  const int Value = BacklightValue(Text);
  return Value >= MinBacklightTime && Value <= MaxBacklightTime;
}

bool BacklightKeyAccepted(char Key, const std::string& Text) {
  if (Key == 8 || Key == 13) return true;
  if (!IsDigit(Key)) return false;
  const int Value = BacklightValue(Text + Key);
  return Value >= 0 && Value <= MaxBacklightTime;
}

bool PinKeyAccepted(char Key) { return IsDigit(Key) || Key == 8 || Key == 13; }

bool PinSendable(const std::string& Text) {
  return Text.size() >= 4 && Text.size() <= 6 && std::all_of(Text.begin(), Text.end(), IsDigit);
}
