// Opening and closing the link, the callback slots and the link state queries
// through the exports, against the simulator over the USB stand-in.
#include <optional>

#include "link_fixture_win.h"

namespace {

class OpenTest : public TLinkTest {};

TEST_F(OpenTest, PortAbove99IsRefusedAndLeavesTheOpenLinkOpen) {
  ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
  for (DWORD port : {100u, 0x164u, 0xFFu}) {
    SCOPED_TRACE(port);
    EXPECT_EQ(OpenCommunication(port), static_cast<DWORD>(ocBadPort));
    EXPECT_EQ(GetOpenLinks(), olUsb);
    EXPECT_EQ(GetActiveLink(), static_cast<DWORD>(lkUsb));
  }
  TProtPacket request = Packet(chConfig, 6);
  EXPECT_TRUE(TimedSend(request, 1000)) << "the link still carries requests";
}

struct TOpenCase {
  DWORD ComPort;
  bool UsbDriver;  // false: the stand-in finds no simulator, as without the vendor's driver
  DWORD Result;
  DWORD OpenLinks;
  DWORD ActiveLink;
};

class OpenResultTest : public TLinkTest, public testing::WithParamInterface<TOpenCase> {};

// COM57 is mapped to nothing in the test prefix; COM5 is the simulator's line.
TEST_P(OpenResultTest, ResultTellsWhatOpened) {
  const auto& c = GetParam();
  if ((c.ComPort & 0xFF) == SerialLinePort && !SerialLineMapped()) GTEST_SKIP() << "no serial line mapped";
  std::optional<TScopedEnvironment> noDriver;
  if (!c.UsbDriver) noDriver.emplace("QV_WDU_PORT", "1");  // nothing listens there
  EXPECT_EQ(OpenCommunication(c.ComPort), c.Result);
  EXPECT_EQ(GetOpenLinks(), c.OpenLinks) << "the driver stays whatever the result";
  EXPECT_EQ(GetActiveLink(), c.ActiveLink);
}

INSTANTIATE_TEST_SUITE_P(
    Ports, OpenResultTest,
    testing::Values(TOpenCase{0, true, ocOk, olUsb, lkNone}, TOpenCase{0, false, ocNoLink, 0, lkNone},
                    TOpenCase{57, true, ocSerialFailed, olUsb, lkNone}, TOpenCase{57, false, ocNoLink, 0, lkNone},
                    TOpenCase{0x105, true, ocOk, olSerial | olUsb, lkSerial},
                    TOpenCase{SerialLinePort, false, ocUsbFailed, olSerial, lkSerial}));

TEST_F(OpenTest, UsbOnlyWithoutPhoneIsOpenButNotActive) {
  EXPECT_EQ(OpenCommunication(0), static_cast<DWORD>(ocOk));
  EXPECT_EQ(GetOpenLinks(), olUsb);
  EXPECT_EQ(GetActiveLink(), static_cast<DWORD>(lkNone));
  CloseCommunication();
  EXPECT_EQ(GetOpenLinks(), 0u);
  EXPECT_EQ(GetActiveLink(), static_cast<DWORD>(lkNone));
}

TEST_F(OpenTest, PhonePluggedBeforeOpenIsActiveAtOnce) {
  FSim.Send("plug");  // answered once the stand-in has taken the phone
  ASSERT_EQ(OpenCommunication(0), static_cast<DWORD>(ocOk));
  EXPECT_EQ(FSim.ReadReply(), "ok 1 taken");
  EXPECT_EQ(GetActiveLink(), static_cast<DWORD>(lkUsb)) << "hosts ask right after opening";
}

TEST_F(OpenTest, ReopeningKeepsCallbacksAndThePhone) {
  ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
  ASSERT_EQ(OpenCommunication(0), static_cast<DWORD>(ocOk));
  EXPECT_EQ(GetActiveLink(), static_cast<DWORD>(lkUsb)) << "the phone stays plugged in across a reopen";
  const size_t detaches = Count(lcUsbDetached);
  Sim("unplug");
  EXPECT_TRUE(PumpUntil([&] { return Count(lcUsbDetached) > detaches; })) << "callbacks survive the reopen";
  ASSERT_EQ(Plug(), "ok 2 taken");
  EXPECT_TRUE(PumpUntil([] { return Count(lcUsbAttached) == 2; }));
}

struct TSlotCase {
  DWORD Index;
  bool Stored;
};

class CallbackSlotTest : public TLinkTest, public testing::WithParamInterface<TSlotCase> {};

TEST_P(CallbackSlotTest, OnlySlotsOneToSevenAreStored) {
  EXPECT_EQ(SetCallbackFunction(GetParam().Index, reinterpret_cast<void*>(&GetActiveLink), 0) != 0,
            GetParam().Stored);
}

INSTANTIATE_TEST_SUITE_P(Slots, CallbackSlotTest,
                         testing::Values(TSlotCase{0, false}, TSlotCase{1, true}, TSlotCase{7, true},
                                         TSlotCase{8, false}, TSlotCase{0xFFFFFFFF, false},
                                         TSlotCase{0x80000001, false}));

TEST_F(OpenTest, NilCallbackClearsTheSlot) {
  RegisterAll();
  EXPECT_EQ(SetCallbackFunction(lcUsbAttached, nullptr, 0), -1);
  ASSERT_EQ(OpenCommunication(0), static_cast<DWORD>(ocOk));
  ASSERT_EQ(Plug(), "ok 1 taken");
  Sim("unplug");
  // The port thread hands over attach and detach in order: once the detach
  // has arrived, an attach callback would have run before it.
  ASSERT_TRUE(PumpUntil([] { return Count(lcUsbDetached) == 1; }));
  EXPECT_EQ(Count(lcUsbAttached), 0u);
}

TEST_F(OpenTest, SendWithoutOpenLinkFailsAtOnce) {
  TProtPacket request = Packet(chConfig, 6);
  double elapsed = 0;
  EXPECT_FALSE(TimedSend(request, 1000, &elapsed));
  EXPECT_LT(elapsed, 50);
  ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
  CloseCommunication();
  EXPECT_FALSE(TimedSend(request, 1000, &elapsed));
  EXPECT_LT(elapsed, 50);
  uint8_t data[4] = {1, 2, 3, 4};
  EXPECT_EQ(SendChannelPacket(chConfig, 6, 4, data, 0), 0);
}

TEST_F(OpenTest, FramesEndedBeforeTheCloseAreDeliveredDuringIt) {
  ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
  Sim("send 3 9 0102");
  // Wait without dispatching until the delivery's synchronous call is queued.
  ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 3000, QS_SENDMESSAGE), WAIT_OBJECT_0);
  InsideClose = true;
  CloseCommunication();
  InsideClose = false;
  const TCallbackEvent* frame = Last(lcConfig);
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->InsideClose);
  EXPECT_EQ(frame->Code, 9u);
}

}  // namespace

namespace {

// COM6 of the test prefix is a plain file (run_with_simulator.sh): it opens,
// but cannot be set up as a port. The link counts it as not open, and then no
// frame may go to it either.
TEST_F(OpenTest, PortThatCannotBeSetUpTakesNoFrames) {
  char unixPath[MAX_PATH] = "";
  ASSERT_GT(GetEnvironmentVariableA("QV_FILE_PORT", unixPath, sizeof unixPath), 0u)
      << "run through run_with_simulator.sh in a Wine prefix";
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  EXPECT_EQ(OpenCommunication(6), static_cast<DWORD>(ocSerialFailed));
  EXPECT_EQ(GetOpenLinks(), olUsb);
  EXPECT_EQ(GetActiveLink(), static_cast<DWORD>(lkNone));
  TProtPacket request = Packet(chConfig, 6, {1, 2, 3});
  EXPECT_TRUE(TimedSend(request, 0)) << "no phone: the frame goes nowhere";
  CloseCommunication();
  WIN32_FILE_ATTRIBUTE_DATA file{};
  ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &file)) << path << " " << GetLastError();
  EXPECT_EQ(file.nFileSizeLow, 0u) << "bytes were written to the port that did not open";
}

}  // namespace
