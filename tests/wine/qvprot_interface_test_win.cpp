// What crosses QVProt.dll's interface at the machine level, where the i686
// build (the one that ships) differs from the x86-64 one: the packet record at
// its fixed byte offsets wherever the host keeps it, and the __stdcall
// callbacks, whose callee removes its own arguments, called again and again
// with every argument in its place.
#include <algorithm>
#include <cstring>

#include "link_fixture_win.h"

namespace {

class InterfaceTest : public TLinkTest {
 protected:
  void SetUp() override {
    TLinkTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
  }
};

// The record as bytes: Channel at 0, Code at 1, Len at 2 (low byte first),
// Data from 4, 1,029 bytes in all. The host's copy lies at an odd address
// here, between guard bytes that must stay as they are.
TEST_F(InterfaceTest, PacketRecordCrossesAtItsByteOffsetsAndNotOneByteMore) {
  constexpr size_t RecordSize = 1029, Guard = 16;
  constexpr uint8_t GuardByte = 0xA5;
  std::vector<uint8_t> data(MaxPacketData);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 13 + 5);
  std::vector<uint8_t> memory(Guard + 1 + RecordSize + Guard, GuardByte);
  uint8_t* const record = memory.data() + Guard + 1;
  record[0] = chDevice;
  record[1] = 3;
  record[2] = MaxPacketData & 0xFF;
  record[3] = MaxPacketData >> 8;
  std::memcpy(record + 4, data.data(), data.size());

  ASSERT_TRUE(TimedSend(*reinterpret_cast<TProtPacket*>(record), 2000));
  EXPECT_EQ(FSim.Command("last"), "ok 5 3 " + Hex(data)) << "the request as the phone received it";
  EXPECT_EQ(record[0], chDevice);
  EXPECT_EQ(record[1], 0x83);
  EXPECT_EQ(record[2] | record[3] << 8, MaxPacketData);
  EXPECT_EQ(std::memcmp(record + 4, data.data(), data.size()), 0) << "the answer's data";
  const auto intact = [&](size_t from, size_t to) {
    return std::all_of(memory.begin() + from, memory.begin() + to, [&](uint8_t b) { return b == GuardByte; });
  };
  EXPECT_TRUE(intact(0, Guard + 1)) << "bytes before the record";
  EXPECT_TRUE(intact(Guard + 1 + RecordSize, memory.size())) << "bytes after the record";
}

// Distinct values in all 32 bits, so that an argument in another's place, or
// cut short, shows.
constexpr DWORD UserValue(DWORD Slot) { return 0xC0DE0000u | Slot << 8 | Slot; }

struct TCall {
  DWORD Slot;
  DWORD Code, Len;
  std::string Bytes;  // the text, or the data's first four bytes as hex
};
std::vector<TCall> gCalls;

void __stdcall OnText(const char* Text, DWORD UserData) { gCalls.push_back({UserData, 0, 0, Text}); }

void __stdcall OnFrame(DWORD Code, DWORD Len, const uint8_t* Data, DWORD UserData) {
  gCalls.push_back({UserData, Code, Len, Hex({Data, Data + 4})});
}

void __stdcall OnNotify(DWORD UserData) { gCalls.push_back({UserData, 0, 0, ""}); }

// The link calls the host's callbacks through its own pointer types, and a
// caller and callee that disagree about who removes the arguments do not
// show at run time with this compiler (its frames restore the stack), so the
// i686 build checks the types: a __stdcall callback converts to them without
// a cast only while they are __stdcall too. At run time, a run of calls of
// all three kinds must bring each argument in its place, and the link must
// answer afterwards.
TEST_F(InterfaceTest, StdcallCallbacksGetEveryArgumentInARunOfCalls) {
  const TLinkTextCallback text = OnText;
  const TLinkFrameCallback frame = OnFrame;
  const TLinkNotifyCallback notify = OnNotify;
  gCalls.clear();
  ASSERT_EQ(SetCallbackFunction(lcText, reinterpret_cast<void*>(text), UserValue(lcText)), -1);
  for (DWORD slot : {lcSystem, lcConfig, lcPhonebook, lcDevice})
    ASSERT_EQ(SetCallbackFunction(slot, reinterpret_cast<void*>(frame), UserValue(slot)), -1);
  for (DWORD slot : {lcUsbAttached, lcUsbDetached})
    ASSERT_EQ(SetCallbackFunction(slot, reinterpret_cast<void*>(notify), UserValue(slot)), -1);

  const uint8_t channels[] = {chText, chSystem, chConfig, chPhonebook, chDevice};
  const DWORD slots[] = {lcText, lcSystem, lcConfig, lcPhonebook, lcDevice};
  std::vector<TCall> expected;
  for (int i = 0; i < 40; ++i) {
    const int kind = i % 5;
    const uint8_t code = static_cast<uint8_t>(0x40 + i);
    std::vector<uint8_t> data;
    if (kind == 0) {
      const std::string text = "t" + std::to_string(i);
      data.assign(text.begin(), text.end());
      data.push_back(0);
      expected.push_back({UserValue(lcText), 0, 0, text});
    } else {
      data = {static_cast<uint8_t>(i), static_cast<uint8_t>(~i), static_cast<uint8_t>(i * 3), 0x55,
              static_cast<uint8_t>(kind)};
      expected.push_back({UserValue(slots[kind]), code, static_cast<DWORD>(data.size()),
                          Hex({data.begin(), data.begin() + 4})});
    }
    // One frame at a time: the receiver keeps a frame only while a slot is free.
    Sim("send " + std::to_string(channels[kind]) + " " + std::to_string(code) + " " + Hex(data));
    ASSERT_TRUE(PumpUntil([&] { return gCalls.size() == expected.size(); })) << "frame " << i;
  }
  Sim("unplug");
  expected.push_back({UserValue(lcUsbDetached), 0, 0, ""});
  ASSERT_TRUE(PumpUntil([&] { return gCalls.size() == expected.size(); })) << "detach";
  ASSERT_EQ(Plug(), "ok 2 taken");
  expected.push_back({UserValue(lcUsbAttached), 0, 0, ""});
  ASSERT_TRUE(PumpUntil([&] { return gCalls.size() == expected.size(); })) << "attach";

  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("call " + std::to_string(i));
    EXPECT_EQ(gCalls[i].Slot, expected[i].Slot);
    EXPECT_EQ(gCalls[i].Code, expected[i].Code);
    EXPECT_EQ(gCalls[i].Len, expected[i].Len);
    EXPECT_EQ(gCalls[i].Bytes, expected[i].Bytes);
  }
  TProtPacket request = Packet(chConfig, 6, {1});
  EXPECT_TRUE(TimedSend(request, 1000)) << "the link still answers after the calls";
}

}  // namespace
