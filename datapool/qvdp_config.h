// TQVDP_CONFIG, the configuration pool: the phone's settings record, eleven
// short text slots that are carried to and from the phone unseen, and the SIM
// PIN last sent. It also sends the two display values, contrast and
// intensity, to an attached phone while the user moves their sliders.
#pragma once

#include <cstdint>
#include <string>

#include "phone_settings.h"
#include "qv_datapool.h"

constexpr int SimPinSize = 7;    // at most 6 digits and a zero byte
constexpr int TextSlotSize = 16; // at most 15 characters and a zero byte
constexpr int TextSlotCount = 10;
constexpr int32_t ConfigTimeout = 500;
constexpr int32_t SimPinTimeout = 1000;
constexpr int32_t LiveTimeout = 300;

class TQVDP_CONFIG : public TQV_DATAPOOL {
 public:
  explicit TQVDP_CONFIG(TQVDP_ALL* AOwner);

  // The pool keeps all its data: nothing on the PC empties the configuration.
  void Clear() override {}
  bool LoadFromStream(TStream& Stream) override;
  bool SaveToStream(TStream& Stream) override;
  bool ReadFromPhone() override { return ReadConfig(false); }
  bool WriteToPhone(bool OnlyChanged) override { return WriteConfig(OnlyChanged, false); }

  // The text slots (unless SettingsOnly) and then the settings record.
  bool ReadConfig(bool SettingsOnly);
  bool WriteConfig(bool OnlyChanged, bool SettingsOnly);
  // Keeps the first 6 characters of Pin and sends them; on failure the
  // owner's ErrorText is the no-answer text.
  bool SendSimPin(const std::string& Pin);

  // The settings page's setters; Bit is taken modulo 32. Each marks the pool
  // changed and announces piConfig only when Notify is true.
  void SetFlag(uint8_t Bit, bool Notify);
  void ClearFlag(uint8_t Bit, bool Notify);
  bool GetFlag(uint8_t Bit) const;
  void SetBacklightTime(uint16_t Seconds, bool Notify);
  void SetTimeZone(int16_t Minutes, bool Notify);
  void SetLanguage(uint8_t Index, bool Notify);
  void SetRingtone(uint8_t Index, bool Notify);
  // Also send the value at once to an attached phone.
  void SetContrast(uint8_t Value, bool Notify);
  void SetIntensity(uint8_t Value, bool Notify);

  char FSimPin[SimPinSize] = {};
  char FTexts[TextSlotCount][TextSlotSize] = {};  // slots 1 to 10
  char FText[TextSlotSize] = {};
  TPhoneSettings FSettings{};

  // Live-send state. One sender runs at a time (FSendingLive); a live setter
  // called while it waits (from a message handled inside the send's wait)
  // only leaves its value pending and returns. Each kind has its own pending
  // mark and value, so contrast and intensity each reach the phone under their
  // own code, the newest value only.
  enum TLiveKind { lvContrast, lvIntensity, LiveKindCount };
  bool FResendLive[LiveKindCount] = {};  // a value of this kind waits to be sent
  bool FSendingLive = false;
  int32_t FLiveValue[LiveKindCount] = {};  // the newest value of each kind, 0 to 255

 private:
  void Store(bool Notify);
  void SetLive(TLiveKind Kind, uint8_t Value, bool Notify);
  // Sends pending values until none is left; false when a send failed.
  bool SendPendingLive();
};
