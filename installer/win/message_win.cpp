#include "message_win.h"

#include <windows.h>

#include "install_plan.h"

namespace {

TMessageSink MessageSink = nullptr;

}  // namespace

void SetMessageSink(TMessageSink Sink) { MessageSink = Sink; }

void ShowPlainMessage(const std::string& Text) {
  if (MessageSink) return MessageSink(Text);
  char Path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, Path, MAX_PATH);
  MessageBoxA(GetActiveWindow(), Text.c_str(), MessageTitle(Path).c_str(), MB_OK);
}
