#include <winsock2.h>
#include <ws2tcpip.h>

#include "sim_control_win.h"

#include <cstdlib>

TSimControl::TSimControl() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  const char* port = std::getenv("QV_SIM_CONTROL_PORT");
  if (!port) return;
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(std::atoi(port)));
  inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
  if (s != INVALID_SOCKET && connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
    FSocket = s;
  else if (s != INVALID_SOCKET)
    closesocket(s);
}

TSimControl::~TSimControl() {
  if (FSocket != NoSocket) closesocket(static_cast<SOCKET>(FSocket));
  WSACleanup();
}

void TSimControl::Send(const std::string& Line) {
  const std::string text = Line + "\n";
  send(static_cast<SOCKET>(FSocket), text.data(), static_cast<int>(text.size()), 0);
}

std::string TSimControl::ReadReply() {
  for (;;) {
    const size_t end = FInput.find('\n');
    if (end != std::string::npos) {
      std::string line = FInput.substr(0, end);
      FInput.erase(0, end + 1);
      return line;
    }
    char buffer[4096];
    const int got = recv(static_cast<SOCKET>(FSocket), buffer, sizeof buffer, 0);
    if (got <= 0) return "error simulator connection lost";
    FInput.append(buffer, static_cast<size_t>(got));
  }
}

std::string TSimControl::Command(const std::string& Line) {
  Send(Line);
  return ReadReply();
}

bool IsOk(const std::string& Reply) { return Reply.compare(0, 2, "ok") == 0; }
