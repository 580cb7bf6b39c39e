// The configuration pool: the order and shape of its requests, the slot-number
// check, the SIM PIN, the setters' marks and announcements, and the live sends
// of contrast and intensity with nested calls arriving during a send's wait.
#include <cstring>
#include <string>
#include <vector>

#include "phone_commands.h"
#include "phone_model.h"
#include "phone_sender.h"
#include "pool_test_support.h"
#include "qvdp_all.h"
#include "qvdp_config.h"

namespace {

class ConfigTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    Model = PhoneModelSender(Phone, &Log);
    Pools.OnSendPacket = [this](TQVDP_ALL* Sender, TProtPacket& Packet, int32_t Timeout) {
      Timeouts.push_back(Timeout);
      if (BeforeAnswer) BeforeAnswer(Packet);
      const bool answered = Model(Sender, Packet, Timeout);
      if (answered && AfterAnswer) AfterAnswer(Packet);
      return answered;
    };
    Pools.OnChange = [this](TQVDP_ALL*, TPoolIndex Index) { Changes.push_back(Index); };
    for (int slot = 0; slot < TextSlotCount; ++slot)
      std::strcpy(Phone.State.Texts[slot], ("Slot " + std::to_string(slot + 1)).c_str());
    std::strcpy(Phone.State.Text, "Single");
    Phone.State.Settings.Language = 2;
    Phone.State.Settings.Flags = 0x80000001;
  }
  TQVDP_CONFIG& Config() { return *static_cast<TQVDP_CONFIG*>(Pools.Pools(piConfig)); }
  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const TProtPacket& request : Log) codes.push_back(request.Code);
    return codes;
  }

  TPhoneModel Phone;
  std::vector<TProtPacket> Log;
  TSendPacketEvent Model;
  // Run inside the send, as window messages handled during the wait do.
  std::function<void(TProtPacket&)> BeforeAnswer;
  std::function<void(TProtPacket&)> AfterAnswer;
  TQVDP_ALL Pools;
  std::vector<int32_t> Timeouts;
  std::vector<int> Changes;
};

std::vector<int> TextSlotCodes(int First, int Slots, int Last) {
  std::vector<int> codes{First};
  codes.insert(codes.end(), Slots, First == CfgReadText ? CfgReadTextSlot : CfgWriteTextSlot);
  codes.push_back(Last);
  return codes;
}

}  // namespace

// A pool that was never read holds nothing, and the phone sees it: a full
// write puts empty texts and a zero settings record over what it had.
TEST_F(ConfigTest, ANewPoolIsAllZero) {
  for (int bit = 0; bit < 32; ++bit) EXPECT_FALSE(Config().GetFlag(static_cast<uint8_t>(bit))) << bit;
  ASSERT_TRUE(Config().WriteConfig(false, false));
  const TPhoneSettings zero{};
  EXPECT_EQ(std::memcmp(&Phone.State.Settings, &zero, sizeof zero), 0);
  EXPECT_STREQ(Phone.State.Text, "");
  for (const auto& slot : Phone.State.Texts) EXPECT_STREQ(slot, "");
  EXPECT_FALSE(Config().FChanged);
}

TEST_F(ConfigTest, ReadAsksTheTextSlotsInOrderThenTheSettings) {
  ASSERT_TRUE(Config().ReadConfig(false));
  EXPECT_EQ(Codes(), TextSlotCodes(CfgReadText, 10, CfgReadSettings));
  for (int slot = 1; slot <= TextSlotCount; ++slot) {
    EXPECT_EQ(int{Log[slot].Len}, 1);
    EXPECT_EQ(Log[slot].Data[0], slot);
    EXPECT_STREQ(Config().FTexts[slot - 1], ("Slot " + std::to_string(slot)).c_str());
  }
  EXPECT_STREQ(Config().FText, "Single");
  EXPECT_EQ(Config().FSettings.Language, 2);
  EXPECT_TRUE(Config().GetFlag(31));
  EXPECT_EQ(Timeouts, std::vector<int32_t>(12, ConfigTimeout));
  EXPECT_FALSE(Config().FChanged);
  EXPECT_EQ(Changes, std::vector<int>{piConfig}) << "announced even when nothing differs";

  Log.clear();
  ASSERT_TRUE(Config().ReadConfig(true));
  EXPECT_EQ(Codes(), std::vector<int>{CfgReadSettings});
}

