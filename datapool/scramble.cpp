// The configuration blocks' scrambling, see scramble.h.
#include "scramble.h"

void ScrambleBlock(uint8_t* Block, int32_t Length) {
  uint8_t key = ScrambleStart;
  for (int32_t j = 0; j < Length; ++j) {
    Block[j] ^= key;
    key ^= static_cast<uint8_t>((j + 1) & 0xFF);
  }
}

void UnscrambleBlock(uint8_t* Block, int32_t Length) { ScrambleBlock(Block, Length); }
