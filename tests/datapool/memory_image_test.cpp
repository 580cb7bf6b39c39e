// The memory-image mechanism's request sequences and chunking, against the
// phone model: what goes out for images of the sizes where chunking turns,
// and where a failure stops a sequence.
#include <numeric>

#include "byte_order.h"
#include "memory_image.h"
#include "phone_commands.h"
#include "phone_model.h"
#include "phone_sender.h"
#include "pool_test_support.h"
#include "qvdp_all.h"
#include "qvdp_phonebook2.h"

namespace {

constexpr uint32_t Offset = 0x5000;

class MemoryImageTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    Pools.OnSendPacket = PhoneModelSender(Phone, &Log);
  }
  TQV_DATAPOOL& Pool() { return *Pools.Pools(piPhonebook2); }
  static std::vector<uint8_t> Pattern(size_t Size) {
    std::vector<uint8_t> Bytes(Size);
    for (size_t i = 0; i < Size; ++i) Bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    return Bytes;
  }
  // The image bytes as they lie in the phone's memory area.
  std::vector<uint8_t> PhoneImage(size_t Size) const {
    return std::vector<uint8_t>(Phone.State.Memory.begin() + Offset, Phone.State.Memory.begin() + Offset + Size);
  }

  TPhoneModel Phone;
  std::vector<TProtPacket> Log;
  TQVDP_ALL Pools;
};

struct TChunking {
  uint32_t Total;
  std::vector<uint16_t> Chunks;
};

class ChunkingTest : public MemoryImageTest, public ::testing::WithParamInterface<TChunking> {};

TEST_P(ChunkingTest, WriteSendsBaseChunksAtRisingAddressesThenCommit) {
  const std::vector<uint8_t> Image = Pattern(GetParam().Total);
  ASSERT_TRUE(WriteMemoryImage(Pool(), Offset, Image.data(), GetParam().Total));

  const std::vector<uint16_t>& Chunks = GetParam().Chunks;
  ASSERT_EQ(Log.size(), Chunks.size() + 2);
  EXPECT_EQ(Log.front().Channel, chSystem);
  EXPECT_EQ(Log.front().Code, SysAreaBase);
  uint32_t Address = Phone.State.AreaBase + Offset;
  for (size_t i = 0; i < Chunks.size(); ++i) {
    const TProtPacket& Write = Log[1 + i];
    EXPECT_EQ(Write.Code, DevWriteMemory);
    EXPECT_EQ(+Write.Len, MemoryRequestHeader + Chunks[i]);
    EXPECT_EQ(GetU32(Write.Data), Address);
    EXPECT_EQ(Write.Data[4], 0);
    EXPECT_EQ(GetU16(Write.Data + 5), Chunks[i]);
    Address += Chunks[i];
  }
  EXPECT_EQ(Log.back().Code, SysCommitArea);
  EXPECT_EQ(GetU32(Log.back().Data + 1), Phone.State.AreaBase);
  EXPECT_EQ(PhoneImage(Image.size()), Image);
  EXPECT_EQ(Phone.State.Commits, 1u);
}

TEST_P(ChunkingTest, ReadRepeatsTheHeaderInItsFirstChunk) {
  const std::vector<uint8_t> Image = Pattern(GetParam().Total);
  std::copy(Image.begin(), Image.end(), Phone.State.Memory.begin() + Offset);
  std::vector<uint8_t> Dest(GetParam().Total + 10, 0xEE);
  const uint32_t Total = GetParam().Total;
  ASSERT_EQ(ReadMemoryImage(Pool(), Offset, 4, 500, [Total](const uint8_t*) { return Total; }, Dest.data(),
                            static_cast<uint32_t>(Dest.size())),
            TImageRead::Read);

  ASSERT_EQ(Log.size(), GetParam().Chunks.size() + 2);
  EXPECT_EQ(GetU16(Log[1].Data + 5), 4) << "the header read";
  for (size_t i = 0; i < GetParam().Chunks.size(); ++i) EXPECT_EQ(GetU16(Log[2 + i].Data + 5), GetParam().Chunks[i]);
  EXPECT_EQ(GetU32(Log[2].Data), Phone.State.AreaBase + Offset);
  EXPECT_TRUE(std::equal(Image.begin(), Image.end(), Dest.begin()));
  EXPECT_EQ(Dest[Total], 0xEE) << "nothing beyond the image is written";
}

