// The language and ring-tone pools against the phone model: names, the image
// transfer in chunks, the language re-select and the melody player.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "image_fixtures.h"
#include "memory_image.h"
#include "phone_commands.h"
#include "phone_model.h"
#include "phone_sender.h"
#include "pool_test_support.h"
#include "qvdp_all.h"
#include "qvdp_config.h"
#include "qvdp_language.h"
#include "qvdp_ringtones.h"
#include "stream.h"

namespace {

class ImagePools : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    All.OnSendPacket = PhoneModelSender(Phone, &Log);
  }
  TQVDP_LANGUAGE& Language() { return *static_cast<TQVDP_LANGUAGE*>(All.Pools(piLanguage)); }
  TQVDP_RINGTONES& Ringtones() { return *static_cast<TQVDP_RINGTONES*>(All.Pools(piRingtones)); }
  TQVDP_CONFIG& Config() { return *static_cast<TQVDP_CONFIG*>(All.Pools(piConfig)); }
  void PutOnPhone(uint32_t Offset, const std::vector<uint8_t>& Image) {
    std::copy(Image.begin(), Image.end(), Phone.State.Memory.begin() + Offset);
  }
  // A pool's data-file section: change byte, L, then the L image bytes.
  static TMemoryStream Section(uint8_t Changed, const std::vector<uint8_t>& Image) {
    TMemoryStream section;
    uint8_t head[5] = {Changed};
    PutU32(head + 1, static_cast<uint32_t>(Image.size()));
    section.WriteBuffer(head, sizeof head);
    section.WriteBuffer(Image.data(), static_cast<int32_t>(Image.size()));
    section.Seek(0, soFromBeginning);
    return section;
  }
  size_t Count(uint8_t Channel, uint8_t Code) const {
    return static_cast<size_t>(std::count_if(Log.begin(), Log.end(), [&](const TProtPacket& p) {
      return p.Channel == Channel && p.Code == Code;
    }));
  }

  TPhoneModel Phone;
  std::vector<TProtPacket> Log;
  TQVDP_ALL All;
};

}  // namespace

TEST_F(ImagePools, EmptyPoolsNameOnlyTheirStandardEntries) {
  EXPECT_EQ(Language().Names(), (std::vector<std::string>{"Standard (Deutsch)"}));
  EXPECT_EQ(Ringtones().Names(), (std::vector<std::string>{"Standard (0)"}));
}

TEST_F(ImagePools, ReadFromPhoneParsesNamesAndMelodies) {
  PutOnPhone(LanguageImageOffset, MakeImage({LanguageRecord({"English", "Yes"}), LanguageRecord({"Fran\xE7" "ais"})}));
  PutOnPhone(RingtoneImageOffset, MakeImage({MelodyRecord({Note(4000, 200)}), MelodyRecord({}), MelodyRecord({})}));
  Language().FChanged = Ringtones().FChanged = true;
  ASSERT_TRUE(Language().ReadFromPhone());
  ASSERT_TRUE(Ringtones().ReadFromPhone());
  EXPECT_EQ(Language().Names(), (std::vector<std::string>{"Standard (Deutsch)", "English", "Fran\xE7" "ais"}));
  EXPECT_EQ(Ringtones().Names(),
            (std::vector<std::string>{"Standard (0)", "Melodie 1", "Melodie 2", "Melodie 3"}));
  EXPECT_FALSE(Language().FChanged);
  EXPECT_FALSE(Ringtones().FChanged);
}

TEST_F(ImagePools, ImageOfLength65534FillsTheBufferIn65Chunks) {
  std::vector<uint8_t> image = MakeImage({MelodyRecord({Note(1000, 10)})});
  image.resize(MaxImageSize, 0x5C);
  PutU16(&image[2], 65534);
  PutOnPhone(RingtoneImageOffset, image);
  ASSERT_TRUE(Ringtones().ReadFromPhone());
  // One header read, then 64 chunks of 1,015 bytes and one of 576.
  ASSERT_EQ(Count(chDevice, DevReadMemory), 1 + 65u);
  std::vector<uint16_t> sizes;
  for (const TProtPacket& p : Log)
    if (p.Channel == chDevice && p.Code == DevReadMemory) sizes.push_back(GetU16(p.Data + 5));
  EXPECT_EQ(sizes.front(), 8);
  EXPECT_EQ(sizes[1], 1015);
  EXPECT_EQ(sizes.back(), 576);
  EXPECT_EQ(Ringtones().FImage, image);
  EXPECT_EQ(Ringtones().FMelodies.size(), 1u);
}

