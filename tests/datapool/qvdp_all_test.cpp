// The owner's full transfers against the phone model: their progress reports,
// the hold-back of change announcements, failure endings and the routing of
// requests.
#include <stdexcept>
#include <tuple>

#include "phone_model.h"
#include "phone_sender.h"
#include "pool_test_support.h"
#include "qvdp_all.h"
#include "qvdp_config.h"
#include "qvdp_phonebook1.h"
#include "qvdp_phonebook2.h"
#include "phone_commands.h"

namespace {

using TProgress = std::pair<int, int>;  // pool index, percent

class OwnerTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    Pools = std::make_unique<TQVDP_ALL>();
    Pools->OnSendPacket = PhoneModelSender(Phone, &Log);
    Pools->OnChange = [this](TQVDP_ALL*, TPoolIndex Index) {
      Changes.push_back(Index);
      BusyAtChange.push_back(Pools->FBusy);
    };
  }
  void RecordReads() {
    Pools->OnReadProgress = [this](TQVDP_ALL*, TPoolIndex Index, int Percent) { Progress.push_back({Index, Percent}); };
  }
  void RecordWrites() {
    Pools->OnWriteProgress = [this](TQVDP_ALL*, TPoolIndex Index, int Percent) { Progress.push_back({Index, Percent}); };
  }
  TQVDP_PHONEBOOK1& Phonebook1() { return *static_cast<TQVDP_PHONEBOOK1*>(Pools->Pools(piPhonebook1)); }
  TQVDP_CONFIG& Config() { return *static_cast<TQVDP_CONFIG*>(Pools->Pools(piConfig)); }
  // The pools as a read leaves them, then the records cleared.
  void ReadEverything() {
    ASSERT_TRUE(Pools->ReadAll());
    Log.clear();
    Changes.clear();
    Progress.clear();
    Platform.Cursors.clear();
  }

  TPhoneModel Phone;
  std::vector<TProtPacket> Log;
  std::unique_ptr<TQVDP_ALL> Pools;
  std::vector<int> Changes;
  std::vector<bool> BusyAtChange;
  std::vector<TProgress> Progress;
};

const std::vector<TProgress> FullProgress = {{0, 0}, {1, 20}, {2, 40}, {3, 60}, {4, 80}, {5, 100}};

