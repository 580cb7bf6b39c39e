// A serial port that goes away under the open link (a USB-serial adapter
// pulled out: here the simulator closes its pty for good, so these cases run
// against a simulator of their own): the port thread must not spin, and the
// link must still close.
#include "link_fixture_win.h"

namespace {

double ProcessCpuMs() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  const auto ticks = [](const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;  // 100 ns units
}

class SerialGoneTest : public TLinkTest {
 protected:
  void SetUp() override {
    TLinkTest::SetUp();
    if (!SerialLineMapped()) GTEST_SKIP() << "no serial line mapped (run_with_simulator.sh --preload)";
    ASSERT_EQ(OpenCommunication(SerialLinePort), static_cast<DWORD>(ocOk));
  }
};

TEST_F(SerialGoneTest, PortThatWentAwayLeavesTheProcessIdle) {
  constexpr DWORD WatchMs = 2000;
  Sim("serial-close");
  Sleep(200);  // the port thread notices the line is gone
  const double before = ProcessCpuMs();
  Sleep(WatchMs);
  const double used = ProcessCpuMs() - before;
  // A spinning thread would use about the whole 2,000 ms; an idle process a few.
  EXPECT_LT(used, WatchMs / 8) << used << " ms of CPU in " << WatchMs << " ms";
  TProtPacket request = Packet(chConfig, 6);
  EXPECT_TRUE(TimedSend(request, 0)) << "a write to the gone port is not reported";
  CloseCommunication();
  EXPECT_EQ(GetOpenLinks(), 0u);
}

}  // namespace
