// Hex text for the control interface: payloads go in and requests come out as
// hex digits; "-" stands for no bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

std::optional<std::vector<uint8_t>> ParseHex(const std::string& Text);
std::string FormatHex(const uint8_t* Bytes, size_t Count);