TEST_F(ImagePools, HeaderWithLengthBeyondTheBufferIsRefusedAndThePoolKept) {
  PutOnPhone(LanguageImageOffset, MakeImage({LanguageRecord({"English"})}));
  ASSERT_TRUE(Language().ReadFromPhone());
  const std::vector<uint8_t> kept = Language().FImage;
  PutU16(&Phone.State.Memory[LanguageImageOffset + 2], 65535);
  EXPECT_FALSE(Language().ReadFromPhone());
  EXPECT_EQ(Language().FImage, kept);
  EXPECT_EQ(Language().Names().size(), 2u);
}

TEST_F(ImagePools, ImageWithoutRecordsLeavesThePoolEmptyAndWritesTwoZeroBytes) {
  PutOnPhone(RingtoneImageOffset, MakeImage({MelodyRecord({Note(1, 1)})}));
  ASSERT_TRUE(Ringtones().ReadFromPhone());
  PutU16(&Phone.State.Memory[RingtoneImageOffset + 4], 0);  // Count 0, Length as it was
  ASSERT_TRUE(Ringtones().ReadFromPhone());
  EXPECT_TRUE(Ringtones().FMelodies.empty());
  Log.clear();
  ASSERT_TRUE(Ringtones().WriteToPhone(false));
  ASSERT_EQ(Count(chDevice, DevWriteMemory), 1u);
  const auto write = std::find_if(Log.begin(), Log.end(), [](const TProtPacket& p) { return p.Code == DevWriteMemory; });
  EXPECT_EQ(GetU16(write->Data + 5), 2);
  EXPECT_EQ(write->Data[7], 0);
  EXPECT_EQ(write->Data[8], 0);
  EXPECT_EQ(Count(chSystem, SysCommitArea), 1u);
}

TEST_F(ImagePools, LanguageWriteEndsWithTwoSettingsWritesLanguageZeroFirst) {
  PutOnPhone(LanguageImageOffset, MakeImage({LanguageRecord({"English"}), LanguageRecord({"Dansk"})}));
  ASSERT_TRUE(Language().ReadFromPhone());
  Phone.State.Settings.Language = 2;
  Phone.State.Settings.Ringtone = 9;  // the phone's own record goes back, changed only in Language
  Log.clear();
  ASSERT_TRUE(Language().WriteToPhone(false));
  std::vector<std::pair<uint8_t, uint8_t>> order;
  for (const TProtPacket& p : Log) order.push_back({p.Channel, p.Code});
  ASSERT_GE(order.size(), 4u);
  const std::vector<std::pair<uint8_t, uint8_t>> tail(order.end() - 4, order.end());
  EXPECT_EQ(tail, (std::vector<std::pair<uint8_t, uint8_t>>{
                      {chSystem, SysCommitArea}, {chConfig, CfgReadSettings}, {chConfig, CfgWriteSettings},
                      {chConfig, CfgWriteSettings}}));
  const TProtPacket& first = Log[Log.size() - 2];
  const TProtPacket& second = Log.back();
  EXPECT_EQ(first.Data[offsetof(TPhoneSettings, Language)], 0);
  EXPECT_EQ(second.Data[offsetof(TPhoneSettings, Language)], 2);
  EXPECT_EQ(second.Data[offsetof(TPhoneSettings, Ringtone)], 9);
  EXPECT_EQ(Phone.State.Settings.Language, 2);
  EXPECT_FALSE(Language().FChanged);
}

TEST_F(ImagePools, LanguageReselectTakesTheOwnersUnwrittenLanguage) {
  PutOnPhone(LanguageImageOffset, MakeImage({LanguageRecord({"English"})}));
  ASSERT_TRUE(Language().ReadFromPhone());
  Phone.State.Settings.Language = 0;
  Config().SetLanguage(1, false);  // changed on the PC, not yet written
  ASSERT_TRUE(Language().WriteToPhone(false));
  EXPECT_EQ(Phone.State.Settings.Language, 1);
}

TEST_F(ImagePools, PlayMelodySoundsNotesAndRestsThroughTheSpeaker) {
  PutOnPhone(RingtoneImageOffset, MakeImage({MelodyRecord({Note(4000, 200), Note(0, 100), Note(3, 1)}), MelodyRecord({})}));
  ASSERT_TRUE(Ringtones().ReadFromPhone());
  Platform.Cursors.clear();
  Ringtones().PlayMelody(1);
  EXPECT_EQ(Platform.Sounds, (std::vector<std::pair<uint32_t, uint32_t>>{{2000, 1000}, {0, 500}, {2666666, 5}}));
  EXPECT_EQ(Platform.Cursors, (std::vector<TPoolCursor>{TPoolCursor::HourGlass, TPoolCursor::Default}));

  Platform.Sounds.clear();
  Platform.Cursors.clear();
  Ringtones().PlayMelody(2);  // only a terminator: hourglass, nothing played
  EXPECT_TRUE(Platform.Sounds.empty());
  EXPECT_EQ(Platform.Cursors.size(), 2u);
  Platform.Cursors.clear();
  Ringtones().PlayMelody(0);
  Ringtones().PlayMelody(3);
  EXPECT_TRUE(Platform.Cursors.empty());
  EXPECT_TRUE(Platform.Sounds.empty());
}