INSTANTIATE_TEST_SUITE_P(Sizes, ChunkingTest,
                         ::testing::Values(TChunking{2, {2}}, TChunking{1015, {1015}}, TChunking{1016, {1015, 1}},
                                           TChunking{3002, {1015, 1015, 972}},
                                           TChunking{10804, {1015, 1015, 1015, 1015, 1015, 1015, 1015, 1015, 1015,
                                                             1015, 654}}));

TEST_F(MemoryImageTest, AFailedSecondChunkSendsNoCommit) {
  int Writes = 0;
  Phone.Unanswered = [&Writes](const TProtPacket& Request) {
    return Request.Code == DevWriteMemory && ++Writes == 2;
  };
  const std::vector<uint8_t> Image = Pattern(3000);
  EXPECT_FALSE(WriteMemoryImage(Pool(), Offset, Image.data(), 3000));
  EXPECT_EQ(Log.size(), 3u) << "area base, two chunks";
  EXPECT_EQ(Phone.State.Commits, 0u);
  EXPECT_TRUE(Phone.State.UncommittedWrites);
}

TEST_F(MemoryImageTest, AFailedCommitFailsTheWrite) {
  Phone.Unanswered = [](const TProtPacket& Request) { return Request.Code == SysCommitArea; };
  const std::vector<uint8_t> Image = Pattern(2000);
  EXPECT_FALSE(WriteMemoryImage(Pool(), Offset, Image.data(), 2000));
  EXPECT_EQ(PhoneImage(2000), Image) << "every chunk was written";
}

TEST_F(MemoryImageTest, AnInvalidHeaderEndsTheReadAfterTwoRequests) {
  std::vector<uint8_t> Dest(16);
  EXPECT_EQ(ReadMemoryImage(Pool(), Offset, 4, 500, [](const uint8_t*) { return 0u; }, Dest.data(), 16),
            TImageRead::Invalid);
  EXPECT_EQ(Log.size(), 2u);
}

TEST_F(MemoryImageTest, AnImageLargerThanTheBufferIsNeverReadPastIt) {
  std::vector<uint8_t> Dest(100);
  EXPECT_EQ(ReadMemoryImage(Pool(), Offset, 4, 500, [](const uint8_t*) { return 101u; }, Dest.data(), 100),
            TImageRead::Invalid);
  EXPECT_EQ(Log.size(), 2u);
}

TEST_F(MemoryImageTest, HeaderReadUsesItsUsersTimeoutAndChunksTheirOwn) {
  std::vector<int32_t> Timeouts;
  Pools.OnSendPacket = [this, &Timeouts, Send = PhoneModelSender(Phone)](TQVDP_ALL* Sender, TProtPacket& Packet,
                                                                          int32_t Timeout) {
    Timeouts.push_back(Timeout);
    return Send(Sender, Packet, Timeout);
  };
  std::vector<uint8_t> Dest(1100);
  ASSERT_EQ(ReadMemoryImage(Pool(), Offset, 8, 777, [](const uint8_t*) { return 1100u; }, Dest.data(), 1100),
            TImageRead::Read);
  EXPECT_EQ(Timeouts, (std::vector<int32_t>{2000, 777, 2000, 2000}));
}

