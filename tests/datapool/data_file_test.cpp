// The data file: its exact bytes, loading in any section order, change marks,
// scrambling, refusing damaged files, and a save that never destroys the
// file it replaces.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "byte_order.h"
#include "image_fixtures.h"
#include "picture_fixtures.h"
#include "pool_test_support.h"
#include "qvdp_all.h"
#include "qvdp_config.h"
#include "qvdp_language.h"
#include "qvdp_phonebook1.h"
#include "qvdp_phonebook2.h"
#include "qvdp_pictures.h"
#include "qvdp_ringtones.h"
#include "scramble.h"
#include "stream.h"

namespace {

// Sets the C library's time zone (nullptr: back to the system's).
#ifdef _WIN32
void SetZone(const char* Zone) {
  _putenv_s("TZ", Zone ? Zone : "");
  _tzset();
}
#else
void SetZone(const char* Zone) {
  if (Zone) setenv("TZ", Zone, 1);
  else unsetenv("TZ");
  tzset();
}
#endif

constexpr const char* InvalidFilePattern = "Datei %s ist keine g\xFCltige Quorvale-Datenbank";

std::vector<uint8_t> SaveBytes(TQVDP_ALL& All) {
  TMemoryStream stream;
  EXPECT_TRUE(All.SaveToStream(stream)) << All.ErrorText();
  return stream.Bytes();
}

// The file without its save time, which differs between two saves.
std::vector<uint8_t> WithoutTime(std::vector<uint8_t> Bytes) {
  std::fill(Bytes.begin() + 4, Bytes.begin() + 12, 0);
  return Bytes;
}

std::vector<uint8_t> ReadFile(const std::string& Name) {
  std::ifstream file(Name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

void WriteFile(const std::string& Name, const std::vector<uint8_t>& Bytes) {
  std::ofstream(Name, std::ios::binary).write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

bool Exists(const std::string& Name) { return std::filesystem::exists(Name); }

class DataFile : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    All.OnChange = [this](TQVDP_ALL*, TPoolIndex Index) { Announced.push_back(Index); };
  }
  void TearDown() override {
    std::remove(FileName.c_str());
    std::remove((FileName + ".tmp").c_str());
    PlatformTest::TearDown();
  }
  template <typename TPool>
  static TPool& Pool(TQVDP_ALL& Owner, TPoolIndex Index) {
    return *static_cast<TPool*>(Owner.Pools(Index));
  }

  // A pool set with something in every pool and mixed change marks.
  static void Fill(TQVDP_ALL& Owner) {
    auto& pb1 = Pool<TQVDP_PHONEBOOK>(Owner, piPhonebook1);
    pb1.AddEntry(MakeEntry("Anna", "0301", ntHome, 3));
    pb1.AddEntry(MakeEntry("Bernd", "0302", ntCompany));
    auto& pb2 = Pool<TQVDP_PHONEBOOK>(Owner, piPhonebook2);
    pb2.AddEntry(MakeEntry("Carla", "0303"));
    pb2.FChanged = false;
    auto& pictures = Pool<TQVDP_PICTURES>(Owner, piPictures);
    pictures.SetPicture(2, MakeEditorPicture(1));
    pictures.SetPicture(23, MakeEditorPicture(2));
    pictures.FSlotChanged.fill(false);
    pictures.FSlotChanged[2] = true;
    pictures.FSlotChanged[7] = true;  // an empty slot deleted since the last write
    auto& config = Pool<TQVDP_CONFIG>(Owner, piConfig);
    std::strcpy(config.FSimPin, "1234");
    std::strcpy(config.FTexts[4], "Text fuenf");
    std::strcpy(config.FText, "Single");
    config.FSettings.Language = 1;
    config.FSettings.Flags = 0x01001809;
    config.FChanged = true;
    auto& language = Pool<TQVDP_LANGUAGE>(Owner, piLanguage);
    const auto langImage = MakeImage({LanguageRecord({"English", "Yes"})});
    std::copy(langImage.begin(), langImage.end(), language.FImage.begin());
    language.FChanged = true;
    auto& ringtones = Pool<TQVDP_RINGTONES>(Owner, piRingtones);
    const auto toneImage = MakeImage({MelodyRecord({Note(4000, 200)}), MelodyRecord({})});
    std::copy(toneImage.begin(), toneImage.end(), ringtones.FImage.begin());
  }

  // The sections of a saved file, each from its index byte on.
  static std::vector<std::vector<uint8_t>> Sections(TQVDP_ALL& Owner) {
    std::vector<std::vector<uint8_t>> sections;
    for (int index = 0; index < PoolCount; ++index) {
      TMemoryStream stream;
      const uint8_t indexByte = static_cast<uint8_t>(index);
      stream.WriteBuffer(&indexByte, 1);
      EXPECT_TRUE(Owner.Pools(static_cast<TPoolIndex>(index))->SaveToStream(stream));
      sections.push_back(stream.Bytes());
    }
    return sections;
  }

  static std::vector<uint8_t> Assemble(const std::vector<uint8_t>& Header,
                                       const std::vector<std::vector<uint8_t>>& Sections,
                                       const std::vector<int>& Order) {
    std::vector<uint8_t> file(Header.begin(), Header.begin() + sizeof(TDataFileHeader));
    for (int index : Order) file.insert(file.end(), Sections[index].begin(), Sections[index].end());
    return file;
  }

  bool Load(TQVDP_ALL& Owner, const std::vector<uint8_t>& Bytes) {
    TMemoryStream stream(Bytes);
    return Owner.LoadFromStream(stream);
  }

  TQVDP_ALL All;
  std::vector<TPoolIndex> Announced;
  std::string FileName = testing::TempDir() + "data_file_test.qvd";
};

}  // namespace

TEST_F(DataFile, EmptyPoolSetIs311BytesLaidOutByTheFormat) {
  const std::vector<uint8_t> file = SaveBytes(All);
  ASSERT_EQ(file.size(), 311u);  // 16 + 6 + 6 + 54 + 213 + 8 + 8
  EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 4), (std::vector<uint8_t>{0x9C, 0xAC, 0xF2, 0x23}));
  EXPECT_EQ(GetU32(&file[12]), ProgramVersion);
  EXPECT_EQ(std::memcmp(&All.FHeader, file.data(), 16), 0);
  // Index bytes where each section starts, in order 0 to 5.
  const size_t starts[PoolCount] = {16, 22, 28, 82, 295, 303};
  for (int index = 0; index < PoolCount; ++index) EXPECT_EQ(file[starts[index]], index) << index;
  EXPECT_EQ(GetU32(&file[28 + 2 + 24]), 24u) << "the slot count";
  EXPECT_EQ(GetU32(&file[295 + 2]), 2u) << "an empty image is stored as L = 2 and two zero bytes";
  EXPECT_EQ(GetU32(&file[303 + 2]), 2u);
}

