// The wait-for-phone, read and write dialogs as the main window opens them,
// driven from outside with the simulated phone: cancelling the wait, the
// write dialog's choice with and without changes, a failed write offered
// again and a retry that succeeds, the dialog centred at every opening.
#include <gtest/gtest.h>

#include <cstdlib>

#include "main_window_fixture_win.h"
#include "qvdp_all.h"

namespace {

const std::vector<TFixtureEntry> OneEntry = {{"Anna Fixture", "0301234"}};

class TWriteDialogTest : public TMainWindowTest {
 protected:
  // Starts with a data file (ChangedPools marked) and the phone attached,
  // and opens the write dialog; the dialog once its choice is set up.
  HWND OpenWriteDialog(const std::vector<int>& ChangedPools) {
    WriteDataFile(DataFile(), OneEntry, ChangedPools);
    Phone.Plug();
    Start();
    EXPECT_TRUE(WaitForPages());
    EXPECT_TRUE(WaitForAttach());
    PostClick(Control("butProgQV"));
    HWND Dialog = WaitForWriteDialog();
    EXPECT_TRUE(Dialog);
    return Dialog;
  }
  static HWND Item(HWND Dialog, const std::string& Name) { return LayoutControl(Dialog, "TFRMQVWRITE", Name); }
  // Twice the distance of the dialog's centre from the work area's: 0 or 1
  // (the rounding of an odd difference) for a centred dialog.
  static POINT TwiceOffCentre(HWND Dialog) {
    RECT Work, Rc;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &Work, 0);
    GetWindowRect(Dialog, &Rc);
    return {(Rc.left + Rc.right) - (Work.left + Work.right), (Rc.top + Rc.bottom) - (Work.top + Work.bottom)};
  }
};

}  // namespace

TEST_F(TMainWindowTest, CancellingTheWaitForThePhoneEndsTheProgramWithoutADataFile) {
  Start();
  HWND Wait = WaitForCaption(WaitCaption);
  ASSERT_TRUE(Wait);
  EXPECT_EQ(GetWindowLongW(Wait, GWL_STYLE) & WS_SYSMENU, 0) << "no close box";
  PostClick(LayoutControl(Wait, "TFRMFIRSTLOAD", "butCancel"));
  EXPECT_TRUE(Program->Ended());
  EXPECT_FALSE(FileExists(DataFile()));
}

TEST_F(TWriteDialogTest, WithoutChangesOnlyEverythingCanBeWritten) {
  HWND Dialog = OpenWriteDialog({});
  ASSERT_TRUE(Dialog);
  EXPECT_FALSE(Enabled(Item(Dialog, "rbtUpdate")));
  EXPECT_TRUE(Checked(Item(Dialog, "rbtALL")));
  EXPECT_TRUE(Focused(Item(Dialog, "rbtALL")));
  const int Before = Phone.Requests();
  PostClick(Item(Dialog, "butCancel"));
  ASSERT_TRUE(WaitUntil([&] { return !Showing(WriteCaption); }));
  EXPECT_EQ(Phone.Requests(), Before);
}

TEST_F(TWriteDialogTest, WithChangesTheChangedOnlyWriteIsChosenAndSendsOnlyThoseChanges) {
  HWND Dialog = OpenWriteDialog({piConfig});
  ASSERT_TRUE(Dialog);
  EXPECT_TRUE(Enabled(Item(Dialog, "rbtUpdate")));
  EXPECT_TRUE(Checked(Item(Dialog, "rbtUpdate")));
  EXPECT_FALSE(Checked(Item(Dialog, "rbtALL")));
  EXPECT_TRUE(Focused(Item(Dialog, "rbtUpdate")));
  const int Before = Phone.Requests();
  PostClick(Item(Dialog, "butPROG"));
  ASSERT_TRUE(WaitUntil([&] { return !Showing(WriteCaption); }));
  EXPECT_GT(Phone.Requests(), Before);
  EXPECT_EQ(Phone.LastRequest().rfind("3 ", 0), 0u) << "only the configuration is written: " << Phone.LastRequest();
  EXPECT_FALSE(Showing(ErrorCaption));
  PostMessageW(Main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(Program->Ended());
  TQVDP_ALL Saved;
  ASSERT_TRUE(Saved.LoadFromFile(DataFile()));
  EXPECT_FALSE(Saved.AnyChanged()) << "written changes are no changes any more";
}

TEST_F(TWriteDialogTest, AFailedWriteShowsTheErrorAndOffersTheChoiceAgainForARetry) {
  HWND Dialog = OpenWriteDialog({piPhonebook1});
  ASSERT_TRUE(Dialog);
  Phone.Command("drop");  // the write's first answer is lost
  PostClick(Item(Dialog, "butPROG"));
  HWND Error = WaitForCaption(ErrorCaption, 30000);
  ASSERT_TRUE(Error);
  EXPECT_EQ(DialogText(Error).rfind(L"Keine Antwort vom Quorvale erhalten", 0), 0u);
  EXPECT_TRUE(Showing(WriteCaption));
  AnswerDialog(Error, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return Visible(Item(Dialog, "panIdle")) && !Visible(Item(Dialog, "panAction")); }));
  EXPECT_TRUE(Checked(Item(Dialog, "rbtUpdate"))) << "the choice is kept";
  PostClick(Item(Dialog, "butPROG"));
  ASSERT_TRUE(WaitUntil([&] { return !Showing(WriteCaption); }, 30000));
  EXPECT_FALSE(Showing(ErrorCaption));
}