TEST_F(ConfigTest, WriteSendsTheTextSlotsThenTheSettingsAndOnlyWhenAsked) {
  struct {
    bool OnlyChanged, SettingsOnly, Changed;
    std::vector<int> Codes;
  } const cases[] = {
      {false, false, false, TextSlotCodes(CfgWriteText, 10, CfgWriteSettings)},
      {false, true, false, {CfgWriteSettings}},
      {true, false, false, {}},
      {true, true, false, {}},
      {true, false, true, TextSlotCodes(CfgWriteText, 10, CfgWriteSettings)},
      {true, true, true, {CfgWriteSettings}},
  };
  for (const auto& c : cases) {
    Log.clear();
    Config().FChanged = false;
    if (c.Changed) Config().SetBacklightTime(30, false);
    EXPECT_TRUE(Config().WriteConfig(c.OnlyChanged, c.SettingsOnly));
    EXPECT_EQ(Codes(), c.Codes) << c.OnlyChanged << c.SettingsOnly << c.Changed;
    EXPECT_FALSE(Config().FChanged);
  }
  EXPECT_EQ(int{Phone.State.Settings.BacklightTime}, 30);
  EXPECT_TRUE(Changes.empty()) << "a write announces nothing";
}

TEST_F(ConfigTest, TextLengthsDecideHowMuchOfASlotIsSent) {
  std::strcpy(Config().FText, "");
  std::strcpy(Config().FTexts[0], "");
  std::strcpy(Config().FTexts[1], "fifteen chars!!");
  std::memset(Config().FTexts[2], 'x', TextSlotSize);  // no zero byte, as a broken phone could fill it
  ASSERT_TRUE(Config().WriteConfig(false, false));
  EXPECT_EQ(int{Log[0].Len}, 1);
  EXPECT_EQ(int{Log[1].Len}, 2);
  EXPECT_EQ(Log[1].Data[0], 1);
  EXPECT_EQ(Log[1].Data[1], 0);
  EXPECT_EQ(int{Log[2].Len}, 17);
  EXPECT_EQ(Log[2].Data[16], 0);
  EXPECT_EQ(int{Log[3].Len}, 17) << "a slot without its zero byte goes out cut to 15 characters";
  EXPECT_EQ(Log[3].Data[16], 0);
  ASSERT_EQ(size_t{Log.back().Len}, sizeof(TPhoneSettings));
  EXPECT_EQ(std::memcmp(Log.back().Data, &Config().FSettings, sizeof(TPhoneSettings)), 0);
}

TEST_F(ConfigTest, ASlotAnswerForAnotherSlotFailsTheReadWhereItHappens) {
  Config().SetTimeZone(60, false);
  const TPhoneSettings before = Config().FSettings;
  AfterAnswer = [](TProtPacket& Answer) {
    if (Answer.Code == (CfgReadTextSlot | AnswerFlag) && Answer.Data[0] == 4) Answer.Data[0] = 5;
  };
  EXPECT_FALSE(Config().ReadConfig(false));
  EXPECT_STREQ(Config().FText, "Single");
  for (int slot = 1; slot <= 3; ++slot) EXPECT_STREQ(Config().FTexts[slot - 1], ("Slot " + std::to_string(slot)).c_str());
  EXPECT_EQ(Config().FTexts[3][0], 0);
  EXPECT_EQ(std::memcmp(&Config().FSettings, &before, sizeof before), 0);
  EXPECT_TRUE(Config().FChanged);
  EXPECT_TRUE(Changes.empty());
  EXPECT_EQ(Log.size(), 5u) << "no request after the mismatch";
}

TEST_F(ConfigTest, ShortAnswersAreReadAsZerosBeyondTheirLength) {
  // An empty slot answer would otherwise pass the check with the request's own slot byte.
  AfterAnswer = [](TProtPacket& Answer) {
    if (Answer.Code == (CfgReadTextSlot | AnswerFlag)) Answer.Len = 0;
  };
  EXPECT_FALSE(Config().ReadConfig(false));

  AfterAnswer = [](TProtPacket& Answer) {
    if (Answer.Code == (CfgReadSettings | AnswerFlag)) Answer.Len = 10;
  };
  ASSERT_TRUE(Config().ReadConfig(true));
  EXPECT_EQ(int{Config().FSettings.TimeZone}, Phone.State.Settings.TimeZone);
  EXPECT_EQ(Config().FSettings.Language, 0) << "byte 16 lies beyond the answer";
}

TEST_F(ConfigTest, SimPinIsKeptAndSentWithItsZeroByte) {
  ASSERT_TRUE(Config().SendSimPin("1234"));
  ASSERT_EQ(Log.size(), 1u);
  EXPECT_EQ(Log[0].Channel, chConfig);
  EXPECT_EQ(Log[0].Code, CfgSimPin);
  EXPECT_EQ(int{Log[0].Len}, 5);
  EXPECT_EQ(std::memcmp(Log[0].Data, "1234", 5), 0);
  EXPECT_EQ(Timeouts, std::vector<int32_t>{SimPinTimeout});
  EXPECT_EQ(Phone.State.SimPin, "1234");
  EXPECT_FALSE(Config().FChanged);
  EXPECT_TRUE(Changes.empty());

  Phone.Unanswered = [](const TProtPacket&) { return true; };
  EXPECT_FALSE(Config().SendSimPin("987654"));
  EXPECT_STREQ(Config().FSimPin, "987654");
  EXPECT_EQ(Pools.ErrorText(), NoAnswerText());
}

