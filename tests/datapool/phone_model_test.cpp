// The phone model: every request of the command set gets its answer (the
// request's channel, its code with AnswerFlag), requests the phone cannot
// serve get none, and what the desktop program's own clock requests and the
// SIM PIN leave in the phone's state.
#include <algorithm>
#include <cstring>
#include <vector>

#include "byte_order.h"
#include "memory_image.h"
#include "phone_commands.h"
#include "phone_model.h"
#include "pool_test_support.h"

namespace {

TProtPacket Request(uint8_t Channel, uint8_t Code, std::vector<uint8_t> Data = {}) {
  TProtPacket packet{};
  packet.Channel = Channel;
  packet.Code = Code;
  packet.Len = static_cast<uint16_t>(Data.size());
  if (!Data.empty()) std::memcpy(packet.Data, Data.data(), Data.size());
  return packet;
}

std::vector<uint8_t> MemoryRequest(uint32_t Address, uint16_t Count, std::vector<uint8_t> Bytes = {}) {
  std::vector<uint8_t> data(MemoryRequestHeader + Bytes.size());
  PutU32(data.data(), Address);
  PutU16(data.data() + 5, Count);
  std::copy(Bytes.begin(), Bytes.end(), data.begin() + MemoryRequestHeader);
  return data;
}

std::vector<uint8_t> Base(uint8_t Area, uint32_t Address) {
  std::vector<uint8_t> data{Area, 0, 0, 0, 0};
  PutU32(data.data() + 1, Address);
  return data;
}

struct TRequestCase {
  const char* What;
  TProtPacket Packet;
  bool Answered;
};

class PhoneModelRequests : public testing::TestWithParam<TRequestCase> {};

}  // namespace

TEST_P(PhoneModelRequests, AnswerOnTheRequestsChannelWithItsCodeOrStaySilent) {
  TPhoneModel phone;
  std::vector<TProtPacket> frames;
  phone.Handle(GetParam().Packet, frames);
  if (!GetParam().Answered) {
    EXPECT_TRUE(frames.empty());
    return;
  }
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].Channel, GetParam().Packet.Channel);
  EXPECT_EQ(frames[0].Code, GetParam().Packet.Code | AnswerFlag);
}

INSTANTIATE_TEST_SUITE_P(
    CommandSet, PhoneModelRequests,
    testing::Values(
        TRequestCase{"AreaBase", Request(chSystem, SysAreaBase, {MemoryArea}), true},
        TRequestCase{"CommitArea", Request(chSystem, SysCommitArea, Base(MemoryArea, DefaultAreaBase)), true},
        TRequestCase{"SimPin", Request(chConfig, CfgSimPin, {'1', '2', '3', '4', 0}), true},
        TRequestCase{"SetClock", Request(chConfig, CfgSetClock, std::vector<uint8_t>(14, 1)), true},
        TRequestCase{"ReadClock", Request(chConfig, CfgReadClock), true},
        TRequestCase{"ReadSettings", Request(chConfig, CfgReadSettings), true},
        TRequestCase{"WriteSettings", Request(chConfig, CfgWriteSettings, std::vector<uint8_t>(28, 2)), true},
        TRequestCase{"WriteTextSlot", Request(chConfig, CfgWriteTextSlot, {10, 'a', 0}), true},
        TRequestCase{"ReadTextSlot", Request(chConfig, CfgReadTextSlot, {1}), true},
        TRequestCase{"WriteText", Request(chConfig, CfgWriteText, {'a', 0}), true},
        TRequestCase{"ReadText", Request(chConfig, CfgReadText), true},
        TRequestCase{"FirstEntry", Request(chPhonebook, PbFirstEntry), true},
        TRequestCase{"NextEntry", Request(chPhonebook, PbNextEntry), true},
        TRequestCase{"StartWriting", Request(chPhonebook, PbStartWriting), true},
        TRequestCase{"WriteEntry", Request(chPhonebook, PbWriteEntry, std::vector<uint8_t>(54, 'x')), true},
        TRequestCase{"PictureWriteStart", Request(chPhonebook, PicWriteStart, {24, 0, 0, 0, 0, 0, 0}), true},
        TRequestCase{"PictureCommit", Request(chPhonebook, PicWriteData), true},
        TRequestCase{"PictureReadStart", Request(chPhonebook, PicReadStart, {1}), true},
        TRequestCase{"Contrast", Request(chDevice, DevContrast, {0, 5}), true},
        TRequestCase{"ReadMemory", Request(chDevice, DevReadMemory, MemoryRequest(DefaultAreaBase, MaxMemoryChunk)), true},
        TRequestCase{"WriteMemory", Request(chDevice, DevWriteMemory, MemoryRequest(DefaultAreaBase + 0x17FFF, 1, {9})), true},
        TRequestCase{"Intensity", Request(chDevice, DevIntensity, {0, 7}), true},
        TRequestCase{"AnotherArea", Request(chSystem, SysAreaBase, {5}), false},
        TRequestCase{"CommitOfAnotherBase", Request(chSystem, SysCommitArea, Base(MemoryArea, 0x1234)), false},
        TRequestCase{"TextSlot11", Request(chConfig, CfgReadTextSlot, {11}), false},
        TRequestCase{"TextSlotWithoutNumber", Request(chConfig, CfgWriteTextSlot), false},
        TRequestCase{"PictureSlot25", Request(chPhonebook, PicReadStart, {25}), false},
        TRequestCase{"PictureDataWithoutStart", Request(chPhonebook, PicWriteData, {1, 2, 3}), false},
        TRequestCase{"MemoryBelowTheArea", Request(chDevice, DevReadMemory, MemoryRequest(DefaultAreaBase - 1, 1)), false},
        TRequestCase{"MemoryPastTheArea", Request(chDevice, DevReadMemory, MemoryRequest(DefaultAreaBase + 0x17FFF, 2)), false},
        TRequestCase{"MemoryOfNoBytes", Request(chDevice, DevWriteMemory, MemoryRequest(DefaultAreaBase, 0)), false},
        TRequestCase{"MemoryWriteShorterThanItsCount", Request(chDevice, DevWriteMemory, MemoryRequest(DefaultAreaBase, 4, {1})), false},
        TRequestCase{"UnknownCode", Request(chDevice, 99), false},
        TRequestCase{"TextChannel", Request(chText, 0), false}),
    [](const testing::TestParamInfo<TRequestCase>& info) { return std::string(info.param.What); });

