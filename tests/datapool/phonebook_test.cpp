// The phonebooks: their one order, the entry operations' edges, and both
// phonebooks' transfers against the phone model.
#include <algorithm>

#include "byte_order.h"
#include "memory_image.h"
#include "phone_commands.h"
#include "phone_model.h"
#include "phone_sender.h"
#include "pool_test_support.h"
#include "qvdp_all.h"
#include "qvdp_phonebook1.h"
#include "qvdp_phonebook2.h"
#include "stream.h"

namespace {

class PhonebookTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    Pools.OnSendPacket = PhoneModelSender(Phone, &Log);
    Pools.OnChange = [this](TQVDP_ALL*, TPoolIndex Index) { Changes.push_back(Index); };
  }
  TQVDP_PHONEBOOK1& Book1() { return *static_cast<TQVDP_PHONEBOOK1*>(Pools.Pools(piPhonebook1)); }
  TQVDP_PHONEBOOK2& Book2() { return *static_cast<TQVDP_PHONEBOOK2*>(Pools.Pools(piPhonebook2)); }
  std::vector<int> Codes() const {
    std::vector<int> Result;
    for (const TProtPacket& Request : Log) Result.push_back(Request.Code);
    return Result;
  }
  // Phonebook 2's image in the phone's memory, as the phone would hold it.
  void SeedPhonebook2(uint16_t Signature, uint16_t Count, const std::vector<TPBEntry>& Entries) {
    uint8_t* Image = Phone.State.Memory.data() + Phonebook2ImageOffset;
    PutU16(Image, Signature);
    PutU16(Image + 2, Count);
    for (size_t i = 0; i < Entries.size(); ++i) std::memcpy(Image + 4 + 54 * i, &Entries[i], 54);
  }
  static std::vector<TPBEntry> Numbered(int Count) {
    std::vector<TPBEntry> Entries;
    for (int i = 0; i < Count; ++i) Entries.push_back(MakeEntry("Name " + std::to_string(1000 + i), std::to_string(i)));
    return Entries;
  }

  TPhoneModel Phone;
  std::vector<TProtPacket> Log;
  TQVDP_ALL Pools;
  std::vector<int> Changes;
};

struct TSortCase {
  const char* What;
  std::vector<std::string> Added;  // in this order, each with InternalAdd
  std::vector<std::string> Sorted;
};

class SortTest : public PhonebookTest, public ::testing::WithParamInterface<TSortCase> {};

TEST_P(SortTest, EntriesTakeThePlaceTheQuicksortLeavesThem) {
  for (const std::string& Name : GetParam().Added) Book1().InternalAdd(MakeEntry(Name));
  EXPECT_EQ(Book1().Names(), GetParam().Sorted);
}

// Equal upper-cased names end where this quicksort puts them: each addition
// sorts the whole list again and swaps equal entries it meets.
INSTANTIATE_TEST_SUITE_P(
    Cases, SortTest,
    ::testing::Values(TSortCase{"prefix first", {"bobby", "Bob"}, {"Bob", "bobby"}},
                      TSortCase{"case ignored for a to z", {"carl", "Bert", "anton"}, {"anton", "Bert", "carl"}},
                      TSortCase{"umlaut after ASCII", {"\xC4rger", "Zoe", "anna"}, {"anna", "Zoe", "\xC4rger"}},
                      TSortCase{"equal names swap", {"anna", "Anna"}, {"Anna", "anna"}},
                      TSortCase{"three equal names", {"anna", "Anna", "ANNA"}, {"ANNA", "anna", "Anna"}},
                      TSortCase{"blank before letters", {"a", " z"}, {" z", "a"}}),
    [](const auto& Info) {
      std::string Name = Info.param.What;
      for (char& C : Name)
        if (!isalnum(static_cast<unsigned char>(C))) C = '_';
      return Name;
    });

