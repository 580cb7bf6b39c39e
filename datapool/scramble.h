// The XOR scrambling of the configuration blocks in the data file.
//
// A running key byte starts at ScrambleStart for every block and changes with
// every position, so a block's scrambled bytes depend only on its own content.
// XOR makes the operation its own inverse: UnscrambleBlock is the same thing,
// named for the reader.
#pragma once

#include <cstdint>

constexpr uint8_t ScrambleStart = 0x6B;

// In place; nothing happens for a Length of 0 or less.
void ScrambleBlock(uint8_t* Block, int32_t Length);
void UnscrambleBlock(uint8_t* Block, int32_t Length);