TEST_F(OwnerTest, ReadAllReportsEveryPoolAndAnnouncesAllSixOnceAtTheEnd) {
  RecordReads();
  ASSERT_TRUE(Pools->ReadAll());

  std::vector<TProgress> Expected = FullProgress;
  Expected.push_back({5, 100});
  EXPECT_EQ(Progress, Expected);
  // The pools' own announcements while they read are held back.
  EXPECT_EQ(Changes, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(BusyAtChange, std::vector<bool>(6, false));
  EXPECT_FALSE(Pools->FBusy);
  EXPECT_EQ(Platform.Cursors, (std::vector<TPoolCursor>{TPoolCursor::HourGlass, TPoolCursor::Default}));
  EXPECT_FALSE(Pools->AnyChanged());
  EXPECT_EQ(Platform.LinkSends, 0) << "with OnSendPacket assigned nothing reaches the link library";
}

TEST_F(OwnerTest, ReadAllWithoutProgressHandlerSendsTheSameRequests) {
  RecordReads();
  ASSERT_TRUE(Pools->ReadAll());
  const size_t WithHandler = Log.size();
  Log.clear();
  Progress.clear();
  Pools->OnReadProgress = nullptr;
  ASSERT_TRUE(Pools->ReadAll());
  EXPECT_EQ(Log.size(), WithHandler);
  EXPECT_TRUE(Progress.empty());
}

TEST_F(OwnerTest, ReadAllFailingAtThePicturesStopsThereAndAnnouncesNothing) {
  RecordReads();
  Phone.Unanswered = [](const TProtPacket& Request) {
    return Request.Channel == chPhonebook && Request.Code == PicReadStart;
  };
  EXPECT_FALSE(Pools->ReadAll());

  EXPECT_EQ(Progress, (std::vector<TProgress>{{0, 0}, {1, 20}, {2, 40}}));
  EXPECT_EQ(Pools->ErrorText(), NoAnswerText());
  EXPECT_TRUE(Changes.empty());
  EXPECT_FALSE(Pools->FBusy);
  EXPECT_EQ(Platform.Cursors.back(), TPoolCursor::Default);
  EXPECT_EQ(Log.back().Code, PicReadStart) << "the pools after the failing one are not asked";
}

TEST_F(OwnerTest, WriteAllOfEverythingReportsEveryPoolThenNone) {
  RecordWrites();
  ASSERT_TRUE(Pools->WriteAll(false));
  std::vector<TProgress> Expected = FullProgress;
  Expected.push_back({piNone, 100});
  EXPECT_EQ(Progress, Expected);
  EXPECT_EQ(Platform.Cursors, (std::vector<TPoolCursor>{TPoolCursor::HourGlass, TPoolCursor::Default}));
}

TEST_F(OwnerTest, WriteAllOfChangesReportsOnlyThePoolsItWrites) {
  ReadEverything();
  RecordWrites();
  ASSERT_TRUE(Pools->WriteAll(true));
  EXPECT_EQ(Progress, (std::vector<TProgress>{{piNone, 100}}));
  EXPECT_TRUE(Log.empty()) << "no pool holds changes, so nothing is sent";

  Progress.clear();
  Config().SetTimeZone(60, false);
  ASSERT_TRUE(Pools->WriteAll(true));
  EXPECT_EQ(Progress, (std::vector<TProgress>{{3, 60}, {piNone, 100}}));
  EXPECT_FALSE(Pools->AnyChanged());
}

TEST_F(OwnerTest, WriteAllFailureEndsWithTheNoAnswerText) {
  RecordWrites();
  Phone.Unanswered = [](const TProtPacket& Request) { return Request.Channel == chConfig; };
  EXPECT_FALSE(Pools->WriteAll(false));
  EXPECT_EQ(Pools->ErrorText(), NoAnswerText());
  EXPECT_EQ(Progress.back(), TProgress(3, 60));
  EXPECT_EQ(Platform.Cursors.back(), TPoolCursor::Default);
}

TEST_F(OwnerTest, AnExceptionInsideATransferEndsItLikeAFailure) {
  Pools->OnSendPacket = [](TQVDP_ALL*, TProtPacket&, int32_t) -> bool { throw std::runtime_error("Zugriff verweigert"); };
  for (bool Read : {true, false}) {
    SCOPED_TRACE(Read ? "ReadAll" : "WriteAll");
    Platform.Cursors.clear();
    EXPECT_FALSE(Read ? Pools->ReadAll() : Pools->WriteAll(false));
    EXPECT_EQ(Pools->ErrorText(), "Zugriff verweigert");
    EXPECT_FALSE(Pools->FBusy);
    EXPECT_EQ(Platform.Cursors.back(), TPoolCursor::Default);
  }
  EXPECT_TRUE(Changes.empty());
}

TEST_F(OwnerTest, WithoutOnSendPacketRequestsGoToTheLinkLibrary) {
  Pools->OnSendPacket = nullptr;
  EXPECT_FALSE(Pools->ReadAll());
  EXPECT_EQ(Platform.LinkSends, 1);
  EXPECT_EQ(Pools->ErrorText(), NoAnswerText());
}

TEST_F(OwnerTest, DoChangeIsSilentWhileBusyOrUnassigned) {
  Pools->FBusy = true;
  Pools->DoChange(piConfig);
  EXPECT_TRUE(Changes.empty());
  Pools->FBusy = false;
  Pools->DoChange(piConfig);
  EXPECT_EQ(Changes, std::vector<int>{piConfig});
  // Unassigned, the operations that announce still do their work.
  Pools->OnChange = nullptr;
  Phonebook1().AddEntry(MakeEntry("Anna"));
  EXPECT_EQ(Phonebook1().FEntries.size(), 1u);
  EXPECT_EQ(Changes, std::vector<int>{piConfig});
}

TEST_F(OwnerTest, DestroyAnnouncesNothingAlthoughThePoolsEmptyThemselves) {
  Phonebook1().InternalAdd(MakeEntry("Anna"));
  Changes.clear();
  Pools.reset();
  EXPECT_TRUE(Changes.empty());
}

TEST_F(OwnerTest, AnyPhonebookOperationMarksTheDataChanged) {
  using TOperation = std::function<void(TQVDP_PHONEBOOK&)>;
  const std::vector<std::pair<const char*, TOperation>> Operations = {
      {"AddEntry", [](TQVDP_PHONEBOOK& Book) { Book.AddEntry(MakeEntry("Neu")); }},
      {"SetEntry", [](TQVDP_PHONEBOOK& Book) { Book.SetEntry(0, MakeEntry("Anders")); }},
      {"DeleteEntry", [](TQVDP_PHONEBOOK& Book) { Book.DeleteEntry(0); }},
      {"Clear", [](TQVDP_PHONEBOOK& Book) { Book.Clear(); }},
  };
  Phone.State.Phonebook1 = {MakeEntry("Anna")};
  for (TPoolIndex Index : {piPhonebook1, piPhonebook2}) {
    for (const auto& [Name, Operation] : Operations) {
      SCOPED_TRACE(std::string(Name) + " on pool " + std::to_string(Index));
      ReadEverything();
      auto& Book = *static_cast<TQVDP_PHONEBOOK*>(Pools->Pools(Index));
      Book.InternalAdd(MakeEntry("Bob"));  // marks nothing
      ASSERT_FALSE(Pools->AnyChanged());
      Operation(Book);
      EXPECT_TRUE(Pools->AnyChanged());
      EXPECT_EQ(Changes, std::vector<int>{Index});
    }
  }
}

TEST(PoolTextTest, NoAnswerTextBreaksLinesWithCharacter13Only) {
  EXPECT_EQ(BuiltInPoolText(NoAnswerTextId), NoAnswerText());
  EXPECT_EQ(BuiltInPoolText(NoAnswerTextId).find('\n'), std::string::npos);
}

}  // namespace
