// The serial link over the simulator's pty, mapped to COM5 of the test's Wine
// prefix: round trips at 38,400 baud, the port's settings, bursts above the
// port thread's 256-byte reads, USB winning over the serial port, and a write
// that the line does not take within its bound.
#include <chrono>

#include "link_fixture_win.h"

namespace {

class SerialTest : public TLinkTest {
 protected:
  void SetUp() override {
    TLinkTest::SetUp();
    if (!SerialLineMapped()) GTEST_SKIP() << "no serial line mapped (run_with_simulator.sh --preload)";
    RegisterAll();
    ASSERT_EQ(OpenCommunication(SerialLinePort), static_cast<DWORD>(ocOk));
    ASSERT_EQ(GetActiveLink(), static_cast<DWORD>(lkSerial));
  }
};

TEST_F(SerialTest, RequestAndAnswerTravelOverTheLine) {
  Sim("payload 7 0a0b7e7d7c");
  TProtPacket request = Packet(chConfig, 7, {1, 2, 3});
  ASSERT_TRUE(TimedSend(request, 1000));
  EXPECT_EQ(FSim.Command("link"), "ok serial");
  EXPECT_EQ(FSim.Command("last"), "ok 3 7 010203");
  EXPECT_EQ(request.Code, 0x87);
  ASSERT_EQ(request.Len, 5);
  EXPECT_EQ(Hex({request.Data, request.Data + 5}), "0a0b7e7d7c");
}

TEST_F(SerialTest, PortIsSetUpAsThePhoneWantsIt) {
  EXPECT_EQ(FSim.Command("serial-settings"), "ok speed=38400 bits=8 parity=none stop=1");
  // A second handle on the port reads back what the link applied.
  HANDLE port = CreateFileA(SerialLineName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(port, INVALID_HANDLE_VALUE) << GetLastError();
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  ASSERT_TRUE(GetCommState(port, &dcb)) << GetLastError();
  CloseHandle(port);
  EXPECT_EQ(dcb.BaudRate, 38400u);
  EXPECT_EQ(dcb.ByteSize, 8);
  EXPECT_EQ(dcb.Parity, NOPARITY);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
  EXPECT_TRUE(dcb.fBinary);
  // No flow control by characters or by DSR, no replacement, no abort.
  // Wine reads back only what the line itself keeps: RTS handshaking becomes
  // the line's hardware flow control, which it reports as CTS output flow
  // control too, DTR handshaking reads back as plain "on", and the event
  // character is not kept; those four are not compared.
  EXPECT_FALSE(dcb.fParity);
  EXPECT_FALSE(dcb.fOutxDsrFlow);
  EXPECT_FALSE(dcb.fDsrSensitivity);
  EXPECT_FALSE(dcb.fOutX);
  EXPECT_FALSE(dcb.fInX);
  EXPECT_FALSE(dcb.fErrorChar);
  EXPECT_FALSE(dcb.fNull);
  EXPECT_FALSE(dcb.fAbortOnError);
}

// The port thread reads at most 256 bytes at a time; a frame is accepted only
// when every byte arrived, in order, since its CRC covers them all.
TEST_F(SerialTest, BurstsAboveOneReadArriveWholeAndInOrder) {
  std::vector<uint8_t> data(1000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 31 + i / 256);
  Sim("serial-send 3 0x21 " + Hex(data));
  ASSERT_TRUE(PumpUntil([] { return Count(lcConfig) == 1; }));
  EXPECT_EQ(Last(lcConfig)->Len, data.size());
  EXPECT_EQ(Last(lcConfig)->Copy, std::vector<uint8_t>(data.begin(), data.begin() + ConfigCopySize));

  std::vector<uint8_t> full(MaxPacketData, 0x7E);  // every byte stuffed: 2,064 bytes on the line
  TProtPacket request = Packet(chDevice, 3, full);
  ASSERT_TRUE(TimedSend(request, 3000));
  ASSERT_EQ(request.Len, MaxPacketData);
  EXPECT_EQ(std::vector<uint8_t>(request.Data, request.Data + MaxPacketData), full);
}

TEST_F(SerialTest, UsbPhoneWinsOverTheSerialPort) {
  ASSERT_EQ(Plug(), "ok 1 taken");
  ASSERT_TRUE(PumpUntil([] { return Count(lcUsbAttached) == 1; }));
  EXPECT_EQ(GetActiveLink(), static_cast<DWORD>(lkUsb));
  TProtPacket request = Packet(chConfig, 6);
  ASSERT_TRUE(TimedSend(request, 1000));
  EXPECT_EQ(FSim.Command("link"), "ok usb");
  Sim("unplug");
  ASSERT_TRUE(PumpUntil([] { return Count(lcUsbDetached) == 1; }));
  EXPECT_EQ(GetActiveLink(), static_cast<DWORD>(lkSerial));
  request = Packet(chConfig, 6);
  ASSERT_TRUE(TimedSend(request, 1000));
  EXPECT_EQ(FSim.Command("link"), "ok serial");
}

// A line that takes nothing fills the pty's buffer; the write that no longer
// fits returns after its 2,000 ms bound (its pending part cancelled), and the
// link works again once the line is read.
TEST_F(SerialTest, WriteTheLineDoesNotTakeEndsByItsBound) {
  Sim("serial-stall");
  const std::vector<uint8_t> full(MaxPacketData, 0x7D);
  double longest = 0;
  for (int i = 0; i < 16 && longest < 1500; ++i) {
    TProtPacket request = Packet(chDevice, 4, full);
    double elapsed = 0;
    EXPECT_TRUE(TimedSend(request, 0, &elapsed));
    longest = std::max(longest, elapsed);
  }
  EXPECT_GE(longest, 1500) << "the line never filled";
  EXPECT_LE(longest, 3000);
  Sim("serial-resume");
  Sim("payload 6 42");
  // Frames queued before may still arrive first; the request's own answer ends it.
  TProtPacket request = Packet(chConfig, 6);
  ASSERT_TRUE(TimedSend(request, 5000));
  EXPECT_EQ(request.Data[0], 0x42);
}

}  // namespace
