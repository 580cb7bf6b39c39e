#include "phone_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "link_types.h"
#include "usb_wire.h"

namespace {

int ListenOn(uint16_t port, uint16_t& bound) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
  const int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 8) != 0)
    throw std::runtime_error("cannot listen on port " + std::to_string(port) + ": " + std::strerror(errno));
  socklen_t size = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  bound = ntohs(address.sin_port);
  return fd;
}

void SendAll(int fd, const uint8_t* bytes, size_t count) {
  while (count > 0) {
    ssize_t sent = send(fd, bytes, count, MSG_NOSIGNAL);
    if (sent < 0 && errno == ENOTSOCK) sent = write(fd, bytes, count);  // the serial line
    if (sent <= 0) return;  // the peer went away; its close shows up in the poll
    bytes += sent;
    count -= static_cast<size_t>(sent);
  }
}

}  // namespace

TPhoneServer::TPhoneServer(TEchoResponder& Echo, TPhoneResponder& Responder) : FEcho(Echo), FResponder(Responder) {}

TPhoneServer::~TPhoneServer() {
  for (auto& port : FPorts) close(port.Fd);
  for (auto& control : FControls) close(control.Fd);
  if (FUsbListen >= 0) close(FUsbListen);
  if (FControlListen >= 0) close(FControlListen);
  if (FSerialSlave >= 0) close(FSerialSlave);
}

void TPhoneServer::Listen(uint16_t UsbPort, uint16_t ControlPort) {
  FUsbListen = ListenOn(UsbPort, FUsbPort);
  FControlListen = ListenOn(ControlPort, FControlPort);
}

void TPhoneServer::PlugAtStart() {
  FWaitingPlugs.push_back({FNextPhoneId++, PhoneVendorId, PhoneProductId, 0, -1, TClock::time_point::max()});
}

void TPhoneServer::Run() {
  while (!FQuit) {
    std::vector<pollfd> fds{{FUsbListen, POLLIN, 0}, {FControlListen, POLLIN, 0}};
    for (auto& port : FPorts) fds.push_back({port.Fd, static_cast<short>(port.Stalled ? 0 : POLLIN), 0});
    for (auto& control : FControls) fds.push_back({control.Fd, POLLIN, 0});
    if (poll(fds.data(), fds.size(), PollTimeoutMs()) < 0 && errno != EINTR) throw std::runtime_error("poll failed");
    size_t i = 2;
    // Lists keep their elements in place; closed ones are removed after the pass.
    for (auto& port : FPorts)
      if (fds[i++].revents) ReadPort(port);
    for (auto& control : FControls)
      if (fds[i++].revents) ReadControl(control);
    FPorts.remove_if([](const TBusPort& port) { return port.Fd < 0; });
    FControls.remove_if([](const TControl& control) { return control.Fd < 0; });
    if (fds[0].revents) AcceptPort();
    if (fds[1].revents) AcceptControl();
    SendDue();
    ExpirePlugs();
  }
}

int TPhoneServer::PollTimeoutMs() const {
  auto next = TClock::time_point::max();
  for (const auto& item : FScheduled) next = std::min(next, item.When);
  for (const auto& plug : FWaitingPlugs) next = std::min(next, plug.Deadline);
  if (next == TClock::time_point::max()) return -1;
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(next - TClock::now()).count();
  return static_cast<int>(std::clamp<long long>(ms + 1, 0, 60000));
}

void TPhoneServer::AcceptPort() {
  const int fd = accept(FUsbListen, nullptr, nullptr);
  if (fd < 0) return;
  const int yes = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  FPorts.emplace_back();
  TBusPort& port = FPorts.back();
  port.Fd = fd;
  if (!FWaitingPlugs.empty()) {
    const TPlug phone = FWaitingPlugs.front();
    FWaitingPlugs.erase(FWaitingPlugs.begin());
    Plug(port, phone);
    return;
  }
  const uint8_t empty = PortEmpty;
  SendAll(fd, &empty, 1);
}

void TPhoneServer::Plug(TBusPort& Port, const TPlug& Phone) {
  const uint8_t message[PlugMessageSize] = {PortPlugged,
                                            static_cast<uint8_t>(Phone.VendorId),
                                            static_cast<uint8_t>(Phone.VendorId >> 8),
                                            static_cast<uint8_t>(Phone.ProductId),
                                            static_cast<uint8_t>(Phone.ProductId >> 8),
                                            Phone.Interface};
  Port.State = TBusPort::TState::AwaitingAck;
  Port.Phone = Phone;
  SendAll(Port.Fd, message, sizeof message);
}

void TPhoneServer::OfferPlugs() {
  for (auto& port : FPorts) {
    if (FWaitingPlugs.empty()) return;
    if (port.Fd < 0 || port.State != TBusPort::TState::Empty) continue;
    Plug(port, FWaitingPlugs.front());
    FWaitingPlugs.erase(FWaitingPlugs.begin());
  }
}

void TPhoneServer::ExpirePlugs() {
  const auto now = TClock::now();
  for (auto it = FWaitingPlugs.begin(); it != FWaitingPlugs.end();) {
    if (it->Deadline > now) {
      ++it;
      continue;
    }
    if (it->ReplyFd >= 0) Reply(it->ReplyFd, "error no host on the bus");
    it = FWaitingPlugs.erase(it);
  }
}