// The saved time is the PC's local time as days since 30 December 1899, not
// UTC: in zones 14 hours ahead of and 11 hours behind UTC it lies that many
// hours from UTC's day count.
TEST_F(DataFile, SavedAtIsLocalTime) {
  const char* kept = std::getenv("TZ");
  const std::string keptZone = kept ? kept : "";
  const struct {
    const char* Zone;  // POSIX: the offset is UTC minus local time
    double Hours;
  } zones[] = {{"QVT-14", 14}, {"QVT+11", -11}, {"UTC0", 0}};
  for (const auto& z : zones) {
    SCOPED_TRACE(z.Zone);
    SetZone(z.Zone);
    const double utcDays = 25569.0 + static_cast<double>(std::time(nullptr)) / 86400.0;
    const std::vector<uint8_t> file = SaveBytes(All);
    double savedAt;
    std::memcpy(&savedAt, &file[4], 8);
    EXPECT_NEAR(savedAt, utcDays + z.Hours / 24.0, 1.0 / (24 * 60)) << "within a minute";
  }
  SetZone(kept ? keptZone.c_str() : nullptr);
}

TEST_F(DataFile, SaveThenLoadGivesEveryPoolItsContentAndChangeMarks) {
  Fill(All);
  const std::vector<uint8_t> file = SaveBytes(All);
  TQVDP_ALL loaded;
  std::vector<TPoolIndex> announced;
  loaded.OnChange = [&](TQVDP_ALL*, TPoolIndex Index) { announced.push_back(Index); };
  ASSERT_TRUE(Load(loaded, file)) << loaded.ErrorText();
  EXPECT_EQ(announced, (std::vector<TPoolIndex>{piPhonebook1, piPhonebook2, piPictures, piConfig, piLanguage,
                                                piRingtones}));
  EXPECT_FALSE(loaded.FBusy);
  EXPECT_EQ(WithoutTime(SaveBytes(loaded)), WithoutTime(file));

  auto& pictures = Pool<TQVDP_PICTURES>(loaded, piPictures);
  for (int slot = 0; slot < PictureSlots; ++slot)
    EXPECT_EQ(pictures.FSlotChanged[slot], slot == 2 || slot == 7) << slot;
  ASSERT_NE(pictures.GetPicture(23), nullptr);
  EXPECT_EQ(*pictures.GetPicture(23), MakeEditorPicture(2));
  for (int index = 0; index < PoolCount; ++index)
    EXPECT_EQ(loaded.Pools(static_cast<TPoolIndex>(index))->FChanged,
              All.Pools(static_cast<TPoolIndex>(index))->FChanged)
        << index;
  EXPECT_EQ(Pool<TQVDP_LANGUAGE>(loaded, piLanguage).Names(),
            (std::vector<std::string>{"Standard (Deutsch)", "English"}));
  EXPECT_EQ(Pool<TQVDP_RINGTONES>(loaded, piRingtones).FMelodies.size(), 2u);
}

