#include "frame_encoder.h"

#include <gtest/gtest.h>

#include "packet_builder.h"

namespace {

struct EncodeCase {
  const char* what;
  TProtPacket packet;
  std::vector<uint8_t> frame;
};

class FrameEncoder : public testing::TestWithParam<EncodeCase> {};

TEST_P(FrameEncoder, ProducesTheWireBytes) {
  EXPECT_EQ(Encode(GetParam().packet), GetParam().frame) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrameEncoder,
    testing::Values(
        EncodeCase{"empty packet: start, four header bytes, CRC low then high, end",
                   MakePacket(3, 7, {}), {0x7E, 0x03, 0x07, 0x00, 0x00, 0xE9, 0xAA, 0x7C}},
        EncodeCase{"7C 7D 7E in the body are stuffed; the CRC is over the unstuffed body",
                   MakePacket(4, 3, {0x7C, 0x7D, 0x7E}),
                   {0x7E, 0x04, 0x03, 0x03, 0x00, 0x7D, 0x5C, 0x7D, 0x5D, 0x7D, 0x5E, 0x76, 0xF2, 0x7C}},
        EncodeCase{"CRC low byte 7E is stuffed", MakePacket(4, 3, {0x0F}),
                   {0x7E, 0x04, 0x03, 0x01, 0x00, 0x0F, 0x7D, 0x5E, 0x9A, 0x7C}},
        EncodeCase{"CRC high byte 7E is stuffed", MakePacket(4, 3, {0xDC}),
                   {0x7E, 0x04, 0x03, 0x01, 0x00, 0xDC, 0x68, 0x7D, 0x5E, 0x7C}},
        EncodeCase{"answer code and two data bytes", MakePacket(0, 0x81, {'A', 'B'}),
                   {0x7E, 0x00, 0x81, 0x02, 0x00, 'A', 'B', 0xBF, 0x8E, 0x7C}}));

TEST(FrameEncoderLimits, FullPacketOfEscapedBytesFillsTheWorstCase) {
  TProtPacket p = MakePacket(0x7E, 0x7D, std::vector<uint8_t>(MaxPacketData, 0x7C));
  // Len = 1025 = 0x0401 needs no stuffing; everything else does, and so may the CRC.
  const size_t size = Encode(p).size();
  EXPECT_LE(size, MaxFrameSize);
  EXPECT_GE(size, 2u * (2 + MaxPacketData) + 2 + 2 + 2);
}

}  // namespace
