// The simulator's serial line: a pty whose other side Wine maps to a COM port
// (a symlink dosdevices/comN -> the pty's path in the WINEPREFIX). The phone
// side is the pty master, served by the same poll loop as the USB ports. The
// line is made raw here, as a pty echoes until someone sets it up, and a
// handle on its other side is kept open so that the master never reads as
// hung up between two users of the COM port.
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "link_types.h"
#include "phone_server.h"

namespace {
// The serial phone's id in scheduled frames; USB phones count from 1.
constexpr int SerialPhoneId = 0;
}  // namespace

void TPhoneServer::OpenSerialLine() {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 || !ptsname(master))
    throw std::runtime_error(std::string("cannot open a pty: ") + std::strerror(errno));
  FSerialPath = ptsname(master);
  FSerialSlave = open(FSerialPath.c_str(), O_RDWR | O_NOCTTY);
  termios settings{};
  if (FSerialSlave < 0 || tcgetattr(FSerialSlave, &settings) != 0)
    throw std::runtime_error("cannot open " + FSerialPath + ": " + std::strerror(errno));
  cfmakeraw(&settings);
  tcsetattr(FSerialSlave, TCSANOW, &settings);
  FPorts.emplace_back();
  TBusPort& line = FPorts.back();
  line.Fd = master;
  line.State = TBusPort::TState::Plugged;
  line.Phone = TPlug{SerialPhoneId, PhoneVendorId, PhoneProductId, 0, -1, TClock::time_point::max()};
  line.Taken = true;
  line.Serial = true;
}

TPhoneServer::TBusPort* TPhoneServer::SerialLine() {
  for (auto& port : FPorts)
    if (port.Serial) return &port;
  return nullptr;
}

std::string TPhoneServer::SerialSettings() const {
  termios settings{};
  if (FSerialSlave < 0 || tcgetattr(FSerialSlave, &settings) != 0) return "error no serial line";
  const speed_t speed = cfgetospeed(&settings);
  const int bits = (settings.c_cflag & CSIZE) == CS8 ? 8 : (settings.c_cflag & CSIZE) == CS7 ? 7 : 0;
  return std::string("ok speed=") + (speed == B38400 ? "38400" : std::to_string(speed)) +
         " bits=" + std::to_string(bits) + " parity=" + ((settings.c_cflag & PARENB) ? "on" : "none") +
         " stop=" + ((settings.c_cflag & CSTOPB) ? "2" : "1");
}

void TPhoneServer::FlushSerialLine() {
  if (FSerialSlave >= 0) tcflush(FSerialSlave, TCIOFLUSH);
  if (TBusPort* line = SerialLine()) {
    line->Stalled = false;
    line->Decoder.Take();
  }
}

std::string TPhoneServer::CloseSerialLine() {
  TBusPort* line = SerialLine();
  if (!line || line->Fd < 0) return "error no serial line";
  ClosePort(*line);
  if (FSerialSlave >= 0) close(FSerialSlave);
  FSerialSlave = -1;
  return "ok";
}