TEST_F(TWriteDialogTest, ClosingIsRefusedWhileTheWriteRunsAndAllowedAfterIt) {
  HWND Dialog = OpenWriteDialog({piPhonebook1});
  ASSERT_TRUE(Dialog);
  Phone.Command("delay 3000");  // the write's first answer comes too late: the write fails
  PostClick(Item(Dialog, "butPROG"));
  ASSERT_TRUE(WaitUntil([&] { return Phone.LastRequest().rfind("4 ", 0) == 0; }));
  PostMessageW(Dialog, WM_CLOSE, 0, 0);
  HWND Error = WaitForCaption(ErrorCaption, 30000);
  ASSERT_TRUE(Error);
  AnswerDialog(Error, IDOK);
  // A click on the choice is the barrier: the dialog has gone back to its
  // loop since the write ended, and a close taken during the write would
  // have ended that loop.
  ASSERT_TRUE(WaitUntil([&] { return Visible(Item(Dialog, "panIdle")); }));
  PostClick(Item(Dialog, "rbtALL"));
  ASSERT_TRUE(WaitUntil([&] { return Checked(Item(Dialog, "rbtALL")); }));
  EXPECT_TRUE(Showing(WriteCaption));
  PostMessageW(Dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !Showing(WriteCaption); }));
}

// The dialog shows the choice and then the shorter progress panel; the next
// opening starts from that shorter height and must grow back to the whole
// choice, centred at that height. A failed write goes back to the choice from
// the progress panel as well.
TEST_F(TWriteDialogTest, TheChoiceIsShownWholeAndCentredAfterAWrite) {
  HWND Dialog = OpenWriteDialog({piConfig});
  ASSERT_TRUE(Dialog);
  // The buttons lie at the foot of the choice: cut off, they are out of the
  // client area.
  auto ButtonsInside = [&] {
    RECT Client;
    GetClientRect(Dialog, &Client);
    MapWindowPoints(Dialog, nullptr, reinterpret_cast<POINT*>(&Client), 2);
    for (const char* Name : {"butPROG", "butCancel"}) {
      RECT Button;
      GetWindowRect(Item(Dialog, Name), &Button);
      if (Button.bottom > Client.bottom || Button.top < Client.top) return false;
    }
    return true;
  };
  Phone.Command("drop");
  PostClick(Item(Dialog, "butPROG"));
  HWND Error = WaitForCaption(ErrorCaption, 30000);
  ASSERT_TRUE(Error);
  AnswerDialog(Error, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return Visible(Item(Dialog, "panIdle")); }));
  EXPECT_TRUE(ButtonsInside()) << "after a failed write";
  PostClick(Item(Dialog, "butPROG"));
  ASSERT_TRUE(WaitUntil([&] { return !Showing(WriteCaption); }, 30000));
  PostClick(Control("butProgQV"));
  ASSERT_EQ(WaitForWriteDialog(), Dialog);
  EXPECT_TRUE(ButtonsInside()) << "at the next opening";
  const POINT Off = TwiceOffCentre(Dialog);
  EXPECT_LE(std::abs(Off.x), 1);
  EXPECT_LE(std::abs(Off.y), 1);
}
