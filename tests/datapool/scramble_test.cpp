// The configuration blocks' scrambling: the key sequence, its own inverse,
// a fresh key per block.
#include "scramble.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ScrambleBlock, XorsWithTheRunningKey) {
  // k0 = 0x6B, k(j+1) = k(j) ^ (j + 1): 6B 6A 68 6B 6F 6A
  std::vector<uint8_t> block(6, 0);
  ScrambleBlock(block.data(), 6);
  EXPECT_EQ(block, (std::vector<uint8_t>{0x6B, 0x6A, 0x68, 0x6B, 0x6F, 0x6A}));
}

TEST(ScrambleBlock, IsItsOwnInverseAndStartsAfreshForEachBlock) {
  std::vector<uint8_t> block(300);
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i * 7);
  const std::vector<uint8_t> original = block;
  ScrambleBlock(block.data(), 300);
  EXPECT_NE(block, original);
  std::vector<uint8_t> prefix(original.begin(), original.begin() + 16);
  ScrambleBlock(prefix.data(), 16);
  EXPECT_TRUE(std::equal(prefix.begin(), prefix.end(), block.begin()));
  UnscrambleBlock(block.data(), 300);
  EXPECT_EQ(block, original);
}

TEST(ScrambleBlock, LeavesBytesAloneForLengthZeroOrLess) {
  uint8_t byte = 0x55;
  ScrambleBlock(&byte, 0);
  ScrambleBlock(&byte, -5);
  EXPECT_EQ(byte, 0x55);
}
