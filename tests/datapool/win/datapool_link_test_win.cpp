// The data pool through the real link: ReadAll and WriteAll of the demo phone
// through QVProt.dll, the USB stand-in and the simulator's phone model, and a
// phone unplugged in the middle of a read, which fails with the no-answer
// text while the next read, with the phone back, succeeds. The same phone
// answers on the simulator's serial line (COM5 of the test's prefix).
#include <chrono>
#include <cstdio>
#include <functional>

#include "link_fixture_win.h"
#include "phone_seed.h"
#include "pool_platform.h"
#include "pool_texts.h"
#include "qvdp_all.h"
#include "qvdp_language.h"
#include "qvdp_phonebook.h"
#include "qvdp_pictures.h"
#include "qvdp_ringtones.h"
#include "stream.h"

namespace {

// The platform seam filled with the link library, as the desktop program
// fills it, and a hook that runs before each request.
class TLinkPlatform final : public TPoolPlatform {
 public:
  bool SendPacket(TProtPacket& Packet, int32_t Timeout) override {
    ++Requests;
    if (BeforeRequest) BeforeRequest(Requests);
    return ::SendPacket(&Packet, Timeout) != 0;
  }
  int GetActiveLink() override { return static_cast<int>(::GetActiveLink()); }
  void SetCursor(TPoolCursor) override {}
  std::string ResourceText(int Id) override { return BuiltInPoolText(Id); }
  void Beep(uint32_t, uint32_t) override {}
  void Sleep(uint32_t) override {}

  long Requests = 0;
  std::function<void(long Request)> BeforeRequest;
};

class PoolsOverTheLink : public TLinkTest {
 protected:
  void SetUp() override {
    TLinkTest::SetUp();
    FPrevious = SetPoolPlatform(&Platform);
    OpenLink();
  }
  virtual void OpenLink() { OpenWithPhone(); }
  void TearDown() override {
    SetPoolPlatform(FPrevious);
    TLinkTest::TearDown();
  }
  template <typename TPool>
  static TPool& Pool(TQVDP_ALL& Pools, TPoolIndex Index) {
    return *static_cast<TPool*>(Pools.Pools(Index));
  }
  // The pools' data as a data file holds it, without the save time.
  static std::vector<uint8_t> Contents(TQVDP_ALL& Pools) {
    TMemoryStream stream;
    EXPECT_TRUE(Pools.SaveToStream(stream));
    std::vector<uint8_t> bytes = stream.Bytes();
    std::fill(bytes.begin() + 4, bytes.begin() + 12, 0);
    return bytes;
  }
  static double Timed(const std::function<bool()>& Transfer, bool& Result) {
    const auto start = std::chrono::steady_clock::now();
    Result = Transfer();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }

  TLinkPlatform Platform;

 private:
  TPoolPlatform* FPrevious = nullptr;
};

}  // namespace

