// The pictures pool: slot operations and their marks, and the slot transfers
// against the phone model, request by request.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "bmp_file.h"
#include "byte_order.h"
#include "phone_model.h"
#include "phone_sender.h"
#include "picture_fixtures.h"
#include "pool_test_support.h"
#include "qvdp_all.h"
#include "qvdp_pictures.h"
#include "stream.h"

namespace {

class PicturesPool : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    All.OnSendPacket = PhoneModelSender(Phone, &Log);
    All.OnChange = [this](TQVDP_ALL*, TPoolIndex Index) { Announced.push_back(Index); };
  }
  TQVDP_PICTURES& Pictures() { return *static_cast<TQVDP_PICTURES*>(All.Pools(piPictures)); }

  // The picture requests in a short notation: "S<slot number>" write start,
  // "D<bytes>" write data, "C" commit, "R<slot number>" read start, "N" read next.
  std::string Requests() const {
    std::string text;
    for (const TProtPacket& p : Log) {
      if (p.Channel != chPhonebook) continue;
      if (!text.empty()) text += ' ';
      if (p.Code == PicWriteStart) text += "S" + std::to_string(p.Data[0]);
      if (p.Code == PicWriteData) text += p.Len == 0 ? std::string("C") : "D" + std::to_string(p.Len);
      if (p.Code == PicReadStart) text += "R" + std::to_string(p.Data[0]);
      if (p.Code == PicReadNext) text += "N";
    }
    return text;
  }

  // Every slot's mark and FChanged clear, as after a read from the phone.
  void Settle() {
    Pictures().FSlotChanged.fill(false);
    Pictures().FChanged = false;
    Log.clear();
    Announced.clear();
  }

  TPhoneModel Phone;
  std::vector<TProtPacket> Log;
  std::vector<TPoolIndex> Announced;
  TQVDP_ALL All;
};

}  // namespace

TEST_F(PicturesPool, AddPictureTakesTheLowestEmptySlotAndAnnouncesBothLists) {
  Pictures().SetPicture(0, MakeEditorPicture(1));
  Pictures().SetPicture(1, MakeEditorPicture(2));
  Announced.clear();
  EXPECT_EQ(Pictures().AddPicture(MakeEditorPicture(3)), 3);
  EXPECT_EQ(Announced, (std::vector<TPoolIndex>{piPictures, piPhonebook1}));
  EXPECT_EQ(*Pictures().GetPicture(2), MakeEditorPicture(3));
  EXPECT_TRUE(Pictures().FSlotChanged[2]);
  EXPECT_TRUE(Pictures().FChanged);
}

TEST_F(PicturesPool, AddPictureOnAFullPoolReturnsZeroAndAnnouncesNothing) {
  for (int slot = 0; slot < PictureSlots; ++slot) Pictures().SetPicture(slot, MakeEditorPicture(1));
  Settle();
  EXPECT_EQ(Pictures().AddPicture(MakeEditorPicture(2)), 0);
  EXPECT_TRUE(Announced.empty());
  EXPECT_FALSE(Pictures().FChanged);
}

TEST_F(PicturesPool, NamesAndGetPictureUseSlotNumbersAndIndexes) {
  Pictures().SetPicture(0, MakeEditorPicture(1));
  Pictures().SetPicture(5, MakeEditorPicture(2));
  Pictures().SetPicture(24, MakeEditorPicture(3));  // no such slot: nothing happens
  EXPECT_EQ(Pictures().Names(), (std::vector<std::string>{"1", "6"}));
  EXPECT_EQ(Pictures().GetPicture(-1), nullptr);
  EXPECT_EQ(Pictures().GetPicture(24), nullptr);
  EXPECT_EQ(Pictures().GetPicture(1), nullptr);
  for (int slot : {-1, 24}) {
    EXPECT_FALSE(Pictures().ReadPicture(slot));
    EXPECT_FALSE(Pictures().WritePicture(slot, true));
  }
  EXPECT_TRUE(Log.empty());
}

struct TCommitCase {
  const char* Name;
  std::set<int> Marked;  // slot indexes
  const char* Requests;
};

class PictureCommitRules : public PicturesPool, public testing::WithParamInterface<TCommitCase> {};

TEST_P(PictureCommitRules, WriteOfChangesCommitsOnMultiplesOfSixAndClosesOpenWrites) {
  Settle();
  for (int slot : GetParam().Marked) Pictures().DeletePicture(slot);
  ASSERT_TRUE(Pictures().WriteToPhone(true));
  EXPECT_EQ(Requests(), GetParam().Requests);
  EXPECT_FALSE(Pictures().FChanged);
  for (int slot = 0; slot < PictureSlots; ++slot) EXPECT_FALSE(Pictures().FSlotChanged[slot]) << slot;
}