TEST_F(DataFile, PicturesAreStoredAs10758ByteBitmapFiles) {
  Pool<TQVDP_PICTURES>(All, piPictures).SetPicture(0, MakeEditorPicture(1));
  const std::vector<uint8_t> file = SaveBytes(All);
  EXPECT_EQ(file.size(), 311u + 10758u);
  const size_t presence = 28 + 2 + 24 + 4;
  EXPECT_EQ(file[presence], 1);
  EXPECT_EQ(file[presence + 1], 'B');
  EXPECT_EQ(file[presence + 1 + 10758], 0) << "slot 2's presence byte follows the bitmap";
}

TEST_F(DataFile, ConfigurationBlocksAreScrambledEachByItselfAndThePoolIsUntouched) {
  Fill(All);
  auto& config = Pool<TQVDP_CONFIG>(All, piConfig);
  const auto bytesOf = [](const void* Block, int Size) {
    return std::vector<uint8_t>(static_cast<const uint8_t*>(Block), static_cast<const uint8_t*>(Block) + Size);
  };
  const std::vector<uint8_t> pinBefore = bytesOf(config.FSimPin, 7);
  const std::vector<uint8_t> settingsBefore = bytesOf(&config.FSettings, 28);
  const std::vector<uint8_t> section = Sections(All)[piConfig];
  ASSERT_EQ(section.size(), 2u + 211u);
  struct {
    const void* Block;
    int Size;
  } const blocks[] = {{config.FSimPin, 7}, {config.FTexts, 160}, {config.FText, 16}, {&config.FSettings, 28}};
  size_t at = 2;
  for (const auto& block : blocks) {
    std::vector<uint8_t> expected = bytesOf(block.Block, block.Size);
    ScrambleBlock(expected.data(), block.Size);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), section.begin() + static_cast<long>(at))) << at;
    EXPECT_NE(section[at], static_cast<const uint8_t*>(block.Block)[0]) << "the key starts at 0x6B";
    at += static_cast<size_t>(block.Size);
  }
  EXPECT_EQ(bytesOf(config.FSimPin, 7), pinBefore);
  EXPECT_EQ(bytesOf(&config.FSettings, 28), settingsBefore);
}