TEST(PhoneModel, ClockSetIsReadBackAndThePinKept) {
  TPhoneModel phone;
  std::vector<uint8_t> clock(14);
  const uint16_t words[7] = {23, 59, 58, 31, 12, 26, 0x77};
  for (int i = 0; i < 7; ++i) PutU16(&clock[2 * i], words[i]);
  std::vector<TProtPacket> frames;
  phone.Handle(Request(chConfig, CfgSetClock, clock), frames);
  phone.Handle(Request(chConfig, CfgReadClock), frames);
  ASSERT_EQ(frames.size(), 2u);
  ASSERT_EQ(size_t{frames[1].Len}, clock.size());
  EXPECT_EQ(std::memcmp(frames[1].Data, clock.data(), clock.size()), 0);

  EXPECT_EQ(phone.StoredValues(), "pin=- contrast=0 intensity=0");
  phone.Handle(Request(chConfig, CfgSimPin, {'0', '0', '7', '7', 0, 0, 0}), frames);
  EXPECT_EQ(phone.State.SimPin, "0077");
  phone.Handle(Request(chDevice, DevContrast, {0, 200}), frames);
  phone.Handle(Request(chDevice, DevIntensity, {0, 17}), frames);
  EXPECT_EQ(phone.StoredValues(), "pin=0077 contrast=200 intensity=17") << "what the control line's stored reports";
}

TEST(PhoneModel, MemoryWritesWaitForTheCommitOfTheirBase) {
  TPhoneModel phone;
  std::vector<TProtPacket> frames;
  phone.Handle(Request(chDevice, DevWriteMemory, MemoryRequest(DefaultAreaBase + 0x10, 2, {0xAB, 0xCD})), frames);
  EXPECT_TRUE(phone.State.UncommittedWrites);
  EXPECT_EQ(phone.State.Memory[0x10], 0xAB);
  phone.Handle(Request(chDevice, DevReadMemory, MemoryRequest(DefaultAreaBase + 0x10, 2)), frames);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[1].Data[MemoryRequestHeader + 1], 0xCD) << "after the echoed address, zero byte and count";
  phone.Handle(Request(chSystem, SysCommitArea, Base(MemoryArea, DefaultAreaBase)), frames);
  EXPECT_FALSE(phone.State.UncommittedWrites);
  EXPECT_EQ(phone.State.Commits, 1u);
}
