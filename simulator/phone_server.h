// The simulator's server: one single-threaded poll loop over the USB
// stand-in's bus ports (usb_wire.h), a serial line on a pty and the control
// connections. Each plugged port is one phone, and so is the serial line: its
// incoming bytes go through the frame receiver to the responder, whose answers
// go out through the fault plan, some after a delay.
// Control lines are commands (control_commands.cpp); each gets one reply line,
// "ok ..." or "error ...", a plug's only once the stand-in has taken or
// refused the phone, so a test knows the attach has happened.
#pragma once

#include <chrono>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "answer_faults.h"
#include "echo_responder.h"
#include "packet_decoder.h"

class TPhoneServer {
 public:
  using TClock = std::chrono::steady_clock;
  // How long a plug waits for the stand-in to offer an empty bus port: a
  // test plugs before it starts the program, which on a loaded machine may
  // take many seconds to connect.
  static constexpr auto PlugTimeout = std::chrono::seconds(60);

  TPhoneServer(TEchoResponder& Echo, TPhoneResponder& Responder);
  ~TPhoneServer();
  // Listens on loopback; port 0 picks a free one. Throws std::runtime_error.
  void Listen(uint16_t UsbPort, uint16_t ControlPort);
  uint16_t UsbPort() const { return FUsbPort; }
  uint16_t ControlPort() const { return FControlPort; }
  // Opens the serial line: a pty in raw mode whose other side (this path) a
  // Wine prefix maps to a COM port. Throws std::runtime_error.
  void OpenSerialLine();
  const std::string& SerialPath() const { return FSerialPath; }
  // A phone is plugged into the first port the stand-in connects.
  void PlugAtStart();
  // Serves until a "quit" command.
  void Run();

 private:
  struct TPlug {
    int Id;
    uint16_t VendorId, ProductId;
    uint8_t Interface;
    int ReplyFd;  // control connection waiting for the plug's reply, -1 for none
    TClock::time_point Deadline;
  };
  struct TBusPort {
    int Fd = -1;
    enum class TState { Empty, AwaitingAck, Plugged } State = TState::Empty;
    std::optional<TPlug> Phone;
    bool Taken = false;
    bool Serial = false;   // the pty, always plugged; never unplugged by a command
    bool Stalled = false;  // serial line only: its input is left unread
    TPacketDecoder Decoder;
  };
  struct TControl {
    int Fd;
    std::string Input;
  };
  struct TScheduled {
    TClock::time_point When;
    int PhoneId;
    std::vector<uint8_t> Bytes;
  };

  void AcceptPort();
  void AcceptControl();
  void ReadPort(TBusPort& Port);
  void ReadControl(TControl& Control);
  void OfferPlugs();
  void Plug(TBusPort& Port, const TPlug& Phone);
  void Answer(TBusPort& Port, const TProtPacket& Request);
  void SendDue();
  void ExpirePlugs();
  void ClosePort(TBusPort& Port);
  TBusPort* FindPhone(int Id);
  TBusPort* LatestPhone();
  TBusPort* SerialLine();
  // "ok speed=... bits=... parity=... stop=..." as the line is set now.
  std::string SerialSettings() const;
  // Drops what waits on the line either way and reads it again.
  void FlushSerialLine();
  // Closes both sides of the pty, so the COM port mapped to it is left hung up.
  std::string CloseSerialLine();
  void Reply(int Fd, const std::string& Line);
  std::optional<std::string> Execute(const std::string& Line, int ReplyFd);  // nullopt: reply deferred
  int PollTimeoutMs() const;

  TEchoResponder& FEcho;
  TPhoneResponder& FResponder;
  TAnswerFaults FFaults;
  int FUsbListen = -1, FControlListen = -1;
  uint16_t FUsbPort = 0, FControlPort = 0;
  std::list<TBusPort> FPorts;
  std::list<TControl> FControls;
  std::vector<TPlug> FWaitingPlugs;  // no empty port yet
  std::vector<TScheduled> FScheduled;
  std::vector<std::vector<uint8_t>> FBefore;  // frames that go out just before the next answer
  int FNextPhoneId = 1;
  long FRequests = 0;
  TProtPacket FLastRequest{};
  bool FLastOnSerial = false;
  std::optional<TProtPacket> FSilenceAt;  // the request (channel and code) at which the phone goes dead
  bool FSilent = false;
  std::string FSerialPath;
  int FSerialSlave = -1;  // held open, so the line keeps its settings and never reads as hung up
  bool FQuit = false;
};
