// The Wine tests' line to the phone simulator's control port (loopback TCP; the
// port comes from QV_SIM_CONTROL_PORT, set by run_with_simulator.sh). Commands
// are written as lines; each gets one reply line.
#pragma once

#include <cstdint>
#include <string>

class TSimControl {
 public:
  TSimControl();
  ~TSimControl();
  TSimControl(const TSimControl&) = delete;
  TSimControl& operator=(const TSimControl&) = delete;

  bool Connected() const { return FSocket != NoSocket; }
  // Sends one command and returns its reply line.
  std::string Command(const std::string& Line);
  // Sends a command whose reply comes later (a plug waits for the attach).
  void Send(const std::string& Line);
  std::string ReadReply();

 private:
  // A Winsock SOCKET, kept as its integer so that this header needs no winsock2.h.
  static constexpr uintptr_t NoSocket = ~uintptr_t{0};
  uintptr_t FSocket = NoSocket;
  std::string FInput;
};

// "ok" replies pass; anything else is the simulator's error text.
bool IsOk(const std::string& Reply);
