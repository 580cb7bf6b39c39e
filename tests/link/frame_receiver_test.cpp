#include "frame_receiver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "crc.h"
#include "packet_builder.h"

namespace {

struct Post {
  int message;
  int slot;
  std::vector<uint8_t> body;  // the slot's body as far as the frame carried it
};

// A receiver whose delivery step records each post and, like the driver after
// delivering, frees the slot at once unless a test holds the frames back.
class TRecordingReceiver : public TFrameReceiver {
 public:
  std::vector<Post> posts;
  bool release = true;
  bool accept = true;

  void Feed(const std::vector<uint8_t>& bytes) {
    for (uint8_t b : bytes) ReceiveByte(b);
  }

 protected:
  bool PostFrame(int message, int slot) override {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&SlotPacket(slot));
    posts.push_back({message, slot, {bytes, bytes + SlotBodySize(slot)}});
    if (release) ReleaseSlot(slot);
    return accept;
  }
};

std::vector<uint8_t> BodyOf(const TProtPacket& p) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(&p);
  return {bytes, bytes + PacketHeaderSize + p.Len};
}

const TProtPacket kAnswer = MakePacket(chConfig, 0x87, {1, 2, 0x7E, 4});
const std::vector<uint8_t> kFrame = Encode(kAnswer);

struct StreamCase {
  const char* what;
  std::vector<uint8_t> stream;
  std::vector<int> slots;  // slots posted, in order; each holds kAnswer
};

class ReceiverStream : public testing::TestWithParam<StreamCase> {};

TEST_P(ReceiverStream, PostsExactlyTheCorrectFrames) {
  TRecordingReceiver rx;
  rx.Feed(GetParam().stream);
  ASSERT_EQ(rx.posts.size(), GetParam().slots.size()) << GetParam().what;
  for (size_t i = 0; i < rx.posts.size(); ++i) {
    EXPECT_EQ(rx.posts[i].slot, GetParam().slots[i]) << GetParam().what;
    EXPECT_EQ(rx.posts[i].message, 4) << GetParam().what;
    EXPECT_EQ(rx.posts[i].body, BodyOf(kAnswer)) << GetParam().what;
  }
}

std::vector<uint8_t> Frame() { return kFrame; }
// kFrame with Extra inserted before its byte at Pos.
std::vector<uint8_t> FrameWith(size_t pos, std::vector<uint8_t> extra) {
  std::vector<uint8_t> f = kFrame;
  f.insert(f.begin() + static_cast<long>(pos), extra.begin(), extra.end());
  return f;
}
std::vector<uint8_t> WrongCrc() {
  std::vector<uint8_t> f = kFrame;
  f[f.size() - 2] ^= 0x01;
  return f;
}
std::vector<uint8_t> ChannelTwo() { return Encode(MakePacket(2, 0x81, {9})); }
// The position of the stuffed 0x7E in kFrame's data: 7E, 4 header bytes, 1, 2, then 7D 5E.
constexpr size_t kStuffedPair = 7;

INSTANTIATE_TEST_SUITE_P(
    Cases, ReceiverStream,
    testing::Values(
        StreamCase{"a plain frame", Frame(), {0}},
        StreamCase{"bytes before the first start and between frames are ignored",
                   Concat({{0x11, 0x7C, 0x7D, 0x22}, Frame(), {0x33, 0x5E, 0x7D}, Frame()}), {0, 1}},
        StreamCase{"a start inside a frame discards what came before; the slot is reused",
                   Concat({{0x7E, 0x03, 0x87, 0x55}, Frame()}), {0}},
        StreamCase{"an escape before the end byte is forgotten and the frame ends",
                   FrameWith(kFrame.size() - 1, {0x7D}), {0}},
        StreamCase{"an escape before a start byte: a new frame starts",
                   Concat({{0x7E, 0x03, 0x7D}, Frame()}), {0}},
        StreamCase{"7D 7D x stores x XOR 20", FrameWith(kStuffedPair, {0x7D}), {0}},
        StreamCase{"a wrong CRC is dropped and its slot stays", Concat({WrongCrc(), Frame()}), {0}},
        StreamCase{"an empty frame is dropped", Concat({{0x7E, 0x7C}, Frame()}), {0}},
        StreamCase{"7E FF FF 7C passes the CRC, posts nothing and advances the ring",
                   Concat({{0x7E, 0xFF, 0xFF, 0x7C}, Frame()}), {1}},
        StreamCase{"a correct frame of channel 2 takes a slot and posts nothing",
                   Concat({ChannelTwo(), Frame()}), {1}},
        StreamCase{"13 frames walk the ring and the 14th reuses slot 0",
                   Concat({Frame(), Frame(), Frame(), Frame(), Frame(), Frame(), Frame(), Frame(), Frame(),
                           Frame(), Frame(), Frame(), Frame(), Frame()}),
                   {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0}}));