INSTANTIATE_TEST_SUITE_P(
    Slots, PictureCommitRules,
    testing::Values(TCommitCase{"Slot8ThenClosingCommit", {7}, "S8 C"},
                    TCommitCase{"Slot12WithItsOwnCommit", {11}, "S12 C"},
                    TCommitCase{"Slots8And12", {7, 11}, "S8 S12 C"},
                    TCommitCase{"Slots12And13", {11, 12}, "S12 C S13 C"},
                    TCommitCase{"Slot24", {23}, "S24 C"}, TCommitCase{"Nothing", {}, ""}),
    [](const testing::TestParamInfo<TCommitCase>& info) { return std::string(info.param.Name); });

TEST_F(PicturesPool, AfterClearAWriteOfChangesSendsAll24SlotsEmpty) {
  Settle();
  Pictures().Clear();
  ASSERT_TRUE(Pictures().WriteToPhone(true));
  EXPECT_EQ(Requests(),
            "S1 S2 S3 S4 S5 S6 C S7 S8 S9 S10 S11 S12 C S13 S14 S15 S16 S17 S18 C S19 S20 S21 S22 S23 S24 C");
  const TProtPacket& start = Log.front();
  EXPECT_EQ(start.Len, 7);
  for (int i = 1; i < 7; ++i) EXPECT_EQ(start.Data[i], 0) << "an empty slot's header is six zero bytes";
}

TEST_F(PicturesPool, A10316BytePictureGoesInTenChunksOf1000AndOneOf316) {
  Pictures().SetPicture(2, MakeEditorPicture(4));
  Log.clear();
  ASSERT_TRUE(Pictures().WriteToPhone(true));
  EXPECT_EQ(Requests(), "S3 D1000 D1000 D1000 D1000 D1000 D1000 D1000 D1000 D1000 D1000 D316 C");
  const std::vector<uint8_t> packed = Pack(MakeEditorPicture(4));
  EXPECT_EQ(0, std::memcmp(Log.front().Data + 1, packed.data(), 6)) << "write start carries the header";
  EXPECT_EQ(Phone.State.Pictures[2], packed);
}

TEST_F(PicturesPool, FailedDataRequestKeepsTheMarkAndAFailedCommitClearsIt) {
  Pictures().SetPicture(0, MakeEditorPicture(1));
  Pictures().SetPicture(5, MakeEditorPicture(2));
  Settle();
  Pictures().DeletePicture(0);
  Pictures().SetPicture(5, MakeEditorPicture(3));
  int dataRequests = 0;
  Phone.Unanswered = [&](const TProtPacket& p) { return p.Code == PicWriteData && p.Len > 0 && ++dataRequests == 2; };
  EXPECT_FALSE(Pictures().WriteToPhone(true));
  EXPECT_FALSE(Pictures().FSlotChanged[0]);
  EXPECT_TRUE(Pictures().FSlotChanged[5]);
  EXPECT_TRUE(Pictures().FChanged);

  Phone.Unanswered = [](const TProtPacket& p) { return p.Code == PicWriteData && p.Len == 0; };
  EXPECT_FALSE(Pictures().WriteToPhone(true));
  EXPECT_FALSE(Pictures().FSlotChanged[5]) << "the data went through; only the commit failed";
  EXPECT_TRUE(Pictures().FChanged);
}

TEST_F(PicturesPool, ReadFromPhoneStoresEverySlotAndClearsTheMarks) {
  Phone.State.Pictures[0] = Pack(MakeEditorPicture(5));
  Phone.State.Pictures[23] = Pack(MakeEditorPicture(6));
  Pictures().SetPicture(4, MakeEditorPicture(7));  // gone after the read: the phone's slot 5 is empty
  ASSERT_TRUE(Pictures().ReadFromPhone());
  ASSERT_NE(Pictures().GetPicture(0), nullptr);
  EXPECT_EQ(Pack(*Pictures().GetPicture(0)), Phone.State.Pictures[0]);
  EXPECT_EQ(Pack(*Pictures().GetPicture(23)), Phone.State.Pictures[23]);
  EXPECT_EQ(Pictures().GetPicture(4), nullptr);
  EXPECT_EQ(Pictures().Names(), (std::vector<std::string>{"1", "24"}));
  EXPECT_FALSE(Pictures().FChanged);
  for (int slot = 0; slot < PictureSlots; ++slot) EXPECT_FALSE(Pictures().FSlotChanged[slot]) << slot;
  EXPECT_EQ(Requests().substr(0, 16), "R1 N N N N N N N");  // 10,316 bytes in 1,025-byte answers
}

TEST_F(PicturesPool, SlotAnswerWithMoreThan256RecordsEmptiesTheSlot) {
  std::vector<uint8_t> hostile = Pack(MakeEditorPicture(1));
  PutU16(&hostile[4], 257);
  Phone.State.Pictures[3] = hostile;
  Pictures().SetPicture(3, MakeEditorPicture(2));
  ASSERT_TRUE(Pictures().ReadFromPhone());
  EXPECT_EQ(Pictures().GetPicture(3), nullptr);
}