void TPhoneServer::ReadPort(TBusPort& Port) {
  if (Port.Stalled) return;
  uint8_t buffer[4096];
  const ssize_t got = read(Port.Fd, buffer, sizeof buffer);
  if (Port.Serial) {
    for (ssize_t i = 0; i < got; ++i) Port.Decoder.ReceiveByte(buffer[i]);
    for (const auto& request : Port.Decoder.Take()) Answer(Port, request);
    return;
  }
  if (got <= 0) {
    // The stand-in's driver was closed; the phone stays plugged in and is
    // offered to the next port the stand-in connects.
    if (Port.Phone) FWaitingPlugs.push_back({Port.Phone->Id, Port.Phone->VendorId, Port.Phone->ProductId,
                                             Port.Phone->Interface, -1, TClock::time_point::max()});
    ClosePort(Port);
    return;
  }
  size_t start = 0;
  if (Port.State == TBusPort::TState::AwaitingAck) {
    Port.Taken = buffer[0] == PortTaken;
    Port.State = TBusPort::TState::Plugged;
    // Anything but an answer is bulk-out data that overtook the answer; the
    // plug's reply says so instead of passing it off as a refusal.
    const bool Answered = Port.Taken || buffer[0] == PortRefused;
    if (Port.Phone->ReplyFd >= 0)
      Reply(Port.Phone->ReplyFd, !Answered ? "error bulk-out data came before the stand-in's answer to the plug"
                                           : "ok " + std::to_string(Port.Phone->Id) + (Port.Taken ? " taken" : " refused"));
    start = 1;
  }
  if (Port.State != TBusPort::TState::Plugged) return;
  for (size_t i = start; i < static_cast<size_t>(got); ++i) Port.Decoder.ReceiveByte(buffer[i]);
  for (const auto& request : Port.Decoder.Take()) Answer(Port, request);
}

void TPhoneServer::Answer(TBusPort& Port, const TProtPacket& Request) {
  ++FRequests;
  FLastRequest = Request;
  FLastOnSerial = Port.Serial;
  if (FSilenceAt && FSilenceAt->Channel == Request.Channel && FSilenceAt->Code == Request.Code) FSilent = true;
  if (FSilent) return;
  std::vector<TProtPacket> frames;
  FResponder.Handle(Request, frames);
  const auto now = TClock::now();
  for (auto& frame : FBefore) SendAll(Port.Fd, frame.data(), frame.size());
  FBefore.clear();
  for (const auto& frame : frames)
    for (auto& out : FFaults.Apply(frame))
      FScheduled.push_back({now + std::chrono::milliseconds(out.DelayMs), Port.Phone->Id, std::move(out.Bytes)});
  SendDue();
}

void TPhoneServer::SendDue() {
  const auto now = TClock::now();
  // In the order they were scheduled, so undelayed answers keep their order.
  for (auto it = FScheduled.begin(); it != FScheduled.end();) {
    if (it->When > now) {
      ++it;
      continue;
    }
    if (TBusPort* port = FindPhone(it->PhoneId)) SendAll(port->Fd, it->Bytes.data(), it->Bytes.size());
    it = FScheduled.erase(it);
  }
}

void TPhoneServer::ClosePort(TBusPort& Port) {
  if (Port.Fd < 0) return;
  close(Port.Fd);
  Port.Fd = -1;
  if (Port.State == TBusPort::TState::AwaitingAck && Port.Phone->ReplyFd >= 0)
    Reply(Port.Phone->ReplyFd, "error the port closed during the plug");
}

TPhoneServer::TBusPort* TPhoneServer::FindPhone(int Id) {
  for (auto& port : FPorts)
    if (port.Fd >= 0 && port.Phone && port.Phone->Id == Id) return &port;
  return nullptr;
}

TPhoneServer::TBusPort* TPhoneServer::LatestPhone() {
  TBusPort* latest = nullptr;
  for (auto& port : FPorts)
    if (port.Fd >= 0 && !port.Serial && port.State == TBusPort::TState::Plugged && port.Taken &&
        (!latest || port.Phone->Id > latest->Phone->Id))
      latest = &port;
  return latest;
}

void TPhoneServer::AcceptControl() {
  const int fd = accept(FControlListen, nullptr, nullptr);
  if (fd >= 0) FControls.push_back({fd, {}});
}

void TPhoneServer::ReadControl(TControl& Control) {
  char buffer[4096];
  const ssize_t got = recv(Control.Fd, buffer, sizeof buffer, 0);
  if (got <= 0) {
    for (auto& port : FPorts)
      if (port.Phone && port.Phone->ReplyFd == Control.Fd) port.Phone->ReplyFd = -1;
    for (auto& plug : FWaitingPlugs)
      if (plug.ReplyFd == Control.Fd) plug.ReplyFd = -1;
    close(Control.Fd);
    Control.Fd = -1;
    return;
  }
  Control.Input.append(buffer, static_cast<size_t>(got));
  size_t end;
  while ((end = Control.Input.find('\n')) != std::string::npos) {
    std::string line = Control.Input.substr(0, end);
    Control.Input.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (const auto reply = Execute(line, Control.Fd)) Reply(Control.Fd, *reply);
  }
}

void TPhoneServer::Reply(int Fd, const std::string& Line) {
  const std::string text = Line + "\n";
  SendAll(Fd, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}
