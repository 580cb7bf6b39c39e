#include "hex.h"

#include <cctype>

namespace {
int Digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

std::optional<std::vector<uint8_t>> ParseHex(const std::string& Text) {
  std::vector<uint8_t> bytes;
  if (Text == "-") return bytes;
  if (Text.size() % 2) return std::nullopt;
  for (size_t i = 0; i < Text.size(); i += 2) {
    const int high = Digit(Text[i]), low = Digit(Text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<uint8_t>(high << 4 | low));
  }
  return bytes;
}

std::string FormatHex(const uint8_t* Bytes, size_t Count) {
  static const char digits[] = "0123456789abcdef";
  if (Count == 0) return "-";
  std::string text;
  for (size_t i = 0; i < Count; ++i) {
    text += digits[Bytes[i] >> 4];
    text += digits[Bytes[i] & 15];
  }
  return text;
}