TEST(CompareEntriesTest, UpperCasesOnlyAsciiLettersAndComparesUnsigned) {
  EXPECT_EQ(CompareEntries(MakeEntry("anna"), MakeEntry("Anna")), 0);
  EXPECT_EQ(CompareEntries(MakeEntry("Bob"), MakeEntry("bobby")), -1);
  EXPECT_EQ(CompareEntries(MakeEntry("\xE4"), MakeEntry("\xC4")), 1) << "no upper-casing from 128 up";
  EXPECT_EQ(CompareEntries(MakeEntry("\x80"), MakeEntry("z")), 1) << "bytes compare unsigned";
}

TEST_F(PhonebookTest, ANameOf25BytesIsWholeInNamesAndInTheOrder) {
  const std::string Long(25, 'M');
  TPBEntry Entry = MakeEntry(Long);
  ASSERT_NE(Entry.Name[24], 0);
  Book1().InternalAdd(Entry);
  Book1().InternalAdd(MakeEntry(std::string(24, 'M')));
  EXPECT_EQ(Book1().Names(), (std::vector<std::string>{std::string(24, 'M'), Long}));
  EXPECT_EQ(CompareEntries(Entry, MakeEntry(std::string(24, 'M'))), 1);
}

TEST_F(PhonebookTest, OperationsAtTheEntryCountChangeNothing) {
  Book1().InternalAdd(MakeEntry("Anna"));
  TPBEntry Probe = MakeEntry("Probe", "999", ntCompany, 7);
  Book1().GetEntry(1, Probe);
  EXPECT_EQ(Probe.Name[0], 0);
  EXPECT_EQ(std::string(Probe.Number), "999");
  EXPECT_EQ(Probe.Picture, 7);

  Book1().SetEntry(1, MakeEntry("Bob"));
  Book1().DeleteEntry(1);
  Book1().DeleteEntry(-1);
  EXPECT_EQ(Book1().Names(), std::vector<std::string>{"Anna"});
  EXPECT_FALSE(Book1().FChanged);
  EXPECT_TRUE(Changes.empty());
}

TEST_F(PhonebookTest, SetEntryResortsAndAnnounces) {
  for (const char* Name : {"Anna", "Bert", "Carl"}) Book1().InternalAdd(MakeEntry(Name));
  TPBEntry Entry;
  Book1().GetEntry(0, Entry);
  std::memcpy(Entry.Name, "Zora", 5);
  Book1().SetEntry(0, Entry);
  EXPECT_EQ(Book1().Names(), (std::vector<std::string>{"Bert", "Carl", "Zora"}));
  EXPECT_TRUE(Book1().FChanged);
  EXPECT_EQ(Changes, std::vector<int>{piPhonebook1});
}

TEST_F(PhonebookTest, ClearOfAnEmptyBookStillMarksAndAnnounces) {
  Book2().Clear();
  EXPECT_TRUE(Book2().FChanged);
  EXPECT_EQ(Changes, std::vector<int>{piPhonebook2});
}

TEST_F(PhonebookTest, AddEntryThatSortsFirstShiftsTheOthers) {
  Book1().AddEntry(MakeEntry("Bert"));
  Book1().AddEntry(MakeEntry("Anna"));
  TPBEntry Entry;
  Book1().GetEntry(1, Entry);
  EXPECT_EQ(EntryName(Entry), "Bert");
}

TEST_F(PhonebookTest, Phonebook1ReadOfAnEmptyPhoneIsOneRequest) {
  Book1().AddEntry(MakeEntry("Alt"));
  ASSERT_TRUE(Book1().ReadFromPhone());
  EXPECT_EQ(Codes(), std::vector<int>{PbFirstEntry});
  EXPECT_TRUE(Book1().FEntries.empty());
  EXPECT_FALSE(Book1().FChanged);
}

