// Requests and answers through SendPacket and SendChannelPacket: time-outs,
// answer matching on the code alone, unsolicited frames inside the wait, and
// the one-send-at-a-time rule, against the simulator's faults.
#include <cstring>

#include "link_fixture_win.h"

namespace {

class SendTest : public TLinkTest {
 protected:
  void SetUp() override {
    TLinkTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
  }
};

TEST_F(SendTest, AnswerIsCopiedOverTheRequest) {
  Sim("payload 6 0a0b0c");
  TProtPacket request = Packet(chConfig, 6, {1});
  ASSERT_TRUE(TimedSend(request, 1000));
  EXPECT_EQ(request.Channel, chConfig);
  EXPECT_EQ(request.Code, 0x86);
  ASSERT_EQ(request.Len, 3);
  EXPECT_EQ(Hex({request.Data, request.Data + 3}), "0a0b0c");
}

TEST_F(SendTest, FullSizeAnswerArrivesWhole) {
  std::vector<uint8_t> data(MaxPacketData);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7 + 0x7C);  // plenty to stuff
  TProtPacket request = Packet(chDevice, 3, data);
  ASSERT_TRUE(TimedSend(request, 2000));
  ASSERT_EQ(request.Len, MaxPacketData);
  EXPECT_EQ(std::memcmp(request.Data, data.data(), data.size()), 0);
}

TEST_F(SendTest, OverlongPacketIsRefusedUnsent) {
  TProtPacket request = Packet(chConfig, 6);
  request.Len = MaxPacketData + 1;
  EXPECT_FALSE(TimedSend(request, 1000));
  std::vector<uint8_t> big(MaxPacketData + 1, 0x55);
  EXPECT_EQ(SendChannelPacket(chConfig, 6, static_cast<DWORD>(big.size()), big.data(), 1000), 0);
  EXPECT_EQ(Requests(), 0);
}

TEST_F(SendTest, TimeoutZeroReturnsAtOnceAndTheAnswerGoesToItsCallback) {
  Sim("delay 100");
  TProtPacket request = Packet(chConfig, 5, {9});
  double elapsed = 0;
  EXPECT_TRUE(TimedSend(request, 0, &elapsed));
  EXPECT_LT(elapsed, 50);
  EXPECT_EQ(request.Code, 5) << "nothing is copied without a wait";
  ASSERT_TRUE(PumpUntil([] { return Count(lcConfig) == 1; }));
  EXPECT_EQ(Last(lcConfig)->Code, 0x85u);
  EXPECT_EQ(Last(lcConfig)->Len, 1u);
}

TEST_F(SendTest, SendChannelPacketWithoutWaitLeavesTheCallersBytes) {
  uint8_t data[3] = {7, 8, 9};
  Sim("payload 2 ffffff");
  EXPECT_EQ(SendChannelPacket(chDevice, 2, 3, data, 0), -1);
  EXPECT_EQ(data[0], 7);
  EXPECT_EQ(data[2], 9);
  EXPECT_EQ(SendChannelPacket(0x105, 0x102, 0x10003, data, 1000), -1) << "low bits of channel, code and length";
  EXPECT_EQ(data[0], 0xFF);
  EXPECT_EQ(FSim.Command("last"), "ok 5 2 070809");
}

struct TTimeoutCase {
  LONG Timeout;
  double ExpectedMs;
};

class TimeoutTest : public SendTest, public testing::WithParamInterface<TTimeoutCase> {};

TEST_P(TimeoutTest, UnansweredRequestWaitsItsTimeout) {
  Sim("drop");
  TProtPacket request = Packet(chConfig, 6, {1, 2});
  double elapsed = 0;
  EXPECT_FALSE(TimedSend(request, GetParam().Timeout, &elapsed));
  EXPECT_GE(elapsed, GetParam().ExpectedMs - 15);
  EXPECT_LE(elapsed, GetParam().ExpectedMs + 150);
  EXPECT_EQ(request.Code, 6) << "a failed request keeps the caller's packet";
  EXPECT_EQ(request.Len, 2);
}

INSTANTIATE_TEST_SUITE_P(Timeouts, TimeoutTest,
                         testing::Values(TTimeoutCase{50, 500}, TTimeoutCase{-1, 500}, TTimeoutCase{100, 100},
                                         TTimeoutCase{300, 300}));