TEST_F(ConfigTest, PlainSettersMarkAlwaysAndAnnounceOnlyWhenAsked) {
  TQVDP_CONFIG& config = Config();
  config.SetFlag(3, false);
  config.FChanged = false;
  config.SetFlag(3, false);
  EXPECT_TRUE(config.FChanged) << "also when the bit was set already";
  EXPECT_EQ(uint32_t{config.FSettings.Flags}, 1u << 3);
  config.SetFlag(35, false);  // bit numbers are taken modulo 32
  EXPECT_TRUE(config.GetFlag(3));
  config.ClearFlag(flAcousticOff, false);
  EXPECT_EQ(uint32_t{config.FSettings.Flags}, 0u);
  EXPECT_TRUE(Changes.empty());

  config.SetRingtone(4, true);
  config.SetLanguage(1, true);
  config.SetTimeZone(-90, true);
  EXPECT_EQ(Changes, (std::vector<int>{piConfig, piConfig, piConfig}));
  EXPECT_EQ(config.FSettings.Ringtone, 4);
  EXPECT_EQ(config.FSettings.Language, 1);
  EXPECT_EQ(int{config.FSettings.TimeZone}, -90);
  EXPECT_TRUE(Log.empty()) << "plain setters send nothing";
}

TEST_F(ConfigTest, ClearKeepsEverything) {
  ASSERT_TRUE(Config().ReadConfig(false));
  Changes.clear();
  Config().Clear();
  EXPECT_STREQ(Config().FText, "Single");
  EXPECT_EQ(Config().FSettings.Language, 2);
  EXPECT_FALSE(Config().FChanged);
  EXPECT_TRUE(Changes.empty());
}

TEST_F(ConfigTest, LiveValueWithoutAPhoneOnlyWaitsForTheNextWrite) {
  Platform.ActiveLink = 0;
  Config().SetContrast(77, true);
  EXPECT_EQ(Config().FSettings.Contrast, 77);
  EXPECT_TRUE(Config().FChanged);
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(Changes, std::vector<int>{piConfig});
}

TEST_F(ConfigTest, NestedLiveCallsDuringASendLeaveOnlyTheNewestValueToSend) {
  int nested = 0;
  BeforeAnswer = [&](TProtPacket& Request) {
    if (Request.Code != DevContrast || nested++ > 0) return;
    for (uint8_t value : {10, 20, 30}) Config().SetContrast(value, true);
  };
  Config().SetContrast(5, true);
  ASSERT_EQ(Log.size(), 2u);
  for (const TProtPacket& request : Log) {
    EXPECT_EQ(request.Channel, chDevice);
    EXPECT_EQ(request.Code, DevContrast);
    EXPECT_EQ(int{request.Len}, 2);
    EXPECT_EQ(request.Data[0], 0);
  }
  EXPECT_EQ(Log[0].Data[1], 5);
  EXPECT_EQ(Log[1].Data[1], 30);
  EXPECT_EQ(Phone.State.Contrast, 30);
  EXPECT_EQ(Config().FSettings.Contrast, 30);
  EXPECT_EQ(Timeouts, (std::vector<int32_t>{LiveTimeout, LiveTimeout}));
  EXPECT_EQ(Changes, std::vector<int>{piConfig}) << "the nested calls announce nothing themselves";
}

TEST_F(ConfigTest, IntensityArrivingDuringAContrastSendGoesUnderItsOwnCode) {
  bool once = true;
  BeforeAnswer = [&](TProtPacket& Request) {
    if (Request.Code == DevContrast && once) {
      once = false;
      Config().SetIntensity(200, false);
    }
  };
  Config().SetContrast(40, false);
  ASSERT_EQ(Codes(), (std::vector<int>{DevContrast, DevIntensity}));
  EXPECT_EQ(Phone.State.Contrast, 40);
  EXPECT_EQ(Phone.State.Intensity, 200);
}

TEST_F(ConfigTest, AFailedLiveSendEndsTheSenderAndTheNextCallSendsAgain) {
  Phone.Unanswered = [](const TProtPacket&) { return true; };
  bool once = true;
  BeforeAnswer = [&](TProtPacket&) {
    if (once) {
      once = false;
      Config().SetContrast(99, true);  // pending when the send fails: dropped with it
    }
  };
  Config().SetContrast(50, true);
  EXPECT_EQ(Log.size(), 1u);
  EXPECT_TRUE(Changes.empty()) << "a failed live send announces nothing";
  EXPECT_TRUE(Config().FChanged);
  EXPECT_FALSE(Config().FSendingLive);

  Phone.Unanswered = nullptr;
  Config().SetIntensity(60, true);
  EXPECT_EQ(Codes(), (std::vector<int>{DevContrast, DevIntensity}));
  EXPECT_EQ(Phone.State.Intensity, 60);
  EXPECT_EQ(Changes, std::vector<int>{piConfig});
}
