// Doubles shared by the data pool's tests: a platform that records what the
// pools ask of it, a fixture that installs it, and small builders.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "pb_entry.h"
#include "pool_platform.h"
#include "pool_texts.h"

class TRecordingPlatform : public TPoolPlatform {
 public:
  bool SendPacket(TProtPacket&, int32_t) override {
    ++LinkSends;  // the link library: a test that routes through OnSendPacket expects none
    return false;
  }
  int GetActiveLink() override { return ActiveLink; }
  void SetCursor(TPoolCursor Cursor) override { Cursors.push_back(Cursor); }
  std::string ResourceText(int Id) override { return BuiltInPoolText(Id); }
  void Beep(uint32_t Frequency, uint32_t DurationMs) override { Sounds.push_back({Frequency, DurationMs}); }
  void Sleep(uint32_t DurationMs) override { Sounds.push_back({0, DurationMs}); }

  int ActiveLink = 2;  // a USB phone is attached
  int LinkSends = 0;
  std::vector<TPoolCursor> Cursors;
  std::vector<std::pair<uint32_t, uint32_t>> Sounds;  // frequency 0: a rest
};

// Installs a TRecordingPlatform for one test and puts the previous one back.
class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override { FPrevious = SetPoolPlatform(&Platform); }
  void TearDown() override { SetPoolPlatform(FPrevious); }
  TRecordingPlatform Platform;

 private:
  TPoolPlatform* FPrevious = nullptr;
};

inline TPBEntry MakeEntry(const std::string& Name, const std::string& Number = "0123", uint8_t Kind = ntMobile,
                          uint8_t Picture = 0) {
  TPBEntry Entry{};
  Entry.Kind = Kind;
  std::memcpy(Entry.Name, Name.data(), std::min<size_t>(Name.size(), PBTextSize));
  std::memcpy(Entry.Number, Number.data(), std::min<size_t>(Number.size(), PBTextSize));
  Entry.Picture = Picture;
  return Entry;
}

inline bool SameBytes(const TPBEntry& A, const TPBEntry& B) { return std::memcmp(&A, &B, sizeof(A)) == 0; }

// The no-answer text as the user sees it, byte for byte in code page 1252.
inline const char* NoAnswerText() {
  return "Keine Antwort vom Quorvale erhalten\r\r- Das Quorvale muss eingeschaltet sein\r- \xDC"
         "berpr\xFC"
         "fen Sie die Verbindung";
}
