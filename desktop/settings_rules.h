// The settings page's rules, apart from its window: the time-zone list's
// index for a stored offset and back, the offset taken from the PC's zone,
// and the key and value rules of the backlight time and the SIM PIN edits.
// Portable, so that they are tested natively.
#pragma once

#include <optional>
#include <string>

// The time-zone list: item i stands for (i - 23) x 30 minutes east of UTC.
constexpr int TimeZoneItems = 50;

// The item that shows Minutes: (Minutes + 690) div 30, rounded toward zero;
// -1 (no selection) when that falls outside the list.
int TimeZoneIndex(int Minutes);
// The offset item Index stands for.
int TimeZoneMinutes(int Index);

// The entry of the language or ring-tone list that a stored index selects:
// that entry when the list has it, else entry 0 (the phone's own); -1 for an
// empty list, whose state stays as it is.
int StoredListIndex(int Stored, int Count);

// The PC's standard-time offset in minutes east of UTC from the zone's Bias
// and StandardBias (daylight saving plays no part).
int StandardOffset(long Bias, long StandardBias);
// The item a capture of that offset selects; none when the offset has no
// item, so a zone beyond the list stores nothing.
std::optional<int> CapturedTimeZoneIndex(int OffsetMinutes);

// The backlight time the page stores: 10 to 3600 seconds.
constexpr int MinBacklightTime = 10, MaxBacklightTime = 3600;
// Text read as a whole number, -1 when it is not one (empty, a sign, a
// letter, or more digits than any stored time has).
int BacklightValue(const std::string& Text);
bool BacklightStorable(const std::string& Text);
// Whether the backlight edit takes Key typed into it while it holds Text:
// Backspace and Enter always; a digit when Text with the digit appended
// still reads as 0 to 3600, wherever the caret is.
bool BacklightKeyAccepted(char Key, const std::string& Text);

// The SIM PIN edit: digits, Backspace and Enter are typed; a PIN is sent only
// when it is 4 to 6 digits, whatever reached the edit (a paste included).
bool PinKeyAccepted(char Key);
bool PinSendable(const std::string& Text);
