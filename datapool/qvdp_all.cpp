// The owner of the six pools: routing of requests, the full transfers with
// their progress reports, and the change announcements.
//
// ReadAll holds the pools' own announcements back (FBusy) and announces all
// six pools once when it succeeds, so the user interface rebuilds each list
// once per read. WriteAll does not hold them back. Neither lets an exception
// out: the dialogs that run them must always be able to close.
#include "qvdp_all.h"

#include <exception>

#include "pool_factory.h"
#include "pool_platform.h"
#include "pool_texts.h"

namespace {

constexpr int PercentPerPool = 20;

}  // namespace

TQVDP_ALL::TQVDP_ALL() {
  for (int Index = 0; Index < PoolCount; ++Index)
    FPools[Index] = CreatePool(this, static_cast<TPoolIndex>(Index));
}

TQVDP_ALL::~TQVDP_ALL() {
  // The phonebooks and the pictures empty themselves while they go; nobody
  // may hear of that.
  FBusy = true;
  for (auto& Pool : FPools) Pool.reset();
}

TQV_DATAPOOL* TQVDP_ALL::GetPool(TPoolIndex Index) const {
  return Index < PoolCount ? FPools[Index].get() : nullptr;
}

bool TQVDP_ALL::AnyChanged() const {
  for (const auto& Pool : FPools)
    if (Pool->FChanged) return true;
  return false;
}

void TQVDP_ALL::DoChange(TPoolIndex Index) {
  if (!FBusy && OnChange) OnChange(this, Index);
}

bool TQVDP_ALL::SendPacket(TProtPacket& Packet, int32_t Timeout) {
  if (OnSendPacket) return OnSendPacket(this, Packet, Timeout);
  return PoolPlatform().SendPacket(Packet, Timeout);
}

bool TQVDP_ALL::FailTransfer(const std::string& Text) {
  FErrorText = Text;
  PoolPlatform().SetCursor(TPoolCursor::Default);
  return false;
}

bool TQVDP_ALL::ReadAll() {
  PoolPlatform().SetCursor(TPoolCursor::HourGlass);
  FBusy = true;
  try {
    for (int Index = 0; Index < PoolCount; ++Index) {
      const auto Pool = static_cast<TPoolIndex>(Index);
      if (OnReadProgress) OnReadProgress(this, Pool, Index * PercentPerPool);
      if (!FPools[Index]->ReadFromPhone()) {
        FBusy = false;
        return FailTransfer(PoolText(NoAnswerTextId));
      }
    }
    if (OnReadProgress) OnReadProgress(this, piRingtones, 100);
  } catch (const std::exception& Error) {
    FBusy = false;
    return FailTransfer(Error.what());
  }
  FBusy = false;
  for (int Index = 0; Index < PoolCount; ++Index) DoChange(static_cast<TPoolIndex>(Index));
  PoolPlatform().SetCursor(TPoolCursor::Default);
  return true;
}

bool TQVDP_ALL::WriteAll(bool OnlyChanged) {
  PoolPlatform().SetCursor(TPoolCursor::HourGlass);
  try {
    for (int Index = 0; Index < PoolCount; ++Index) {
      TQV_DATAPOOL& Pool = *FPools[Index];
      // Tested before the write, which clears the flag.
      if (OnWriteProgress && (!OnlyChanged || Pool.FChanged))
        OnWriteProgress(this, static_cast<TPoolIndex>(Index), Index * PercentPerPool);
      if (!Pool.WriteToPhone(OnlyChanged)) return FailTransfer(PoolText(NoAnswerTextId));
    }
    if (OnWriteProgress) OnWriteProgress(this, piNone, 100);
  } catch (const std::exception& Error) {
    return FailTransfer(Error.what());
  }
  PoolPlatform().SetCursor(TPoolCursor::Default);
  return true;
}
