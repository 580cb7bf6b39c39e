// The USB link's attach and detach as the host sees them: notices in the host
// thread, a phone unplugged during a waiting request, a second phone refused.
#include <memory>

#include "link_fixture_win.h"

namespace {

class UsbTest : public TLinkTest {};

TEST_F(UsbTest, AttachAndDetachReachTheHostThread) {
  ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
  EXPECT_EQ(Last(lcUsbAttached)->ThreadId, HostThread);
  Sim("unplug");
  ASSERT_TRUE(PumpUntil([] { return Count(lcUsbDetached) == 1; }));
  EXPECT_EQ(Last(lcUsbDetached)->ThreadId, HostThread);
  EXPECT_EQ(GetActiveLink(), static_cast<DWORD>(lkNone));
  EXPECT_EQ(GetOpenLinks(), olUsb);
}

TEST_F(UsbTest, UnplugDuringAWaitingRequestGivesDetachAndTimeout) {
  ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
  Sim("drop");
  Sim("before 3 0x30 -");
  // The callback runs inside the wait and must not block on the simulator's
  // reply there: the reply is read once the send is over.
  OnNextFrame = [&] { FSim.Send("unplug"); };
  TProtPacket request = Packet(chConfig, 6);
  double elapsed = 0;
  EXPECT_FALSE(TimedSend(request, 400, &elapsed));
  EXPECT_EQ(FSim.ReadReply(), "ok");
  EXPECT_GE(elapsed, 385);
  EXPECT_EQ(Count(lcUsbDetached), 1u);
  EXPECT_TRUE(Last(lcUsbDetached)->InsideSend);
}

TEST_F(UsbTest, SecondPhoneIsRefusedWhileTheFirstWorks) {
  ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
  EXPECT_EQ(Plug(), "ok 2 refused");
  Sim("payload 6 01");
  TProtPacket request = Packet(chConfig, 6);
  EXPECT_TRUE(TimedSend(request, 1000));
  Sim("unplug 1");
  ASSERT_TRUE(PumpUntil([] { return Count(lcUsbDetached) == 1; }));
  EXPECT_EQ(Count(lcUsbAttached), 1u);
}

TEST_F(UsbTest, DevicesThatDoNotMatchAreRefused) {
  RegisterAll();
  ASSERT_EQ(OpenCommunication(0), static_cast<DWORD>(ocOk));
  EXPECT_EQ(Plug(std::to_string(PhoneVendorId) + " " + std::to_string(PhoneProductId) + " 1"), "ok 1 refused")
      << "another interface number";
  EXPECT_EQ(Plug(std::to_string(PhoneVendorId) + " 0x0102 0"), "ok 2 refused") << "another product";
  EXPECT_EQ(Plug(), "ok 3 taken") << "refused devices leave the link free";
  EXPECT_TRUE(PumpUntil([] { return Count(lcUsbAttached) == 1; }));
}

TEST_F(UsbTest, PartialWritesContinueFromTheFirstUnsentByte) {
  ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
  std::vector<uint8_t> data(300);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(0x70 + i % 16);  // stuffed bytes among them
  for (const char* most : {"1", "7", "64"}) {
    SCOPED_TRACE(most);
    TScopedEnvironment bus("QV_WDU_MAX_WRITE", most);
    TProtPacket request = Packet(chDevice, 4, data);
    ASSERT_TRUE(TimedSend(request, 2000));
    EXPECT_EQ(FSim.Command("last"), "ok 5 4 " + Hex(data));
  }
}

TEST_F(UsbTest, RequestsWithoutPhoneTimeOut) {
  ASSERT_EQ(OpenCommunication(0), static_cast<DWORD>(ocOk));
  TProtPacket request = Packet(chConfig, 6);
  EXPECT_TRUE(TimedSend(request, 0)) << "a send without wait succeeds with nowhere to go";
  double elapsed = 0;
  EXPECT_FALSE(TimedSend(request, 100, &elapsed));
  EXPECT_GE(elapsed, 85);
}

}  // namespace

namespace {

// A phone plugged in while the link closes: its attach may still be under
// way, and start a reader, as the driver closes. Closing must neither hang
// nor leave a reader on freed device records, and the next link works.
TEST_F(UsbTest, PlugRacingTheCloseLeavesTheNextLinkWorking) {
  RegisterAll();
  // Each plug on a control line of its own, whose reply (taken, refused, the
  // port closed during the plug, or none when the plug found no port) is not
  // waited for.
  std::vector<std::unique_ptr<TSimControl>> plugs;
  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE(round);
    ASSERT_EQ(OpenCommunication(0), static_cast<DWORD>(ocOk));
    plugs.push_back(std::make_unique<TSimControl>());
    plugs.back()->Send("plug");
    Sleep(static_cast<DWORD>(round % 4));
    CloseCommunication();
    Sim("reset");
  }
  Events.clear();
  ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
  TProtPacket request = Packet(chConfig, 6);
  EXPECT_TRUE(TimedSend(request, 1000));
}

}  // namespace