TEST_F(SendTest, CorruptAnswerTimesOutAndTheNextRequestWorks) {
  Sim("corrupt");
  TProtPacket request = Packet(chConfig, 6);
  EXPECT_FALSE(TimedSend(request, 200));
  TProtPacket next = Packet(chConfig, 6);
  EXPECT_TRUE(TimedSend(next, 1000));
}

TEST_F(SendTest, AnswerOnAnotherChannelCompletesTheRequest) {
  Sim("channel 5");
  TProtPacket request = Packet(chConfig, 7);
  ASSERT_TRUE(TimedSend(request, 1000));
  EXPECT_EQ(request.Channel, chDevice);
  EXPECT_EQ(request.Code, 0x87);
}

TEST_F(SendTest, TextFrameNeverCompletesARequest) {
  Sim("channel 0");
  TProtPacket request = Packet(chConfig, 7);
  EXPECT_FALSE(TimedSend(request, 200));
}

TEST_F(SendTest, SecondAnswerWithTheSameCodeIsDeliveredOnce) {
  Sim("payload 8 01");
  Sim("duplicate 02");
  TProtPacket request = Packet(chConfig, 8);
  ASSERT_TRUE(TimedSend(request, 1000));
  // The next answer follows the later frame on the line and frames are
  // delivered in order, so once it is back the later frame has been delivered
  // too: over the packet when the first wait had not yet ended, else to the
  // channel's callback. Either way exactly once.
  TProtPacket next = Packet(chConfig, 6);
  ASSERT_TRUE(TimedSend(next, 1000));
  const bool overPacket = request.Data[0] == 2;
  EXPECT_TRUE(overPacket || request.Data[0] == 1) << "the packet holds one of the two answers";
  ASSERT_EQ(Count(lcConfig), overPacket ? 0u : 1u) << (overPacket ? "over the packet" : "not over the packet");
  if (!overPacket) EXPECT_EQ(Last(lcConfig)->Copy[0], 2);
}

struct TUnsolicitedCase {
  uint8_t Channel;
  DWORD Slot;
  unsigned CopySize;
};

class UnsolicitedTest : public SendTest, public testing::WithParamInterface<TUnsolicitedCase> {};

TEST_P(UnsolicitedTest, FrameReachesItsCallbackInsideTheWaitWithItsCopy) {
  const auto& c = GetParam();
  std::vector<uint8_t> data(c.CopySize);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i + 1);
  Sim("before " + std::to_string(c.Channel) + " 0x11 " + Hex(data));
  TProtPacket request = Packet(chConfig, 6);
  ASSERT_TRUE(TimedSend(request, 1000));
  ASSERT_EQ(Count(c.Slot), 1u);
  const TCallbackEvent& event = *Last(c.Slot);
  EXPECT_TRUE(event.InsideSend);
  EXPECT_EQ(event.ThreadId, HostThread);
  EXPECT_EQ(event.Code, 0x11u);
  EXPECT_EQ(event.Len, c.CopySize);
  EXPECT_EQ(event.Copy, data);
}

INSTANTIATE_TEST_SUITE_P(Channels, UnsolicitedTest,
                         testing::Values(TUnsolicitedCase{chSystem, lcSystem, 242},
                                         TUnsolicitedCase{chConfig, lcConfig, 28},
                                         TUnsolicitedCase{chPhonebook, lcPhonebook, 45},
                                         TUnsolicitedCase{chDevice, lcDevice, 7}));

TEST_F(SendTest, LongFrameGivesItsLenAndTheSlotsCopy) {
  Sim("before 3 0x12 " + Hex(std::vector<uint8_t>(300, 0xAB)));
  TProtPacket request = Packet(chConfig, 6);
  ASSERT_TRUE(TimedSend(request, 1000));
  ASSERT_EQ(Count(lcConfig), 1u);
  EXPECT_EQ(Last(lcConfig)->Len, 300u);
  EXPECT_EQ(Last(lcConfig)->Copy, std::vector<uint8_t>(28, 0xAB));
}

struct TLieCase {
  uint16_t Claimed;  // the answer's Len field
  size_t Carried;    // the data bytes its frame really holds
  uint16_t Copied;   // what the caller's packet then says
};

class LyingAnswerTest : public SendTest, public testing::WithParamInterface<TLieCase> {};