TEST_F(PhonebookTest, Phonebook1ReadAsksFirstThenNextUntilAnEmptyAnswer) {
  Phone.State.Phonebook1 = {MakeEntry("Carl"), MakeEntry("anna"), MakeEntry("Bert")};
  ASSERT_TRUE(Book1().ReadFromPhone());
  EXPECT_EQ(Codes(), (std::vector<int>{0, 1, 1, 1}));
  for (const TProtPacket& Request : Log) {
    EXPECT_EQ(Request.Channel, chPhonebook);
    EXPECT_EQ(+Request.Len, 0);
  }
  EXPECT_EQ(Book1().Names(), (std::vector<std::string>{"anna", "Bert", "Carl"}));
  EXPECT_FALSE(Book1().FChanged);
}

TEST_F(PhonebookTest, Phonebook1ReadFailingLaterKeepsWhatArrivedMarkedChanged) {
  Phone.State.Phonebook1 = {MakeEntry("Carl"), MakeEntry("anna"), MakeEntry("Bert")};
  int Next = 0;
  Phone.Unanswered = [&Next](const TProtPacket& Request) { return Request.Code == PbNextEntry && ++Next == 2; };
  EXPECT_FALSE(Book1().ReadFromPhone());
  EXPECT_EQ(Book1().Names(), (std::vector<std::string>{"anna", "Carl"}));
  EXPECT_TRUE(Book1().FChanged);
}

TEST_F(PhonebookTest, Phonebook1AnswerShorterThanAnEntryFillsTheRestWithZeros) {
  Phone.State.Phonebook1 = {MakeEntry("Carl", "0301234", ntCompany, 7)};
  const TSendPacketEvent model = PhoneModelSender(Phone, &Log);
  // The phone sends only the kind and the name; whatever the buffer held behind them must not count.
  Pools.OnSendPacket = [&](TQVDP_ALL* Sender, TProtPacket& Packet, int32_t Timeout) {
    if (!model(Sender, Packet, Timeout)) return false;
    if (Packet.Len > 0) {
      Packet.Len = 26;
      std::fill(Packet.Data + 26, Packet.Data + MaxPacketData, 0xEE);
    }
    return true;
  };
  ASSERT_TRUE(Book1().ReadFromPhone());
  ASSERT_EQ(Book1().FEntries.size(), 1u);
  TPBEntry expected = MakeEntry("Carl", "", ntCompany, 0);
  EXPECT_TRUE(SameBytes(Book1().FEntries[0], expected));
}

TEST_F(PhonebookTest, Phonebook1WriteOfAnEmptyBookSendsOnlyTheStart) {
  Book1().Clear();
  ASSERT_TRUE(Book1().WriteToPhone(false));
  EXPECT_EQ(Codes(), std::vector<int>{PbStartWriting});
  EXPECT_FALSE(Book1().FChanged);
}

TEST_F(PhonebookTest, Phonebook1WriteTrimsTheNameInThePacketOnly) {
  const TPBEntry Stored = MakeEntry(" Anna ", "0171", ntMobile, 3);
  Book1().AddEntry(Stored);
  ASSERT_TRUE(Book1().WriteToPhone(false));
  ASSERT_EQ(Log.size(), 2u);
  const TProtPacket& Write = Log[1];
  EXPECT_EQ(Write.Code, PbWriteEntry);
  EXPECT_EQ(+Write.Len, 54);
  TPBEntry Expected = Stored;
  std::memcpy(Expected.Name, "Anna\0", 5);  // byte 5 on: the stored name's own bytes
  TPBEntry Sent;
  std::memcpy(&Sent, Write.Data, 54);
  EXPECT_TRUE(SameBytes(Sent, Expected));
  EXPECT_TRUE(SameBytes(Book1().FEntries[0], Stored));
}

TEST(TrimmedForPhoneTest, BlankNamesGoOutEmptyAndFullNamesKeepTheirNumber) {
  EXPECT_EQ(EntryName(TrimmedForPhone(MakeEntry(" \t\x01 "))), "");
  const TPBEntry Full = MakeEntry(std::string(25, 'X'), "0800");
  const TPBEntry Sent = TrimmedForPhone(Full);
  EXPECT_EQ(EntryName(Sent), std::string(24, 'X'));
  EXPECT_EQ(std::string(Sent.Number), "0800");
}