TEST(Receiver, EachDeliveredChannelHasItsMessage) {
  const struct {
    uint8_t channel;
    int message;
  } table[] = {{chText, 2}, {chSystem, 3}, {2, 0}, {chConfig, 4}, {chPhonebook, 5}, {chDevice, 6}, {6, 0}, {255, 0}};
  for (const auto& row : table) {
    TRecordingReceiver rx;
    rx.Feed(Encode(MakePacket(row.channel, 1, {})));
    if (row.message == 0) {
      EXPECT_TRUE(rx.posts.empty()) << int(row.channel);
    } else {
      ASSERT_EQ(rx.posts.size(), 1u) << int(row.channel);
      EXPECT_EQ(rx.posts[0].message, row.message);
    }
  }
}

TEST(Receiver, FullAnswerIsStoredWholeWithItsCrc) {
  std::vector<uint8_t> data(MaxPacketData);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  const TProtPacket p = MakePacket(chPhonebook, 0x88, data);
  const std::vector<uint8_t> frame = Encode(p);

  TRecordingReceiver rx;
  rx.release = false;
  rx.Feed(frame);
  ASSERT_EQ(rx.posts.size(), 1u);
  EXPECT_EQ(rx.posts[0].body, BodyOf(p));
  const auto& slot = rx.SlotPacket(0);
  EXPECT_EQ(std::memcmp(&slot, &p, sizeof p), 0);
  // The CRC bytes sit right behind the last data byte, in the slot's extra room.
  const auto* raw = reinterpret_cast<const uint8_t*>(&slot);
  const uint16_t crc = Crc16(reinterpret_cast<const uint8_t*>(&p), sizeof p);
  EXPECT_EQ(raw[sizeof p], crc & 0xFF);
  EXPECT_EQ(raw[sizeof p + 1], crc >> 8);
}

TEST(Receiver, OverlongFrameIsDropped) {
  // A correct CRC over 1,030 body bytes: the frame holds 1,032 bytes, one more than a slot.
  std::vector<uint8_t> body(RxSlotSize - 1, 0x11);
  const uint16_t crc = Crc16(body.data(), body.size());
  body.push_back(static_cast<uint8_t>(crc & 0xFF));
  body.push_back(static_cast<uint8_t>(crc >> 8));
  std::vector<uint8_t> stream{FrameStart};
  for (uint8_t b : body) {
    if (NeedsEscape(b)) {
      stream.push_back(FrameEscape);
      stream.push_back(b ^ EscapeXor);
    } else {
      stream.push_back(b);
    }
  }
  stream.push_back(FrameEnd);

  TRecordingReceiver rx;
  rx.Feed(Concat({stream, kFrame}));
  ASSERT_EQ(rx.posts.size(), 1u);
  EXPECT_EQ(rx.posts[0].slot, 0);
}

