// The configuration pool's transfers, setters and live sends.
//
// Every answer is taken as far as its Len reaches: bytes that a short answer
// did not carry are read as zero, so a text-slot answer without data fails
// its slot-number check instead of passing on the request's own byte.
#include "qvdp_config.h"

#include <algorithm>
#include <cstring>

#include "phone_commands.h"
#include "pool_platform.h"
#include "pool_request.h"
#include "pool_texts.h"
#include "protocol.h"

namespace {

void ZeroBeyondLen(TProtPacket& Answer) {
  const size_t Len = std::min<size_t>(Answer.Len, MaxPacketData);
  std::memset(Answer.Data + Len, 0, MaxPacketData - Len);
}

// A slot's text length, bounded so that the text and its zero byte always
// fit the 16-byte slot, also for a slot the phone filled without a zero.
size_t SlotLength(const char* Slot) { return strnlen(Slot, TextSlotSize - 1); }

// Puts the slot's text and a zero byte at Dest; returns the bytes put.
uint16_t PutSlot(uint8_t* Dest, const char* Slot) {
  const size_t Length = SlotLength(Slot);
  std::memcpy(Dest, Slot, Length);
  Dest[Length] = 0;
  return static_cast<uint16_t>(Length + 1);
}

constexpr uint8_t LiveCodes[TQVDP_CONFIG::LiveKindCount] = {DevContrast, DevIntensity};

}  // namespace

TQVDP_CONFIG::TQVDP_CONFIG(TQVDP_ALL* AOwner) : TQV_DATAPOOL(AOwner) { FIndex = piConfig; }

bool TQVDP_CONFIG::ReadConfig(bool SettingsOnly) {
  TProtPacket Packet;
  if (!SettingsOnly) {
    Packet = PoolRequest(chConfig, CfgReadText);
    if (!SendPacket(Packet, ConfigTimeout)) return false;
    ZeroBeyondLen(Packet);
    std::memcpy(FText, Packet.Data, TextSlotSize);
    for (int Slot = 1; Slot <= TextSlotCount; ++Slot) {
      Packet = PoolRequest(chConfig, CfgReadTextSlot, {static_cast<uint8_t>(Slot)});
      if (!SendPacket(Packet, ConfigTimeout)) return false;
      ZeroBeyondLen(Packet);
      if (Packet.Data[0] != Slot) return false;
      std::memcpy(FTexts[Slot - 1], Packet.Data + 1, TextSlotSize);
    }
  }
  Packet = PoolRequest(chConfig, CfgReadSettings);
  if (!SendPacket(Packet, ConfigTimeout)) return false;
  ZeroBeyondLen(Packet);
  std::memcpy(&FSettings, Packet.Data, sizeof(FSettings));
  FChanged = false;
  Changed();
  return true;
}

bool TQVDP_CONFIG::WriteConfig(bool OnlyChanged, bool SettingsOnly) {
  if (OnlyChanged && !FChanged) return true;
  TProtPacket Packet;
  if (!SettingsOnly) {
    uint8_t Text[1 + TextSlotSize];  // the slot number, the text and its zero byte
    const uint16_t Size = PutSlot(Text, FText);
    Packet = PoolRequest(chConfig, CfgWriteText, Text, Size);
    if (!SendPacket(Packet, ConfigTimeout)) return false;
    for (int Slot = 1; Slot <= TextSlotCount; ++Slot) {
      Text[0] = static_cast<uint8_t>(Slot);
      const uint16_t SlotSize = 1 + PutSlot(Text + 1, FTexts[Slot - 1]);
      Packet = PoolRequest(chConfig, CfgWriteTextSlot, Text, SlotSize);
      if (!SendPacket(Packet, ConfigTimeout)) return false;
    }
  }
  Packet = PoolRequest(chConfig, CfgWriteSettings, &FSettings, sizeof(FSettings));
  if (!SendPacket(Packet, ConfigTimeout)) return false;
  FChanged = false;
  return true;
}

bool TQVDP_CONFIG::SendSimPin(const std::string& Pin) {
  std::memset(FSimPin, 0, sizeof(FSimPin));
  std::memcpy(FSimPin, Pin.data(), strnlen(Pin.c_str(), SimPinSize - 1));
  TProtPacket Packet = PoolRequest(chConfig, CfgSimPin, FSimPin, strnlen(FSimPin, SimPinSize) + 1);
  if (SendPacket(Packet, SimPinTimeout)) return true;
  SetErrorText(PoolText(NoAnswerTextId));
  return false;
}

void TQVDP_CONFIG::Store(bool Notify) {
  FChanged = true;
  if (Notify) Changed();
}

void TQVDP_CONFIG::SetFlag(uint8_t Bit, bool Notify) {
  FSettings.Flags |= 1u << (Bit % 32);
  Store(Notify);
}

void TQVDP_CONFIG::ClearFlag(uint8_t Bit, bool Notify) {
  FSettings.Flags &= ~(1u << (Bit % 32));
  Store(Notify);
}

bool TQVDP_CONFIG::GetFlag(uint8_t Bit) const { return (FSettings.Flags >> (Bit % 32)) & 1u; }

void TQVDP_CONFIG::SetBacklightTime(uint16_t Seconds, bool Notify) {
  FSettings.BacklightTime = Seconds;
  Store(Notify);
}

void TQVDP_CONFIG::SetTimeZone(int16_t Minutes, bool Notify) {
  FSettings.TimeZone = Minutes;
  Store(Notify);
}

void TQVDP_CONFIG::SetLanguage(uint8_t Index, bool Notify) {
  FSettings.Language = Index;
  Store(Notify);
}

void TQVDP_CONFIG::SetRingtone(uint8_t Index, bool Notify) {
  FSettings.Ringtone = Index;
  Store(Notify);
}

void TQVDP_CONFIG::SetContrast(uint8_t Value, bool Notify) {
  FSettings.Contrast = Value;
  SetLive(lvContrast, Value, Notify);
}

void TQVDP_CONFIG::SetIntensity(uint8_t Value, bool Notify) {
  FSettings.Intensity = Value;
  SetLive(lvIntensity, Value, Notify);
}

void TQVDP_CONFIG::SetLive(TLiveKind Kind, uint8_t Value, bool Notify) {
  FChanged = true;
  // Without a phone the value only waits for the next write.
  if (PoolPlatform().GetActiveLink() != LinkKindNone) {
    FLiveValue[Kind] = Value;
    FResendLive[Kind] = true;
    // A nested call: the running sender will send the newest value.
    if (FSendingLive) return;
    FSendingLive = true;
    const bool Sent = SendPendingLive();
    FSendingLive = false;
    if (!Sent) return;
  }
  if (Notify) Changed();
}

bool TQVDP_CONFIG::SendPendingLive() {
  bool SentAny;
  do {
    SentAny = false;
    for (int Kind = 0; Kind < LiveKindCount; ++Kind) {
      if (!FResendLive[Kind]) continue;
      FResendLive[Kind] = false;
      TProtPacket Packet = PoolRequest(chDevice, LiveCodes[Kind], {0, static_cast<uint8_t>(FLiveValue[Kind])});
      if (!SendPacket(Packet, LiveTimeout)) {
        // The sender stops silently; the next live call starts afresh.
        for (bool& Resend : FResendLive) Resend = false;
        return false;
      }
      SentAny = true;
    }
  } while (SentAny);
  return true;
}