TEST_F(PhonebookTest, Phonebook1WriteFailureKeepsTheMark) {
  for (const char* Name : {"Anna", "Bert"}) Book1().AddEntry(MakeEntry(Name));
  int Writes = 0;
  Phone.Unanswered = [&Writes](const TProtPacket& Request) { return Request.Code == PbWriteEntry && ++Writes == 2; };
  EXPECT_FALSE(Book1().WriteToPhone(false));
  EXPECT_TRUE(Book1().FChanged);
  EXPECT_EQ(Phone.State.Phonebook1.size(), 1u);
}

struct TInvalidHeader {
  uint16_t Signature;
  uint16_t Count;
};

class Phonebook2HeaderTest : public PhonebookTest, public ::testing::WithParamInterface<TInvalidHeader> {};

TEST_P(Phonebook2HeaderTest, AnInvalidHeaderReadsAsAnEmptyBookAfterTwoRequests) {
  SeedPhonebook2(GetParam().Signature, GetParam().Count, Numbered(3));
  Book2().AddEntry(MakeEntry("Alt"));
  ASSERT_TRUE(Book2().ReadFromPhone());
  ASSERT_EQ(Log.size(), 2u);
  EXPECT_EQ(Log[0].Code, SysAreaBase);
  EXPECT_EQ(Log[1].Code, DevReadMemory);
  EXPECT_EQ(GetU16(Log[1].Data + 5), 4);
  EXPECT_TRUE(Book2().FEntries.empty());
  EXPECT_FALSE(Book2().FChanged);
}

INSTANTIATE_TEST_SUITE_P(Headers, Phonebook2HeaderTest,
                         ::testing::Values(TInvalidHeader{0x5A3C, 3}, TInvalidHeader{Phonebook2Signature, 0},
                                           TInvalidHeader{Phonebook2Signature, 201}));

TEST_F(PhonebookTest, Phonebook2ReadsTheWholeImageSorted) {
  SeedPhonebook2(Phonebook2Signature, 3, {MakeEntry("Carl"), MakeEntry("Anna"), MakeEntry("Bert")});
  ASSERT_TRUE(Book2().ReadFromPhone());
  EXPECT_EQ(Log.size(), 3u) << "base, header, one chunk";
  EXPECT_EQ(Book2().Names(), (std::vector<std::string>{"Anna", "Bert", "Carl"}));
  EXPECT_FALSE(Book2().FChanged);
}

TEST_F(PhonebookTest, Phonebook2ReadWithAFailedChunkKeepsThePreviousEntries) {
  SeedPhonebook2(Phonebook2Signature, 30, Numbered(30));
  Book2().AddEntry(MakeEntry("Alt"));
  int Reads = 0;
  Phone.Unanswered = [&Reads](const TProtPacket& Request) { return Request.Code == DevReadMemory && ++Reads == 3; };
  EXPECT_FALSE(Book2().ReadFromPhone());
  EXPECT_EQ(Book2().Names(), std::vector<std::string>{"Alt"});
  EXPECT_TRUE(Book2().FChanged);
}

TEST_F(PhonebookTest, Phonebook2WriteOfAnEmptyBookIsAFourByteImage) {
  Book2().Clear();
  ASSERT_TRUE(Book2().WriteToPhone(false));
  EXPECT_EQ(Codes(), (std::vector<int>{SysAreaBase, DevWriteMemory, SysCommitArea}));
  EXPECT_EQ(+Log[1].Len, 7 + 4);
  EXPECT_EQ(GetU16(Log[1].Data + 7), Phonebook2Signature);
  EXPECT_EQ(GetU16(Log[1].Data + 9), 0);
  EXPECT_FALSE(Book2().FChanged);
}

