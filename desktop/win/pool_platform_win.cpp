// TPoolPlatform for the desktop program.
#include "pool_platform_win.h"

#include <windows.h>

#include "cursor_win.h"
#include "link_send_win.h"
#include "pool_platform.h"
#include "qvprot_api.h"
#include "resource_texts.h"

namespace {

class TDesktopPoolPlatform final : public TPoolPlatform {
 public:
  bool SendPacket(TProtPacket& Packet, int32_t Timeout) override { return SendLinkPacket(Packet, Timeout); }
  int GetActiveLink() override { return static_cast<int>(::GetActiveLink()); }
  void SetCursor(TPoolCursor Cursor) override {
    if (Cursor == TPoolCursor::HourGlass) ShowHourglass();
    else ShowDefaultCursor();
  }
  std::string ResourceText(int Id) override { return ::ResourceText(Id); }
  void Beep(uint32_t Frequency, uint32_t DurationMs) override { ::Beep(Frequency, DurationMs); }
  void Sleep(uint32_t DurationMs) override { ::Sleep(DurationMs); }
};

TDesktopPoolPlatform Platform;

}  // namespace

void InstallDesktopPoolPlatform() { SetPoolPlatform(&Platform); }