TEST(Receiver, HeldSlotIsNeverOverwritten) {
  TRecordingReceiver rx;
  rx.release = false;
  for (int i = 0; i < RxSlotCount; ++i) rx.Feed(kFrame);
  ASSERT_EQ(rx.posts.size(), size_t(RxSlotCount));

  // Slot 0 is still being delivered: a frame that would land there is dropped whole.
  const TProtPacket other = MakePacket(chDevice, 0x83, {0xAA, 0xBB});
  rx.Feed(Encode(other));
  EXPECT_EQ(rx.posts.size(), size_t(RxSlotCount));
  EXPECT_EQ(BodyOf(rx.SlotPacket(0)).size(), BodyOf(kAnswer).size());
  EXPECT_EQ(std::memcmp(&rx.SlotPacket(0), &kAnswer, BodyOf(kAnswer).size()), 0);

  rx.ReleaseSlot(0);
  rx.Feed(Encode(other));
  ASSERT_EQ(rx.posts.size(), size_t(RxSlotCount) + 1);
  EXPECT_EQ(rx.posts.back().slot, 0);
  EXPECT_EQ(rx.posts.back().body, BodyOf(other));
}

TEST(Receiver, FrameThatCannotBePostedFreesItsSlot) {
  TRecordingReceiver rx;
  rx.release = false;
  rx.accept = false;
  for (int i = 0; i < 2 * RxSlotCount; ++i) rx.Feed(kFrame);
  EXPECT_EQ(rx.posts.size(), size_t(2 * RxSlotCount));
}

TEST(Receiver, ShortFrameReportsOnlyTheBytesItCarried) {
  // One body byte (a channel-0 frame without code or length) passes if its CRC is right.
  std::vector<uint8_t> body{chText};
  const uint16_t crc = Crc16(body.data(), 1);
  TRecordingReceiver rx;
  rx.Feed({0x7E, chText, static_cast<uint8_t>(crc & 0xFF), static_cast<uint8_t>(crc >> 8), 0x7C});
  ASSERT_EQ(rx.posts.size(), 1u);
  EXPECT_EQ(rx.SlotBodySize(0), 1u);
}

// Every frame the encoder makes comes back whole, for every length; a frame with
// one flipped bit never comes back. The stream goes on with a correct frame, as
// on the wire, so a damaged end byte is followed by the next start byte.
void ExpectOnlyTheNextFrame(TRecordingReceiver& rx, const std::vector<uint8_t>& bad, const std::string& where) {
  rx.posts.clear();
  rx.Feed(bad);
  rx.Feed(kFrame);
  ASSERT_EQ(rx.posts.size(), 1u) << where;
  EXPECT_EQ(rx.posts[0].body, BodyOf(kAnswer)) << where;
}

TEST(FrameRoundTrip, EveryLengthRoundTripsAndAFlippedBitIsDropped) {
  std::mt19937 random(20261210);
  TRecordingReceiver rx;
  for (int len = 0; len <= MaxPacketData; ++len) {
    std::vector<uint8_t> data(static_cast<size_t>(len));
    for (auto& b : data) b = static_cast<uint8_t>(random());
    const uint8_t channels[] = {chText, chSystem, chConfig, chPhonebook, chDevice};
    const TProtPacket p = MakePacket(channels[len % 5], static_cast<uint8_t>(random()), data);
    const std::vector<uint8_t> frame = Encode(p);

    rx.posts.clear();
    rx.Feed(frame);
    ASSERT_EQ(rx.posts.size(), 1u) << "length " << len;
    ASSERT_EQ(rx.posts[0].body, BodyOf(p)) << "length " << len;

    for (int flip = 0; flip < 4; ++flip) {
      std::vector<uint8_t> bad = frame;
      const size_t bit = random() % (bad.size() * 8);
      bad[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
      ExpectOnlyTheNextFrame(rx, bad, "length " + std::to_string(len) + " bit " + std::to_string(bit));
    }
  }
}

TEST(FrameRoundTrip, EveryBitOfShortFramesIsChecked) {
  for (int len = 0; len <= 8; ++len) {
    std::vector<uint8_t> data(static_cast<size_t>(len), 0x7D);
    const std::vector<uint8_t> frame = Encode(MakePacket(chDevice, 0x84, data));
    for (size_t bit = 0; bit < frame.size() * 8; ++bit) {
      std::vector<uint8_t> bad = frame;
      bad[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
      TRecordingReceiver rx;
      ExpectOnlyTheNextFrame(rx, bad, "length " + std::to_string(len) + " bit " + std::to_string(bit));
    }
  }
}

}  // namespace