TEST_F(PhonebookTest, Phonebook2WriteOf200EntriesGoesInElevenChunks) {
  for (const TPBEntry& Entry : Numbered(200)) Book2().AddEntry(Entry);
  ASSERT_TRUE(Book2().WriteToPhone(false));
  ASSERT_EQ(Log.size(), 13u);
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(GetU16(Log[i].Data + 5), MaxMemoryChunk);
  EXPECT_EQ(GetU16(Log[11].Data + 5), 654);

  const std::vector<std::string> Written = Book2().Names();
  Log.clear();
  Book2().Clear();
  ASSERT_TRUE(Book2().ReadFromPhone());
  EXPECT_EQ(Book2().Names(), Written);
  EXPECT_EQ(Log.size(), 13u) << "base, header, eleven chunks";
}

TEST_F(PhonebookTest, Phonebook2WriteOfMoreThan200EntriesWritesTheFirst200) {
  for (const TPBEntry& Entry : Numbered(205)) Book2().AddEntry(Entry);
  ASSERT_TRUE(Book2().WriteToPhone(false));
  EXPECT_EQ(GetU16(Phone.State.Memory.data() + Phonebook2ImageOffset + 2), 200);
  EXPECT_EQ(Book2().FEntries.size(), 205u) << "the pool keeps every entry";
}

TEST_F(PhonebookTest, WritesOfChangesOnlySendNothingForAnUnchangedBook) {
  for (TQVDP_PHONEBOOK* Book : {static_cast<TQVDP_PHONEBOOK*>(&Book1()), static_cast<TQVDP_PHONEBOOK*>(&Book2())}) {
    Book->InternalAdd(MakeEntry("Anna"));
    EXPECT_TRUE(Book->WriteToPhone(true));
  }
  EXPECT_TRUE(Log.empty());
}

TEST_F(PhonebookTest, Phonebook2FailedWriteKeepsTheMark) {
  Book2().AddEntry(MakeEntry("Anna"));
  Phone.Unanswered = [](const TProtPacket& Request) { return Request.Code == SysCommitArea; };
  EXPECT_FALSE(Book2().WriteToPhone(false));
  EXPECT_TRUE(Book2().FChanged);
}

}  // namespace

