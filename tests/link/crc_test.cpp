#include "crc.h"

#include <gtest/gtest.h>

TEST(Crc, CheckValueOfTheNineDigits) {
  const uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(Crc16(digits, sizeof digits), 0x6F91);
}

TEST(Crc, TableMatchesBitwiseDefinition) {
  // Entry i is i shifted right eight times, XORed with 0x8408 after every shift that drops a 1.
  EXPECT_EQ(CrcTable[0], 0x0000);
  EXPECT_EQ(CrcTable[1], 0x1189);
  EXPECT_EQ(CrcTable[0x80], 0x8408);
  EXPECT_EQ(CrcTable[0xFF], 0x0F78);
}

TEST(Crc, BodyFollowedByItsCrcLeavesZero) {
  uint8_t body[] = {3, 7, 0, 0, 0, 0};
  const uint16_t crc = Crc16(body, 4);
  body[4] = static_cast<uint8_t>(crc & 0xFF);
  body[5] = static_cast<uint8_t>(crc >> 8);
  EXPECT_EQ(Crc16(body, sizeof body), 0);
}