TEST_F(DataFile, SectionsInAnyOrderLoadTheSame) {
  Fill(All);
  const std::vector<uint8_t> file = SaveBytes(All);
  const auto sections = Sections(All);
  TQVDP_ALL loaded;
  ASSERT_TRUE(Load(loaded, Assemble(file, sections, {5, 3, 1, 0, 4, 2}))) << loaded.ErrorText();
  EXPECT_EQ(WithoutTime(SaveBytes(loaded)), WithoutTime(file));
}

TEST_F(DataFile, DuplicateSectionWinsTheSecondTimeAndTheUnnamedPoolKeepsItsData) {
  Fill(All);
  const std::vector<uint8_t> header = SaveBytes(All);
  auto sections = Sections(All);
  auto& pb1 = Pool<TQVDP_PHONEBOOK>(All, piPhonebook1);
  pb1.AddEntry(MakeEntry("Zoe"));
  const std::vector<uint8_t> secondPhonebook = Sections(All)[piPhonebook1];
  sections.push_back(secondPhonebook);  // index 6 of the list: phonebook 1 again

  TQVDP_ALL loaded;
  Fill(loaded);
  auto& ringtones = Pool<TQVDP_RINGTONES>(loaded, piRingtones);
  PutU16(&ringtones.FImage[4], 1);  // the loaded file will not touch this pool
  ringtones.FImage[2] = 10;
  const std::vector<uint8_t> ringtonesBefore = ringtones.FImage;
  ASSERT_TRUE(Load(loaded, Assemble(header, sections, {0, 1, 2, 3, 4, 6}))) << loaded.ErrorText();
  EXPECT_EQ(Pool<TQVDP_PHONEBOOK>(loaded, piPhonebook1).FEntries.size(), 3u);
  EXPECT_EQ(ringtones.FImage, ringtonesBefore);
}

TEST_F(DataFile, WrongMagicFailsWithTheFileNameAndTouchesNoPool) {
  Fill(All);
  std::vector<uint8_t> file = SaveBytes(All);
  file[0] = 0x9D;
  WriteFile(FileName, file);
  TQVDP_ALL other;
  Announced.clear();
  other.OnChange = [this](TQVDP_ALL*, TPoolIndex Index) { Announced.push_back(Index); };
  const std::vector<uint8_t> before = WithoutTime(SaveBytes(other));
  EXPECT_FALSE(other.LoadFromFile(FileName));
  EXPECT_EQ(other.ErrorText(), FormatText(InvalidFilePattern, FileName));
  EXPECT_TRUE(Announced.empty());
  EXPECT_EQ(WithoutTime(SaveBytes(other)), before);
}

TEST_F(DataFile, MissingFileFailsWithTheOpenText) {
  EXPECT_FALSE(All.LoadFromFile(FileName + ".missing"));
  EXPECT_EQ(All.ErrorText(), "Datei " + FileName + ".missing kann nicht ge\xF6" "ffnet werden");
}

TEST_F(DataFile, SaveToFileAndLoadFromFileRoundTrip) {
  Fill(All);
  ASSERT_TRUE(All.SaveToFile(FileName)) << All.ErrorText();
  EXPECT_FALSE(Exists(FileName + ".tmp"));
  TQVDP_ALL loaded;
  ASSERT_TRUE(loaded.LoadFromFile(FileName)) << loaded.ErrorText();
  EXPECT_EQ(WithoutTime(SaveBytes(loaded)), WithoutTime(ReadFile(FileName)));
}