TEST_F(MemoryImageTest, AFailedChunkFailsTheRead) {
  int Reads = 0;
  Phone.Unanswered = [&Reads](const TProtPacket& Request) { return Request.Code == DevReadMemory && ++Reads == 3; };
  std::vector<uint8_t> Dest(3000);
  EXPECT_EQ(ReadMemoryImage(Pool(), Offset, 4, 500, [](const uint8_t*) { return 3000u; }, Dest.data(), 3000),
            TImageRead::Failed);
  EXPECT_EQ(Log.size(), 4u) << "base, header, first chunk, the failing chunk";
}

}  // namespace

namespace {

// An answer that carries fewer bytes than its request asks for: the area base
// (data bytes 1..4) or the bytes read (from data byte 7 on). Taking the
// missing bytes as they lie would move every write to address 0 plus the
// offset, or read zeros as the phone's data.
struct TShortAnswer {
  const char* Name;
  uint8_t Code;    // the request whose answer is cut
  int Nth;         // which answer of that code, from 1
  uint16_t Len;    // the Len the phone claims
};

class ShortAnswerTest : public MemoryImageTest, public ::testing::WithParamInterface<TShortAnswer> {
 protected:
  void SetUp() override {
    MemoryImageTest::SetUp();
    Pools.OnSendPacket = [this, Send = PhoneModelSender(Phone, &Log)](TQVDP_ALL* Sender, TProtPacket& Packet,
                                                                       int32_t Timeout) {
      const uint8_t Code = Packet.Code;
      const bool Answered = Send(Sender, Packet, Timeout);
      if (Answered && Code == GetParam().Code && ++Seen == GetParam().Nth) Packet.Len = GetParam().Len;
      return Answered;
    };
  }
  int Seen = 0;
};

TEST_P(ShortAnswerTest, FailsTheReadWithoutTakingTheMissingBytes) {
  std::vector<uint8_t> Dest(3000, 0xA5);
  EXPECT_EQ(ReadMemoryImage(Pool(), Offset, 4, 500, [](const uint8_t*) { return 3000u; }, Dest.data(), 3000),
            TImageRead::Failed);
}

TEST_P(ShortAnswerTest, LeavesPhonebook2AsItWas) {
  auto& Book = static_cast<TQVDP_PHONEBOOK2&>(Pool());
  Book.AddEntry(MakeEntry("Kept"));
  uint8_t* Image = Phone.State.Memory.data() + Offset;
  PutU16(Image, Phonebook2Signature);
  PutU16(Image + 2, 40);  // 2,164 bytes: chunks of 1,015, 1,015 and 134
  EXPECT_FALSE(Book.ReadFromPhone());
  EXPECT_EQ(Book.Names(), (std::vector<std::string>{"Kept"}));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ShortAnswerTest,
    ::testing::Values(TShortAnswer{"AreaBaseWithoutAddress", SysAreaBase, 1, 1},
                      TShortAnswer{"AreaBaseOneByteShort", SysAreaBase, 1, 4},
                      TShortAnswer{"HeaderOneByteShort", DevReadMemory, 1, MemoryRequestHeader + 3},
                      TShortAnswer{"ChunkWithoutData", DevReadMemory, 2, MemoryRequestHeader},
                      TShortAnswer{"SecondChunkOneByteShort", DevReadMemory, 3, MemoryRequestHeader + 1015 - 1}),
    [](const ::testing::TestParamInfo<TShortAnswer>& Info) { return std::string(Info.param.Name); });

TEST_F(MemoryImageTest, AShortAreaBaseAnswerSendsNoWrite) {
  Pools.OnSendPacket = [this, Send = PhoneModelSender(Phone, &Log)](TQVDP_ALL* Sender, TProtPacket& Packet,
                                                                     int32_t Timeout) {
    const bool Answered = Send(Sender, Packet, Timeout);
    if (Answered && Packet.Code == (SysAreaBase | AnswerFlag)) Packet.Len = 4;
    return Answered;
  };
  const std::vector<uint8_t> Image = Pattern(100);
  EXPECT_FALSE(WriteMemoryImage(Pool(), Offset, Image.data(), 100));
  EXPECT_EQ(Log.size(), 1u) << "only the area base";
}

}  // namespace
