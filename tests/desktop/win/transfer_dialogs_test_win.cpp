// The wait-for-phone, read and write dialogs as the main window opens them,
// driven from outside with the simulated phone: cancelling the wait, the
// write dialog's choice with and without changes, a failed write offered
// again and a retry that succeeds, the dialog centred at every opening, a
// click held back by a clock request that the dialog's close overtakes,
// and the step texts and progress of a read and of a write, in order.
#include <windows.h>
#include <commctrl.h>

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

// A transfer dialog's step text and bar position.
using TStep = std::pair<std::wstring, int>;

// Every answer of the phone comes late, so that each step of a transfer
// lasts long enough to be seen: one fault per answer, more than a whole
// transfer of the demo phone asks.
void SlowDown(TPhone& Phone) {
  for (int I = 0; I < 800; ++I) Phone.Command("delay 10");
}

// Each change of Dialog's step text or bar, in order, from the first step
// text until the dialog has gone.
std::vector<TStep> StepsShown(HWND Dialog, const char* Layout) {
  HWND Label = LayoutControl(Dialog, Layout, "Label1"), Bar = LayoutControl(Dialog, Layout, "ProgressBar");
  std::vector<TStep> Seen;
  const DWORD Deadline = GetTickCount() + LongWait;
  while (IsWindowVisible(Dialog) && GetTickCount() < Deadline) {
    // The text read on both sides of the bar: a step that came in between
    // is taken at the next look.
    const TStep Now{TextOf(Label), static_cast<int>(SendMessageW(Bar, PBM_GETPOS, 0, 0))};
    const bool Steady = TextOf(Label) == Now.first;
    if (Steady && (!Seen.empty() || !Now.first.empty()) && (Seen.empty() || Seen.back() != Now)) Seen.push_back(Now);
    Sleep(1);
  }
  return Seen;
}

std::string StepList(const std::vector<TStep>& Steps) {
  std::string Text;
  for (const TStep& S : Steps) Text += "\n  " + std::string(S.first.begin(), S.first.end()) + " " + std::to_string(S.second);
  return Text;
}

}  // namespace

TEST_F(TMainWindowTest, TheReadDialogShowsEachPoolsStepAndProgressInOrder) {
  WriteDataFile(DataFile(), OneEntry);
  Phone.Plug();
  Start();
  ASSERT_TRUE(WaitForPages());
  ASSERT_TRUE(WaitForAttach());
  SlowDown(Phone);
  PostClick(Control("butReadQV"));
  AnswerDialog(WaitForCaption(ConfirmCaption), IDYES);
  HWND Dialog = WaitForCaption(ReadCaption);
  ASSERT_TRUE(Dialog);
  const std::vector<TStep> Seen = StepsShown(Dialog, "TFRMQVREAD");
  const std::vector<TStep> Expected = {{L"Telefonbuch 1 wird gelesen...", 0},
                                       {L"Telefonbuch 2 wird gelesen...", 20},
                                       {L"Fotos werden gelesen...", 40},
                                       {L"Konfigurationsdaten werden gelesen...", 60},
                                       {L"Installierte Sprachen werden gelesen...", 80},
                                       {L"Installierte Klingelt\u00f6ne werden gelesen...", 100}};
  EXPECT_EQ(Seen, Expected) << StepList(Seen);
  EXPECT_FALSE(Showing(ErrorCaption));
}

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

TEST_F(TWriteDialogTest, AClickHeldBackByAClockRequestIsDroppedWhenTheDialogClosesMeanwhile) {
  HWND Dialog = OpenWriteDialog({piPhonebook1});
  ASSERT_TRUE(Dialog);
  // The phone comes again while the dialog is open; its clock read waits.
  Phone.Unplug();
  ASSERT_TRUE(WaitUntil([&] { return !Visible(Control("butReadQV")); }));
  Phone.Command("delay 1000");
  Phone.Plug();
  ASSERT_TRUE(Phone.Taken());
  ASSERT_TRUE(WaitUntil([&] { return Phone.LastRequest() == "3 6 -"; }));
  const int Before = Phone.Requests();
  PostClick(Item(Dialog, "butPROG"));  // held back until the clock read has its answer
  PostClick(Item(Dialog, "butCancel"));
  ASSERT_TRUE(WaitUntil([&] { return !Showing(WriteCaption) && IsWindowEnabled(Main()); }));
  // The read button's click comes after the held-back one: by its question,
  // that one has had its turn.
  PostClick(Control("butReadQV"));
  HWND Question = WaitForCaption(ConfirmCaption);
  ASSERT_TRUE(Question);
  EXPECT_EQ(Phone.Requests(), Before) << "no write after the dialog closed: " << Phone.LastRequest();
  AnswerDialog(Question, IDNO);
  ASSERT_TRUE(WaitUntil([&] { return !Showing(ConfirmCaption); }));
  EXPECT_FALSE(Showing(WriteCaption));
  EXPECT_FALSE(Showing(ErrorCaption));
}

TEST_F(TWriteDialogTest, AWriteOfEverythingShowsEachPoolsStepAndProgressInOrder) {
  HWND Dialog = OpenWriteDialog({});
  ASSERT_TRUE(Dialog);
  SlowDown(Phone);
  PostClick(Item(Dialog, "butPROG"));
  std::vector<TStep> Seen = StepsShown(Dialog, "TFRMQVWRITE");
  // The last report empties the text; the dialog may close before it shows.
  if (!Seen.empty() && Seen.back() == TStep{L"", 100}) Seen.pop_back();
  const std::vector<TStep> Expected = {{L"Telefonbuch 1 wird geschrieben...", 0},
                                       {L"Telefonbuch 2 wird geschrieben...", 20},
                                       {L"Fotos werden geschrieben...", 40},
                                       {L"Konfigurationsdaten werden geschrieben...", 60},
                                       {L"Installierte Sprachen werden geschrieben...", 80},
                                       {L"Installierte Klingelt\u00f6ne werden geschrieben...", 100}};
  EXPECT_EQ(Seen, Expected) << StepList(Seen);
  EXPECT_FALSE(Showing(ErrorCaption));
}