TEST_F(ImagePools, FailedReadKeepsThePreviousImageAndItsNames) {
  PutOnPhone(LanguageImageOffset, MakeImage({LanguageRecord({"English"})}));
  ASSERT_TRUE(Language().ReadFromPhone());
  const std::vector<uint8_t> previous = Language().FImage;
  PutOnPhone(LanguageImageOffset, MakeImage({LanguageRecord({std::string(3000, 'x')})}));
  // The header read (request 1) or a chunk after it (request 3) goes unanswered.
  for (int failing : {1, 3}) {
    SCOPED_TRACE(failing);
    int reads = 0;
    Phone.Unanswered = [&](const TProtPacket& p) { return p.Code == DevReadMemory && ++reads == failing; };
    Language().FChanged = true;
    EXPECT_FALSE(Language().ReadFromPhone());
    EXPECT_EQ(Language().FImage, previous) << "no new bytes mixed with old ones";
    EXPECT_EQ(Language().Names(), (std::vector<std::string>{"Standard (Deutsch)", "English"}));
    EXPECT_TRUE(Language().FChanged);
  }
}

// The phone's image changes (or the phone lies) between the header read and
// the first chunk, which repeats the header: the Length that chunk carries
// must not become the pool's, or the pool would be saved as an image that no
// later start can load, or written back with bytes it never read.
class ChunkLengthDiffers : public ImagePools, public ::testing::WithParamInterface<uint16_t> {};

TEST_P(ChunkLengthDiffers, FailsTheReadAndTheKeptPoolStillSavesAndLoads) {
  for (const TPoolIndex index : {piLanguage, piRingtones}) {
    SCOPED_TRACE(index);
    TQVDP_IMAGEPOOL& pool = *static_cast<TQVDP_IMAGEPOOL*>(All.Pools(index));
    const uint32_t offset = index == piLanguage ? LanguageImageOffset : RingtoneImageOffset;
    PutOnPhone(offset, MakeImage({LanguageRecord({"Svenska"}), MelodyRecord({Note(4000, 2)})}));
    ASSERT_TRUE(pool.ReadFromPhone());
    const std::vector<uint8_t> previous = pool.FImage;
    const std::vector<std::string> names = index == piLanguage ? Language().Names() : Ringtones().Names();

    const std::vector<uint8_t> image = MakeImage({std::vector<uint8_t>(92, 0x11)});
    ASSERT_EQ(GetU16(&image[2]), 98);
    PutOnPhone(offset, image);
    int reads = 0;
    All.OnSendPacket = [&, inner = PhoneModelSender(Phone, &Log)](TQVDP_ALL* Sender, TProtPacket& Packet,
                                                                 int32_t Timeout) {
      const bool answered = inner(Sender, Packet, Timeout);
      if (answered && Packet.Code == (DevReadMemory | AnswerFlag) && ++reads == 2)
        PutU16(Packet.Data + MemoryRequestHeader + 2, GetParam());
      return answered;
    };
    EXPECT_FALSE(pool.ReadFromPhone());
    EXPECT_EQ(pool.FImage, previous);
    EXPECT_EQ(index == piLanguage ? Language().Names() : Ringtones().Names(), names);

    TMemoryStream saved;
    ASSERT_TRUE(pool.SaveToStream(saved)) << All.ErrorText();
    saved.Seek(0, soFromBeginning);
    TQVDP_ALL later;
    auto& loaded = *static_cast<TQVDP_IMAGEPOOL*>(later.Pools(index));
    ASSERT_TRUE(loaded.LoadFromStream(saved)) << later.ErrorText();
    EXPECT_EQ(loaded.FImage, previous);
    All.OnSendPacket = PhoneModelSender(Phone, &Log);
  }
}

INSTANTIATE_TEST_SUITE_P(Lengths, ChunkLengthDiffers, ::testing::Values(uint16_t{0xFFFF}, uint16_t{0x2000}));