// Ways a phone's slot answer can disagree with itself; each must fail the
// read and leave the slot's picture and mark as they were.
struct TLyingSlot {
  const char* Name;
  std::function<void(std::vector<uint8_t>& Stored)> BendStored;  // the packed picture the phone sends
  std::function<void(TProtPacket& Answer)> BendStart;             // the read-start answer
};

class LyingPhone : public PicturesPool, public testing::WithParamInterface<TLyingSlot> {};

TEST_P(LyingPhone, FailsTheReadAndKeepsTheSlot) {
  Phone.State.Pictures[0] = Pack(MakeEditorPicture(1));
  GetParam().BendStored(Phone.State.Pictures[0]);
  All.OnSendPacket = [inner = All.OnSendPacket](TQVDP_ALL* Sender, TProtPacket& Packet, int32_t Timeout) {
    const bool answered = inner(Sender, Packet, Timeout);
    if (answered && Packet.Code == (PicReadStart | AnswerFlag)) GetParam().BendStart(Packet);
    return answered;
  };
  const TBitmap kept = MakeEditorPicture(8);
  Pictures().SetPicture(0, kept);
  EXPECT_FALSE(Pictures().ReadPicture(0));
  ASSERT_NE(Pictures().GetPicture(0), nullptr);
  EXPECT_EQ(*Pictures().GetPicture(0), kept);
  EXPECT_TRUE(Pictures().FSlotChanged[0]);
}

void Unbent(std::vector<uint8_t>&) {}
void UnbentAnswer(TProtPacket&) {}

INSTANTIATE_TEST_SUITE_P(
    Answers, LyingPhone,
    testing::Values(
        TLyingSlot{"OneByteMore", [](std::vector<uint8_t>& p) { p.push_back(0xEE); }, UnbentAnswer},
        TLyingSlot{"OneByteFewer", [](std::vector<uint8_t>& p) { p.pop_back(); }, UnbentAnswer},
        // Announced as 110 x 85: the same size, but not the header the picture carries.
        TLyingSlot{"PictureHeaderDiffers", Unbent,
                   [](TProtPacket& a) {
                     PutU16(a.Data + 1, 110);
                     PutU16(a.Data + 3, 85);
                   }},
        TLyingSlot{"StartAnswerWithoutHeader", Unbent, [](TProtPacket& a) { a.Len = 1; }},
        // A valid header whose size (about 4 GB) no Integer holds: not an empty slot.
        TLyingSlot{"SizePastAnInteger", Unbent,
                   [](TProtPacket& a) {
                     PutU16(a.Data + 1, 0xFFFF);
                     PutU16(a.Data + 3, 0xFFFF);
                   }}),
    [](const testing::TestParamInfo<TLyingSlot>& info) { return std::string(info.param.Name); });

TEST_F(PicturesPool, PictureWrittenAndReadBackKeepsItsColours) {
  Pictures().SetPicture(9, MakeEditorPicture(11));
  ASSERT_TRUE(Pictures().WriteToPhone(false));
  Pictures().DeletePicture(9);
  ASSERT_TRUE(Pictures().ReadFromPhone());
  ASSERT_NE(Pictures().GetPicture(9), nullptr);
  // Entries 240..255 are not sent; they come back as the phone's own colours.
  EXPECT_EQ(Pack(*Pictures().GetPicture(9)), Pack(MakeEditorPicture(11)));
}

// The slot count is the file's: fewer than 24 slots leave the rest empty, and
// slots past the 24th load as long as they are absent.
TEST_F(PicturesPool, SectionsWithOtherSlotCountsLoadTheSlotsTheyHold) {
  for (uint32_t slots : {2u, 26u}) {
    SCOPED_TRACE(slots);
    Pictures().SetPicture(5, MakeEditorPicture(1));
    TMemoryStream section;
    std::vector<uint8_t> head(1 + PictureSlots + 4, 0);
    head[0] = 1;      // changed
    head[1 + 1] = 7;  // slot 2's mark; any non-zero value counts
    PutU32(&head[1 + PictureSlots], slots);
    section.WriteBuffer(head.data(), static_cast<int32_t>(head.size()));
    for (uint32_t slot = 0; slot < slots; ++slot) {
      const uint8_t present = slot == 1 ? 1 : 0;
      section.WriteBuffer(&present, 1);
      if (present) SaveBitmapToStream(section, MakeEditorPicture(2));
    }
    section.Seek(0, soFromBeginning);
    ASSERT_TRUE(Pictures().LoadFromStream(section)) << All.ErrorText();
    EXPECT_EQ(section.Position(), section.Size());
    EXPECT_EQ(Pictures().Names(), (std::vector<std::string>{"2"}));
    EXPECT_EQ(*Pictures().GetPicture(1), MakeEditorPicture(2));
    EXPECT_TRUE(Pictures().FChanged);
    for (int slot = 0; slot < PictureSlots; ++slot) EXPECT_EQ(Pictures().FSlotChanged[slot], slot == 1) << slot;
  }
}