namespace {

// A pool whose section cannot be written, as a full disk would make it.
class TUnwritablePool : public TQV_DATAPOOL {
 public:
  explicit TUnwritablePool(TQVDP_ALL* AOwner) : TQV_DATAPOOL(AOwner) { FIndex = piConfig; }
  void Clear() override {}
  bool SaveToStream(TStream&) override {
    SetErrorText("Stream-Write-Fehler");
    return false;
  }
  bool ReadFromPhone() override { return true; }
  bool WriteToPhone(bool) override { return true; }
};

// A stream that takes only Room bytes, like a disk that fills up.
class TFullStream : public TMemoryStream {
 public:
  explicit TFullStream(int64_t Room) : FRoom(Room) {}
  int32_t Write(const void* Buffer, int32_t Count) override {
    if (Position() + Count > FRoom) return 0;
    return TMemoryStream::Write(Buffer, Count);
  }

 private:
  int64_t FRoom;
};

}  // namespace

TEST_F(DataFile, FailedSaveKeepsThePreviousFileAndSaysWhy) {
  Fill(All);
  ASSERT_TRUE(All.SaveToFile(FileName));
  const std::vector<uint8_t> previous = ReadFile(FileName);
  All.FPools[piConfig] = std::make_unique<TUnwritablePool>(&All);
  EXPECT_FALSE(All.SaveToFile(FileName));
  EXPECT_EQ(All.ErrorText(), "Stream-Write-Fehler");
  EXPECT_EQ(ReadFile(FileName), previous);
  EXPECT_FALSE(Exists(FileName + ".tmp"));
}

TEST_F(DataFile, DiskFullWhileAPictureIsWrittenIsAWriteError) {
  Fill(All);
  TFullStream stream(28 + 2 + 24 + 4 + 1000);
  EXPECT_FALSE(All.SaveToStream(stream));
  EXPECT_EQ(All.ErrorText(), "Stream-Write-Fehler");
}

TEST_F(DataFile, SaveThatCannotCreateOrReplaceNamesTheDataFile) {
  const std::string inMissingFolder = testing::TempDir() + "no-such-folder/Quorvale.qvd";
  EXPECT_FALSE(All.SaveToFile(inMissingFolder));
  EXPECT_EQ(All.ErrorText(), "Datei " + inMissingFolder + " kann nicht erstellt werden");

  const std::string folder = testing::TempDir() + "data_file_test_folder";
  std::filesystem::create_directory(folder);
  const std::string inside = folder + "/keep";
  WriteFile(inside, {1});  // a non-empty folder cannot be replaced by a file
  EXPECT_FALSE(All.SaveToFile(folder));
  EXPECT_EQ(All.ErrorText(), "Datei " + folder + " kann nicht erstellt werden");
  EXPECT_FALSE(Exists(folder + ".tmp"));
  EXPECT_EQ(ReadFile(inside), std::vector<uint8_t>{1});
  std::filesystem::remove_all(folder);
}

// Damaged files: each is refused with a text, never crashes, and lifts the hold-back.
struct TDamage {
  const char* Name;
  // Starts: where each section's index byte stands in the undamaged file.
  std::function<void(std::vector<uint8_t>& File, const std::vector<size_t>& Starts)> Apply;
  const char* Error;  // a pattern with %s for the file name
};

class DataFileDamage : public DataFile, public testing::WithParamInterface<TDamage> {};

// Offsets inside the pictures section, from its index byte: change byte, 24
// marks, the slot count, then the presence bytes.
constexpr size_t SlotCountAt = 2 + 24;
constexpr size_t FirstPresence = SlotCountAt + 4;