TEST_F(ImagePools, LoadedImageWithoutSignatureLeavesNothingParsed) {
  PutOnPhone(LanguageImageOffset, MakeImage({LanguageRecord({"English"})}));
  PutOnPhone(RingtoneImageOffset, MakeImage({MelodyRecord({Note(4000, 200)})}));
  ASSERT_TRUE(Language().ReadFromPhone());
  ASSERT_TRUE(Ringtones().ReadFromPhone());
  std::vector<uint8_t> noSignature = MakeImage({MelodyRecord({Note(4000, 200)})});
  noSignature[0] = 0;
  TMemoryStream languageSection = Section(1, noSignature);
  TMemoryStream toneSection = Section(1, noSignature);
  ASSERT_TRUE(Language().LoadFromStream(languageSection)) << All.ErrorText();
  ASSERT_TRUE(Ringtones().LoadFromStream(toneSection)) << All.ErrorText();
  EXPECT_TRUE(Language().FLanguages.empty());
  EXPECT_TRUE(Ringtones().FMelodies.empty());
  EXPECT_EQ(Ringtones().Names(), (std::vector<std::string>{"Standard (0)"}));
  EXPECT_TRUE(Ringtones().FChanged);
  // The image goes back to the phone as loaded, signature and all.
  EXPECT_TRUE(std::equal(noSignature.begin(), noSignature.end(), Ringtones().FImage.begin()));
}

TEST_F(ImagePools, FailedSectionLoadKeepsThePreviousImageAndItsList) {
  const std::vector<uint8_t> before = InBuffer(MakeImage({MelodyRecord({Note(4000, 200)}), MelodyRecord({})}));
  std::copy(before.begin(), before.end(), Ringtones().FImage.begin());
  Ringtones().ParseImage();
  std::vector<uint8_t> unstorable = MakeImage({MelodyRecord({Note(1, 2)})});
  PutU16(&unstorable[2], static_cast<uint16_t>(unstorable.size()));  // Length + 2 is past the L bytes present
  TMemoryStream section = Section(0, unstorable);
  EXPECT_FALSE(Ringtones().LoadFromStream(section));
  EXPECT_EQ(All.ErrorText(), "Datei %s ist keine g\xFCltige Quorvale-Datenbank");
  EXPECT_EQ(Ringtones().FImage, before);
  EXPECT_EQ(Ringtones().FMelodies.size(), 2u);
}

// A language module that knows the melody text in English.
class EnglishTexts : public TRecordingPlatform {
 public:
  std::string ResourceText(int Id) override { return Id == MelodyTextId ? "Melody" : BuiltInPoolText(Id); }
};

TEST_F(ImagePools, MelodyNamesTakeTheTextOfTheLanguageModule) {
  PutOnPhone(RingtoneImageOffset, MakeImage({MelodyRecord({}), MelodyRecord({})}));
  ASSERT_TRUE(Ringtones().ReadFromPhone());
  EnglishTexts english;
  TPoolPlatform* previous = SetPoolPlatform(&english);
  const std::vector<std::string> names = Ringtones().Names();
  SetPoolPlatform(previous);
  EXPECT_EQ(names, (std::vector<std::string>{"Standard (0)", "Melody 1", "Melody 2"}));
}

// The image is on the phone before the re-select starts, so a failing
// re-select still clears the mark; which request failed decides the
// phone's language.
TEST_F(ImagePools, FailedReselectReturnsFalseWithTheMarkCleared) {
  struct {
    uint8_t Code;
    int Occurrence;  // the n-th request of that code goes unanswered
    uint8_t PhoneLanguage;
  } const cases[] = {{CfgReadSettings, 1, 2}, {CfgWriteSettings, 1, 2}, {CfgWriteSettings, 2, 0}};
  PutOnPhone(LanguageImageOffset, MakeImage({LanguageRecord({"English"}), LanguageRecord({"Dansk"})}));
  ASSERT_TRUE(Language().ReadFromPhone());
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << int{c.Code} << " #" << c.Occurrence);
    Phone.State.Settings.Language = 2;
    int seen = 0;
    Phone.Unanswered = [&](const TProtPacket& p) {
      return p.Channel == chConfig && p.Code == c.Code && ++seen == c.Occurrence;
    };
    Language().FChanged = true;
    const uint32_t commits = Phone.State.Commits;
    EXPECT_FALSE(Language().WriteToPhone(true));
    EXPECT_EQ(Phone.State.Commits, commits + 1) << "the image was committed";
    EXPECT_FALSE(Language().FChanged);
    EXPECT_EQ(Phone.State.Settings.Language, c.PhoneLanguage);
  }
}
