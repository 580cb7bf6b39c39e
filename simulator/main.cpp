// qv_phone_sim: the phone simulator, a native Linux program. It serves the USB
// stand-in (wd_utils.dll) on loopback TCP, one connection per bus port, and
// takes commands on a second loopback port, and offers a serial line on a pty.
// It prints one line "ready usb=<port> control=<port> pty=<path> pid=<pid>"
// once all three are open, so a test script can start it with port 0 (a free
// port each) and read where to connect and what to map to a COM port; the
// process id tells the line from one a previous simulator left in the same
// file.
// With --state it serves the phone model seeded from that phone state file
// (phone/phone_state_file.h), else the echo responder.
//   qv_phone_sim [--usb-port N] [--control-port N] [--plugged] [--state FILE]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include "echo_responder.h"
#include "phone_model.h"
#include "phone_server.h"
#include "phone_state_file.h"
#include "usb_wire.h"

int main(int argc, char** argv) {
  uint16_t usbPort = StandinDefaultPort, controlPort = 0;
  bool plugged = false;
  std::string stateFile;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--usb-port" && i + 1 < argc) {
      usbPort = static_cast<uint16_t>(std::atoi(argv[++i]));
    } else if (arg == "--control-port" && i + 1 < argc) {
      controlPort = static_cast<uint16_t>(std::atoi(argv[++i]));
    } else if (arg == "--plugged") {
      plugged = true;
    } else if (arg == "--state" && i + 1 < argc) {
      stateFile = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--usb-port N] [--control-port N] [--plugged] [--state FILE]\n", argv[0]);
      return 2;
    }
  }
  try {
    TEchoResponder echo;
    TPhoneModel phone;
    if (!stateFile.empty() && !LoadPhoneState(phone.State, stateFile))
      throw std::runtime_error("cannot load the phone state file " + stateFile);
    TPhoneServer server(echo, stateFile.empty() ? static_cast<TPhoneResponder&>(echo) : phone);
    server.Listen(usbPort, controlPort);
    server.OpenSerialLine();
    if (plugged) server.PlugAtStart();
    std::printf("ready usb=%u control=%u pty=%s pid=%ld\n", server.UsbPort(), server.ControlPort(),
                server.SerialPath().c_str(), static_cast<long>(getpid()));
    std::fflush(stdout);
    server.Run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "qv_phone_sim: %s\n", error.what());
    return 1;
  }
  return 0;
}