namespace {

// A phone that never ends phonebook 1: every next-entry request gets an entry.
TEST_F(PhonebookTest, Phonebook1ReadOfAPhoneThatNeverEndsStopsAndFails) {
  size_t Requests = 0;
  Pools.OnSendPacket = [&Requests](TQVDP_ALL*, TProtPacket& Packet, int32_t) {
    ++Requests;
    const TPBEntry Entry = MakeEntry("Endlos", std::to_string(Requests));
    Packet.Code |= AnswerFlag;
    Packet.Len = sizeof(Entry);
    std::memcpy(Packet.Data, &Entry, sizeof(Entry));
    return Requests < 3000;  // ends the test, not the read, if the read never stops
  };
  EXPECT_FALSE(Book1().ReadFromPhone());
  EXPECT_GT(Requests, 50u) << "more than the phone holds is still read";
  EXPECT_LE(Requests, static_cast<size_t>(MaxPhonebook1ReadEntries) + 1);
  EXPECT_LE(Book1().FEntries.size(), static_cast<size_t>(MaxPhonebook1ReadEntries));
  EXPECT_TRUE(Book1().FChanged);
}

// A data-file section: change byte, entry count, the entries.
TMemoryStream PhonebookSection(const std::vector<TPBEntry>& Entries) {
  TMemoryStream Section;
  uint8_t Head[5] = {0};
  PutU32(Head + 1, static_cast<uint32_t>(Entries.size()));
  Section.WriteBuffer(Head, sizeof(Head));
  for (const TPBEntry& Entry : Entries) Section.WriteBuffer(&Entry, sizeof(Entry));
  Section.Seek(0, soFromBeginning);
  return Section;
}

// Each entry added on its own and the whole list sorted after it, as phone
// reads add entries.
std::vector<TPBEntry> AddedOneByOne(const std::vector<TPBEntry>& Entries) {
  TQVDP_PHONEBOOK1 Book(nullptr);
  for (const TPBEntry& Entry : Entries) {
    Book.FEntries.push_back(Entry);
    Book.Sort();
  }
  return Book.FEntries;
}

// The order a load must leave: every entry added on its own, then the list
// sorted once more. The quicksort is not stable, so among equal upper-cased
// names (told apart here by their numbers) each of these sorts counts.
std::vector<TPBEntry> LoadedOneByOne(const std::vector<TPBEntry>& Entries) {
  TQVDP_PHONEBOOK1 Book(nullptr);
  Book.FEntries = AddedOneByOne(Entries);
  Book.Sort();
  return Book.FEntries;
}

std::vector<std::string> Numbers(const std::vector<TPBEntry>& Entries) {
  std::vector<std::string> Result;
  for (const TPBEntry& Entry : Entries) Result.push_back(std::string(Entry.Name) + "/" + Entry.Number);
  return Result;
}

// A sorted list in which equal names keep the order they came in.
std::vector<TPBEntry> SortedStably(std::vector<TPBEntry> Entries) {
  std::stable_sort(Entries.begin(), Entries.end(),
                   [](const TPBEntry& A, const TPBEntry& B) { return CompareEntries(A, B) < 0; });
  return Entries;
}

// Lists drawn from few names, so that runs of equal names of every length
// occur, in the order the program saves (sorted) and in any order. A list in
// order loads as adding each entry on its own leaves it; one out of order,
// which the program never saves, is sorted once and keeps the file's order
// among equal names.
TEST_F(PhonebookTest, LoadLeavesTheOrderOfAddingEachEntryOnItsOwn) {
  const char* const Names[] = {"anna", "Anna", "ANNA", "Bob", "bob", "Carl", "\xC4rger", "Zoe"};
  uint32_t Seed = 12345;
  const auto Next = [&Seed](uint32_t Below) {
    Seed = Seed * 1103515245u + 12345u;
    return (Seed >> 16) % Below;
  };
  for (int List = 0; List < 600; ++List) {
    const uint32_t Count = Next(List < 300 ? 40 : 300);
    const uint32_t Kinds = 1 + Next(8);  // how many different names the list draws from
    std::vector<TPBEntry> Entries;
    for (uint32_t i = 0; i < Count; ++i) Entries.push_back(MakeEntry(Names[Next(Kinds)], std::to_string(i)));
    if (List % 2 == 0) Entries = AddedOneByOne(Entries);  // as a saved file holds them
    const bool InOrder = std::is_sorted(Entries.begin(), Entries.end(), [](const TPBEntry& A, const TPBEntry& B) {
      return CompareEntries(A, B) < 0;
    });
    SCOPED_TRACE("list " + std::to_string(List) + ", " + std::to_string(Count) + " entries");
    TMemoryStream Section = PhonebookSection(Entries);
    ASSERT_TRUE(Book1().LoadFromStream(Section)) << Pools.ErrorText();
    ASSERT_EQ(Numbers(Book1().FEntries), Numbers(InOrder ? LoadedOneByOne(Entries) : SortedStably(Entries)));
  }
}

// A run of equal names far longer than any phonebook holds is not replayed
// sort by sort (that grows with the square of its length): it keeps the
// file's order, and the names around it their places.
TEST_F(PhonebookTest, LoadSortsAnOverlongRunOfEqualNamesOnce) {
  std::vector<TPBEntry> Entries{MakeEntry("Adam", "first")};
  for (int i = 0; i < 1500; ++i) Entries.push_back(MakeEntry(i % 2 ? "anna" : "Anna", std::to_string(i)));
  Entries.push_back(MakeEntry("Zoe", "last"));
  TMemoryStream Section = PhonebookSection(Entries);
  ASSERT_TRUE(Book1().LoadFromStream(Section)) << Pools.ErrorText();
  EXPECT_EQ(Numbers(Book1().FEntries), Numbers(Entries));
}

}  // namespace