TEST_P(DataFileDamage, IsRefusedCleanly) {
  Fill(All);
  Pool<TQVDP_PICTURES>(All, piPictures).DeletePicture(23);
  std::vector<uint8_t> file = SaveBytes(All);
  std::vector<size_t> starts{sizeof(TDataFileHeader)};
  for (const auto& section : Sections(All)) starts.push_back(starts.back() + section.size());
  GetParam().Apply(file, starts);
  WriteFile(FileName, file);
  TQVDP_ALL loaded;
  std::vector<TPoolIndex> announced;
  loaded.OnChange = [&](TQVDP_ALL*, TPoolIndex Index) { announced.push_back(Index); };
  EXPECT_FALSE(loaded.LoadFromFile(FileName));
  EXPECT_EQ(loaded.ErrorText(), FormatText(GetParam().Error, FileName));
  EXPECT_TRUE(announced.empty());
  EXPECT_FALSE(loaded.FBusy);
}

constexpr const char* ListIndexError = "Der Index der Liste \xFC" "berschreitet das Maximum (24)";

// Fill() puts pictures in slots 3 and 24; the test empties slot 24, so slot 3
// (index 2) is the one bitmap in the pictures section.
size_t Slot3Bitmap(const std::vector<size_t>& Starts) { return Starts[piPictures] + FirstPresence + 3; }

INSTANTIATE_TEST_SUITE_P(
    Files, DataFileDamage,
    testing::Values(
        TDamage{"EndsInsideTheHeader", [](std::vector<uint8_t>& f, const std::vector<size_t>&) { f.resize(10); }, InvalidFilePattern},
        TDamage{"SectionIndexAbove5", [](std::vector<uint8_t>& f, const std::vector<size_t>&) { f[16] = 6; }, InvalidFilePattern},
        TDamage{"EndsBeforeASection", [](std::vector<uint8_t>& f, const std::vector<size_t>&) { f.resize(16); }, InvalidFilePattern},
        TDamage{"PhonebookCountTheFileCannotSupply", [](std::vector<uint8_t>& f, const std::vector<size_t>&) { PutU32(&f[18], 0x7FFFFFFF); },
                InvalidFilePattern},
        TDamage{"SlotCountTheFileCannotSupply",
                [](std::vector<uint8_t>& f, const std::vector<size_t>& s) { PutU32(&f[s[piPictures] + SlotCountAt], 0xFFFFFFFF); },
                InvalidFilePattern},
        TDamage{"PictureCutShort", [](std::vector<uint8_t>& f, const std::vector<size_t>& s) { f.resize(Slot3Bitmap(s) + 5000); }, "Stream-Read-Fehler"},
        TDamage{"PictureNotABitmap", [](std::vector<uint8_t>& f, const std::vector<size_t>& s) { f[Slot3Bitmap(s)] = 'X'; }, "Bitmap ist ung\xFCltig"},
        TDamage{"PresentSlotAfterThe24th",
                [](std::vector<uint8_t>& f, const std::vector<size_t>& s) {
                  // The slot count becomes 25 and the 25th presence byte 1.
                  const size_t afterPictures = Slot3Bitmap(s) + 10758 + 21;
                  PutU32(&f[s[piPictures] + SlotCountAt], 25);
                  f.insert(f.begin() + static_cast<long>(afterPictures), 1);
                },
                ListIndexError},
        TDamage{"ImageSizeAbove65536",
                [](std::vector<uint8_t>& f, const std::vector<size_t>& s) { PutU32(&f[s[piLanguage] + 2], 65537); },
                InvalidFilePattern},
        TDamage{"ImageSizeDisagreesWithItsLength",
                [](std::vector<uint8_t>& f, const std::vector<size_t>& s) { f[s[piRingtones] + 6 + 2] += 1; },
                InvalidFilePattern},
        TDamage{"EndsInsideAnImage",
                [](std::vector<uint8_t>& f, const std::vector<size_t>& s) { f.resize(s[piRingtones] + 10); },
                "Stream-Read-Fehler"}),
    [](const testing::TestParamInfo<TDamage>& info) { return std::string(info.param.Name); });
