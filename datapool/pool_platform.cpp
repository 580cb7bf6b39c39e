// The installed platform and the built-in default that stands in until the
// program installs its own.
#include "pool_platform.h"

#include "pool_texts.h"

namespace {

class TNoPhonePlatform final : public TPoolPlatform {
 public:
  bool SendPacket(TProtPacket&, int32_t) override { return false; }
  int GetActiveLink() override { return LinkKindNone; }
  void SetCursor(TPoolCursor) override {}
  std::string ResourceText(int Id) override { return BuiltInPoolText(Id); }
  void Beep(uint32_t, uint32_t) override {}
  void Sleep(uint32_t) override {}
};

TNoPhonePlatform DefaultPlatform;
TPoolPlatform* Installed = &DefaultPlatform;

}  // namespace

TPoolPlatform& PoolPlatform() { return *Installed; }

TPoolPlatform* SetPoolPlatform(TPoolPlatform* Platform) {
  TPoolPlatform* Previous = Installed;
  Installed = Platform ? Platform : &DefaultPlatform;
  return Previous;
}
