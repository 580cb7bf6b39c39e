// Whole-phone round trips: a seeded phone read by ReadAll, kept in a data
// file, loaded into a fresh pool set and written to a blank phone with
// WriteAll(False) ends as the phone it started from, also when the phone's
// language and ring-tone images hold records that do not parse; and the
// simulator's demo phone state file still is the seeded phone it was made from.
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "byte_order.h"
#include "image_fixtures.h"
#include "memory_image.h"
#include "phone_commands.h"
#include "phone_model.h"
#include "phone_seed.h"
#include "phone_sender.h"
#include "phone_state_file.h"
#include "pool_test_support.h"
#include "qvdp_all.h"
#include "qvdp_phonebook2.h"

namespace {

class RoundTrip : public PlatformTest {
 protected:
  void TearDown() override {
    std::remove(FileName.c_str());
    PlatformTest::TearDown();
  }
  // Counters of commits differ after a write, and the clock is the main
  // window's, not the data pool's; everything else must not differ.
  static TPhoneState WithoutCounters(TPhoneState State) {
    State.Commits = 0;
    State.PictureCommits = 0;
    State.Clock = {};
    return State;
  }

  std::string FileName = testing::TempDir() + "round_trip_test.qvd";
};

// Replaces the phone's language and ring-tone images with ones whose headers
// are sound but whose records run past the image: a language counted twice but
// present once, and a melody without its terminator.
void PutImagesThatDoNotParse(TPhoneState& State) {
  std::vector<uint8_t> language = MakeImage({LanguageRecord({"English"})});
  PutU16(&language[4], 2);
  const std::vector<uint8_t> tones = MakeImage({std::vector<uint8_t>{0x10, 0, 0, 0, 0x20, 0}});
  const std::pair<uint32_t, const std::vector<uint8_t>*> images[] = {{PhoneLanguageOffset, &language},
                                                                     {PhoneRingtoneOffset, &tones}};
  for (const auto& [offset, image] : images) {
    // The old image goes first, so the phone holds nothing that a write of
    // the new one would not carry.
    const auto at = State.Memory.begin() + offset;
    std::fill_n(at, ImageTotal(&*at), 0);
    std::copy(image->begin(), image->end(), at);
  }
}

}  // namespace

TEST_F(RoundTrip, PhoneThroughTheDataFileToABlankPhoneArrivesWhole) {
  struct {
    const char* What;
    TPhoneSeed Seed;
    bool ImagesThatDoNotParse;
  } const phones[] = {
      {"empty phone", TPhoneSeed{}, false},
      {"full phone", FullPhoneSeed(), false},
      {"demo phone", DemoPhoneSeed(), false},
      {"demo phone, images that do not parse", DemoPhoneSeed(), true},
  };
  for (const auto& phone : phones) {
    SCOPED_TRACE(phone.What);
    TPhoneModel source;
    source.State = MakeSeededPhone(phone.Seed);
    if (phone.ImagesThatDoNotParse) PutImagesThatDoNotParse(source.State);
    const TPhoneState original = source.State;
    {
      TQVDP_ALL pools;
      pools.OnSendPacket = PhoneModelSender(source);
      ASSERT_TRUE(pools.ReadAll()) << pools.ErrorText();
      EXPECT_FALSE(pools.AnyChanged());
      ASSERT_TRUE(pools.SaveToFile(FileName)) << pools.ErrorText();
    }
    EXPECT_TRUE(source.State == original) << "reading changes nothing on the phone";

    TPhoneModel target;  // a blank phone
    TQVDP_ALL pools;
    ASSERT_TRUE(pools.LoadFromFile(FileName)) << pools.ErrorText();
    pools.OnSendPacket = PhoneModelSender(target);
    ASSERT_TRUE(pools.WriteAll(false)) << pools.ErrorText();
    EXPECT_FALSE(pools.AnyChanged());
    EXPECT_EQ(target.State.PictureCommits, 4u) << "after slots 6, 12, 18 and 24";
    EXPECT_EQ(target.State.Commits, 3u) << "phonebook 2, languages, ring tones";
    EXPECT_TRUE(WithoutCounters(target.State) == WithoutCounters(original));
  }
}

TEST_F(RoundTrip, Phonebook2CountRaisedBetweenHeaderAndImageReadsNoMoreThanArrived) {
  TPhoneModel phone;
  phone.State = MakeSeededPhone(TPhoneSeed{0, 3, 0, 0, 0});
  const TSendPacketEvent model = PhoneModelSender(phone);
  TQVDP_ALL pools;
  // The phone changes its count to 200 once the header has been read.
  pools.OnSendPacket = [&](TQVDP_ALL* Sender, TProtPacket& Packet, int32_t Timeout) {
    const bool chunk = Packet.Channel == chDevice && Packet.Code == DevReadMemory && GetU16(Packet.Data + 5) > 4;
    if (!model(Sender, Packet, Timeout)) return false;
    if (chunk) PutU16(Packet.Data + MemoryRequestHeader + 2, MaxPhonebook2Entries);
    return true;
  };
  auto& book = *static_cast<TQVDP_PHONEBOOK2*>(pools.Pools(piPhonebook2));
  ASSERT_TRUE(book.ReadFromPhone());
  EXPECT_EQ(book.FEntries.size(), 3u);
}

TEST(DemoPhone, StateFileIsTheSeededDemoPhone) {
  TPhoneState demo;
  ASSERT_TRUE(LoadPhoneState(demo, QV_DEMO_STATE_FILE)) << QV_DEMO_STATE_FILE;
  EXPECT_TRUE(demo == MakeSeededPhone(DemoPhoneSeed()))
      << "regenerate it with qv_make_demo_state " << QV_DEMO_STATE_FILE;
  EXPECT_FALSE(demo.Phonebook1.empty());
  EXPECT_FALSE(demo.Pictures[0].empty());
}

TEST(DemoPhone, StateFileThatIsCutShortIsRefusedAndChangesNothing) {
  const std::string name = testing::TempDir() + "round_trip_test.qvphone";
  ASSERT_TRUE(SavePhoneState(MakeSeededPhone(DemoPhoneSeed()), name));
  std::filesystem::resize_file(name, std::filesystem::file_size(name) - 1);
  TPhoneState state;
  state.Settings.Contrast = 9;
  EXPECT_FALSE(LoadPhoneState(state, name));
  EXPECT_EQ(state.Settings.Contrast, 9);
  EXPECT_FALSE(LoadPhoneState(state, name + ".missing"));
  std::remove(name.c_str());
}