TEST_F(PoolsOverTheLink, ReadAllAndWriteAllCarryTheDemoPhone) {
  const TPhoneSeed demo = DemoPhoneSeed();
  TQVDP_ALL pools;
  bool read = false;
  const double readMs = Timed([&] { return pools.ReadAll(); }, read);
  ASSERT_TRUE(read) << pools.ErrorText();
  const long readRequests = Platform.Requests;
  EXPECT_EQ(Pool<TQVDP_PHONEBOOK>(pools, piPhonebook1).FEntries.size(), static_cast<size_t>(demo.Phonebook1Entries));
  EXPECT_EQ(Pool<TQVDP_PHONEBOOK>(pools, piPhonebook2).FEntries.size(), static_cast<size_t>(demo.Phonebook2Entries));
  EXPECT_EQ(Pool<TQVDP_PICTURES>(pools, piPictures).Names().size(), static_cast<size_t>(demo.Pictures));
  EXPECT_EQ(Pool<TQVDP_RINGTONES>(pools, piRingtones).Names().size(), static_cast<size_t>(demo.Melodies) + 1);
  EXPECT_GT(Pool<TQVDP_LANGUAGE>(pools, piLanguage).Names().size(), 1u);
  EXPECT_FALSE(pools.AnyChanged());

  // Changes the phone must take: one more entry and one picture fewer.
  TPBEntry added{};
  std::snprintf(added.Name, sizeof added.Name, "Zuletzt");
  Pool<TQVDP_PHONEBOOK>(pools, piPhonebook1).AddEntry(added);
  Pool<TQVDP_PICTURES>(pools, piPictures).DeletePicture(0);
  bool written = false;
  Platform.Requests = 0;
  const double writeMs = Timed([&] { return pools.WriteAll(false); }, written);
  ASSERT_TRUE(written) << pools.ErrorText();
  const long writeRequests = Platform.Requests;

  TQVDP_ALL again;
  ASSERT_TRUE(again.ReadAll()) << again.ErrorText();
  EXPECT_EQ(Contents(again), Contents(pools)) << "the phone holds what was written";
  EXPECT_EQ(Pool<TQVDP_PHONEBOOK>(again, piPhonebook1).FEntries.size(), static_cast<size_t>(demo.Phonebook1Entries) + 1);
  EXPECT_EQ(Pool<TQVDP_PICTURES>(again, piPictures).GetPicture(0), nullptr);
  std::printf("demo phone through QVProt.dll: ReadAll %ld requests %.0f ms, WriteAll(False) %ld requests %.0f ms\n",
              readRequests, readMs, writeRequests, writeMs);
}

TEST_F(PoolsOverTheLink, UnpluggingDuringAReadFailsWithTheNoAnswerTextAndTheNextReadSucceeds) {
  TQVDP_ALL pools;
  std::vector<TPoolIndex> announced;
  pools.OnChange = [&](TQVDP_ALL*, TPoolIndex Index) { announced.push_back(Index); };
  // The third request of phonebook 1 finds the phone gone. The link must have
  // seen the detach: a write to a phone that is going away fails with the
  // modal "Transmition failed", which nobody here would answer.
  Platform.BeforeRequest = [this](long Request) {
    if (Request != 3) return;
    Sim("unplug");
    EXPECT_TRUE(PumpUntil([] { return GetActiveLink() != lkUsb; }));
  };
  EXPECT_FALSE(pools.ReadAll());
  EXPECT_EQ(pools.ErrorText(), BuiltInPoolText(NoAnswerTextId));
  EXPECT_TRUE(announced.empty());
  EXPECT_FALSE(pools.FBusy);
  EXPECT_EQ(Platform.Requests, 3);

  Platform.BeforeRequest = nullptr;
  ASSERT_EQ(Plug(), "ok 2 taken");
  ASSERT_TRUE(PumpUntil([] { return Count(lcUsbAttached) == 2; }));
  ASSERT_TRUE(pools.ReadAll()) << pools.ErrorText();
  EXPECT_GE(Pool<TQVDP_PHONEBOOK>(pools, piPhonebook1).FEntries.size(),
            static_cast<size_t>(DemoPhoneSeed().Phonebook1Entries));
  EXPECT_EQ(announced.size(), 6u);
}

namespace {

class PoolsOverTheSerialLine : public PoolsOverTheLink {
 protected:
  void OpenLink() override {
    if (!SerialLineMapped()) GTEST_SKIP() << "no serial line mapped (run_with_simulator.sh --preload)";
    ASSERT_EQ(OpenCommunication(SerialLinePort), static_cast<DWORD>(ocOk));
    ASSERT_EQ(GetActiveLink(), static_cast<DWORD>(lkSerial));
  }
};

}  // namespace

TEST_F(PoolsOverTheSerialLine, ReadAllReadsTheSamePhone) {
  TQVDP_ALL pools;
  ASSERT_TRUE(pools.ReadAll()) << pools.ErrorText();
  EXPECT_EQ(FSim.Command("link"), "ok serial");
  EXPECT_GE(Pool<TQVDP_PHONEBOOK>(pools, piPhonebook1).FEntries.size(),
            static_cast<size_t>(DemoPhoneSeed().Phonebook1Entries));
  EXPECT_EQ(Pool<TQVDP_PHONEBOOK>(pools, piPhonebook2).FEntries.size(),
            static_cast<size_t>(DemoPhoneSeed().Phonebook2Entries));
}
