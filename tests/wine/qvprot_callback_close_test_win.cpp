// Closing or reopening the link from inside a callback. Every callback runs
// inside a synchronous call of a library thread that the link's teardown
// waits for: each call must return, and the library must work afterwards.
#include "link_fixture_win.h"

namespace {

class CallbackCloseTest : public TLinkTest {
 protected:
  // A fresh link works after the close: it finds the phone that is still
  // plugged in, as a new driver does, or takes a new one.
  void ExpectUsableAgain(bool PhoneStillPlugged) {
    Events.clear();
    ASSERT_EQ(OpenCommunication(0), static_cast<DWORD>(ocOk));
    if (PhoneStillPlugged) {
      EXPECT_EQ(Plug(), "ok 2 refused") << "the first phone is attached again";
    } else {
      EXPECT_EQ(Plug(), "ok 2 taken");
      ASSERT_TRUE(PumpUntil([] { return Count(lcUsbAttached) == 1; }));
    }
    ASSERT_EQ(GetActiveLink(), static_cast<DWORD>(lkUsb));
    Sim("payload 6 5a");
    TProtPacket request = Packet(chConfig, 6);
    ASSERT_TRUE(TimedSend(request, 1000));
    EXPECT_EQ(request.Data[0], 0x5a);
  }
};

TEST_F(CallbackCloseTest, CloseFromTheDetachCallback) {
  ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
  OnNextNotify = [] { CloseCommunication(); };
  Sim("unplug");
  ASSERT_TRUE(PumpUntil([] { return Count(lcUsbDetached) == 1; }));
  EXPECT_EQ(GetOpenLinks(), 0u);
  ASSERT_NO_FATAL_FAILURE(ExpectUsableAgain(false));
}

TEST_F(CallbackCloseTest, CloseFromAFrameCallback) {
  ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
  OnNextFrame = [] { CloseCommunication(); };
  TProtPacket request = Packet(chConfig, 6);
  ASSERT_TRUE(TimedSend(request, 0)) << "the answer comes later, to the frame callback";
  ASSERT_TRUE(PumpUntil([] { return Count(lcConfig) == 1; }));
  EXPECT_EQ(GetOpenLinks(), 0u);
  ASSERT_NO_FATAL_FAILURE(ExpectUsableAgain(true));
}

// The desktop program sends its clock requests from the attach callback; a
// callback inside that send's wait closes the link.
TEST_F(CallbackCloseTest, CloseInsideASendThatRunsInTheAttachCallback) {
  RegisterAll();
  ASSERT_EQ(OpenCommunication(0), static_cast<DWORD>(ocOk));
  Sim("delay 1000");
  Sim("before 5 0x20 -");
  LONG sent = 1;
  OnNextNotify = [&] {
    OnNextFrame = [] { CloseCommunication(); };
    TProtPacket request = Packet(chConfig, 6);
    sent = SendPacket(&request, 3000);
  };
  ASSERT_EQ(Plug(), "ok 1 taken");
  ASSERT_TRUE(PumpUntil([] { return Count(lcUsbAttached) == 1 && Count(lcDevice) == 1; }));
  ASSERT_TRUE(PumpUntil([&] { return sent != 1; }));
  EXPECT_EQ(sent, 0) << "the close ends the waiting send";
  EXPECT_EQ(GetOpenLinks(), 0u);
  ASSERT_NO_FATAL_FAILURE(ExpectUsableAgain(true));
}

TEST_F(CallbackCloseTest, OpenAgainFromTheAttachCallback) {
  RegisterAll();
  ASSERT_EQ(OpenCommunication(0), static_cast<DWORD>(ocOk));
  DWORD reopened = 99;
  OnNextNotify = [&] { reopened = OpenCommunication(0); };
  ASSERT_EQ(Plug(), "ok 1 taken");
  ASSERT_TRUE(PumpUntil([&] { return reopened != 99; }));
  EXPECT_EQ(reopened, static_cast<DWORD>(ocOk));
  EXPECT_EQ(GetOpenLinks(), olUsb);
  CloseCommunication();
  ASSERT_NO_FATAL_FAILURE(ExpectUsableAgain(true));
}

// The link a waiting send uses cannot be replaced: the open is refused and
// changes nothing, and the send goes on over the link that stays open.
TEST_F(CallbackCloseTest, OpenInsideAWaitingSendLeavesTheLinkOpen) {
  ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
  Sim("payload 6 77");
  Sim("before 5 0x20 -");
  DWORD reopened = 99;
  DWORD linksInside = 0;
  OnNextFrame = [&] {
    reopened = OpenCommunication(0);
    linksInside = GetOpenLinks();
  };
  TProtPacket request = Packet(chConfig, 6);
  ASSERT_TRUE(TimedSend(request, 1000));
  EXPECT_EQ(reopened, static_cast<DWORD>(ocBadPort));
  EXPECT_EQ(linksInside, olUsb);
  EXPECT_EQ(request.Data[0], 0x77);
  EXPECT_EQ(GetActiveLink(), static_cast<DWORD>(lkUsb));
}

}  // namespace
