// The snapshot the main window keeps over a read from the phone: whichever
// pool the read fails in, putting the snapshot back gives the data file's
// bytes of before, change marks included, and a write of changes sends only
// what was changed before the read.
#include <gtest/gtest.h>

#include <vector>

#include "phone_commands.h"
#include "phone_model.h"
#include "phone_seed.h"
#include "phone_sender.h"
#include "pool_snapshot.h"
#include "pool_test_support.h"
#include "qvdp_all.h"
#include "qvdp_pictures.h"
#include "stream.h"

namespace {

// The data file's bytes after its header, whose save time differs each time.
std::vector<uint8_t> Sections(TQVDP_ALL& Pools) {
  TMemoryStream Stream;
  EXPECT_TRUE(Pools.SaveToStream(Stream)) << Pools.ErrorText();
  return std::vector<uint8_t>(Stream.Bytes().begin() + sizeof(TDataFileHeader), Stream.Bytes().end());
}

struct TFailure {
  const char* Where;
  uint8_t Channel, Code;
  int Occurrence;  // the n-th request of that channel and code goes unanswered
};

class PoolSnapshot : public PlatformTest, public testing::WithParamInterface<TFailure> {};

}  // namespace

TEST_P(PoolSnapshot, PutsBackThePoolsAReadLeftHalfDone) {
  // The local copy: another phone's data, with the user's unsent edit of the
  // settings and of picture slot 2.
  TPhoneModel Local;
  Local.State = MakeSeededPhone(TPhoneSeed{3, 2, 4, 300, 2});
  TQVDP_ALL Pools;
  Pools.OnSendPacket = PhoneModelSender(Local);
  ASSERT_TRUE(Pools.ReadAll()) << Pools.ErrorText();
  Pools.Pools(piConfig)->FChanged = true;
  static_cast<TQVDP_PICTURES*>(Pools.Pools(piPictures))->FSlotChanged[1] = true;
  Pools.Pools(piPictures)->FChanged = true;
  const std::vector<uint8_t> Before = Sections(Pools);

  TPhoneModel Phone;
  Phone.State = MakeSeededPhone(DemoPhoneSeed());
  int Seen = 0;
  Phone.Unanswered = [&](const TProtPacket& P) {
    return P.Channel == GetParam().Channel && P.Code == GetParam().Code && ++Seen == GetParam().Occurrence;
  };
  Pools.OnSendPacket = PhoneModelSender(Phone);
  TPoolSnapshot Snapshot(Pools);
  ASSERT_FALSE(Pools.ReadAll());
  ASSERT_NE(Sections(Pools), Before) << "the read changed the pools before it failed";
  const std::string Cause = Pools.ErrorText();
  std::vector<TPoolIndex> Announced;
  Pools.OnChange = [&](TQVDP_ALL*, TPoolIndex Index) { Announced.push_back(Index); };

  ASSERT_TRUE(Snapshot.Restore());
  EXPECT_EQ(Sections(Pools), Before);
  EXPECT_EQ(Pools.ErrorText(), Cause) << "the read's failure is what the user is shown";
  EXPECT_EQ(Announced, (std::vector<TPoolIndex>{piPhonebook1, piPhonebook2, piPictures, piConfig, piLanguage, piRingtones}));

  std::vector<TProtPacket> Sent;
  TPhoneModel Blank;
  Pools.OnSendPacket = PhoneModelSender(Blank, &Sent);
  ASSERT_TRUE(Pools.WriteAll(true)) << Pools.ErrorText();
  EXPECT_FALSE(Sent.empty()) << "the edits made before the read are still marked";
  for (const TProtPacket& P : Sent) {
    const bool Settings = P.Channel == chConfig;
    const bool Picture = P.Channel == chPhonebook && (P.Code == PicWriteStart || P.Code == PicWriteData);
    EXPECT_TRUE(Settings || Picture) << "request " << int{P.Channel} << " " << int{P.Code};
  }
}

INSTANTIATE_TEST_SUITE_P(
    ReadFailures, PoolSnapshot,
    testing::Values(TFailure{"InsidePhonebook1", chPhonebook, PbNextEntry, 2},
                    TFailure{"AtPhonebook2", chSystem, SysAreaBase, 1},
                    TFailure{"InsidePictures", chPhonebook, PicReadNext, 3},
                    TFailure{"AtTheRingtones", chSystem, SysAreaBase, 3}),
    [](const testing::TestParamInfo<TFailure>& Info) { return std::string(Info.param.Where); });