// The copy over the caller's packet stops at the bytes received and at the
// record's end, whatever the answer's Len field claims.
TEST_P(LyingAnswerTest, CopyNeverExceedsTheBytesReceived) {
  const auto& c = GetParam();
  std::vector<uint8_t> answer(c.Carried);
  for (size_t i = 0; i < answer.size(); ++i) answer[i] = static_cast<uint8_t>(i + 1);
  Sim("payload 6 " + Hex(answer));
  Sim("lie " + std::to_string(c.Claimed));
  TProtPacket request = Packet(chConfig, 6, std::vector<uint8_t>(16, 0xEE));
  ASSERT_TRUE(TimedSend(request, 1000));
  ASSERT_EQ(request.Len, c.Copied);
  EXPECT_EQ(std::vector<uint8_t>(request.Data, request.Data + c.Copied),
            std::vector<uint8_t>(answer.begin(), answer.begin() + c.Copied));
  for (size_t i = c.Copied; i < 16; ++i) EXPECT_EQ(request.Data[i], 0xEE) << "byte " << i << " was not received";
}

INSTANTIATE_TEST_SUITE_P(Lengths, LyingAnswerTest,
                         testing::Values(TLieCase{0x7FFF, 2, 2}, TLieCase{3, 10, 3}, TLieCase{0xFFFF, 0, 0},
                                         TLieCase{0xFFFF, MaxPacketData, MaxPacketData}));

TEST_F(SendTest, TextReachesSlotOneUpToItsFirstZero) {
  Sim("before 0 0 48616c6c6f0057656c74");  // "Hallo\0Welt"
  TProtPacket request = Packet(chConfig, 6);
  ASSERT_TRUE(TimedSend(request, 1000));
  ASSERT_EQ(Count(lcText), 1u);
  EXPECT_EQ(Last(lcText)->Text, "Hallo");
}

TEST_F(SendTest, SendFromACallbackInsideTheWaitIsRefused) {
  Sim("payload 6 77");
  Sim("before 5 0x20 -");
  LONG nested = 1;
  OnNextFrame = [&] {
    TProtPacket inner = Packet(chConfig, 7);
    nested = SendPacket(&inner, 1000);
  };
  TProtPacket request = Packet(chConfig, 6);
  ASSERT_TRUE(TimedSend(request, 1000));
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(request.Data[0], 0x77) << "the waiting send got its own answer";
  EXPECT_EQ(Requests(), 1) << "the refused send wrote nothing";
}

TEST_F(SendTest, CloseInsideTheWaitEndsItAndFreesTheLinkAfterwards) {
  Sim("delay 1000");
  Sim("before 5 0x20 -");
  DWORD reopened = 99;
  OnNextFrame = [&] {
    reopened = OpenCommunication(0);
    CloseCommunication();
  };
  TProtPacket request = Packet(chConfig, 6);
  double elapsed = 0;
  EXPECT_FALSE(TimedSend(request, 3000, &elapsed));
  EXPECT_LT(elapsed, 500);
  EXPECT_EQ(reopened, static_cast<DWORD>(ocBadPort)) << "no second driver beside the waiting one";
  EXPECT_EQ(GetOpenLinks(), 0u);
  EXPECT_EQ(OpenCommunication(0), static_cast<DWORD>(ocOk));
}

TEST_F(SendTest, QuitMessageSeenInTheWaitReachesTheHostAfterwards) {
  PostQuitMessage(7);
  Sim("delay 100");
  TProtPacket request = Packet(chConfig, 6);
  EXPECT_TRUE(TimedSend(request, 1000));
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

bool timerSeen;

// A timer callback runs only from DispatchMessage, so seeing it proves the
// wait dispatched the thread's messages.
void CALLBACK NoteTimer(HWND window, UINT, UINT_PTR id, DWORD) {
  timerSeen = true;
  KillTimer(window, id);
}

TEST_F(SendTest, PostedMessagesAreDispatchedInsideTheWait) {
  HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  timerSeen = false;
  SetTimer(window, 1, 10, NoteTimer);
  Sim("delay 200");
  TProtPacket request = Packet(chConfig, 6);
  EXPECT_TRUE(TimedSend(request, 1000));
  EXPECT_TRUE(timerSeen);
  DestroyWindow(window);
}

}  // namespace
