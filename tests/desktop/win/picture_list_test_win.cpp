// The main window's picture list driven from outside: one row per stored
// picture, 126 pixels high for a phone picture, the delete command's
// questions (No keeps the picture; Yes and the title bar's close delete; the
// second question only for a picture that a phonebook-1 entry uses).
// Dragging a picture onto phonebook 1 is picture_drag_test_win.cpp's.
#include <gtest/gtest.h>

#include "phonebook_fixture_win.h"

namespace {

const std::wstring DeleteQuestion = L"Bild wirklich l\u00f6schen ?";
const std::wstring UsedQuestion = L"Das Bild wird im Telefonbuch verwendet.\r\rTrotzdem l\u00f6schen ?";

class TPictureListTest : public TPhonebookTest {
 protected:
  // Pictures in slots 1 and 6; Anna shows picture 6, Bert none.
  void StartWithPictures() {
    StartWith(
        [](TQVDP_ALL& Data) {
          Pictures(Data)->SetPicture(0, PhonePicture(0));
          Pictures(Data)->SetPicture(5, PhonePicture(0));
          Phonebook(Data, piPhonebook1)->AddEntry(Entry("Anna Fixture", "0301234", 0, 6));
          Phonebook(Data, piPhonebook1)->AddEntry(Entry("Bert Fixture", "0301234"));
        },
        2);
    // The page lays its lists out after it is shown.
    ASSERT_TRUE(WaitUntil([&] {
      RECT Rc;
      return GetClientRect(Control("lbxPics"), &Rc) && Rc.bottom > 0;
    }));
  }
  std::vector<std::wstring> Rows() { return ListItems(Control("lbxPics")); }
  // Selects Row, which enables the delete button, and clicks it; the first
  // question, waited for.
  HWND Delete(int Row) {
    SelectListRow(Control("lbxPics"), Row);
    PostClick(Control("butDelPic"));
    return WaitForCaption(ConfirmCaption);
  }
  // Answers Question and waits until it is gone.
  void Answer(HWND Question, int Button) {
    ASSERT_TRUE(Question);
    if (Button == IDCLOSE)
      PostMessageW(Question, WM_SYSCOMMAND, SC_CLOSE, 0);
    else
      AnswerDialog(Question, Button);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(Question) || !IsWindowVisible(Question); }));
  }
  // A question that comes; or, with a short wait, one that must not.
  HWND NextQuestion(DWORD Milliseconds = 15000) { return WaitForCaption(ConfirmCaption, Milliseconds); }
};

}  // namespace

TEST_F(TPictureListTest, RowsShowTheStoredPicturesAtTheirHeight) {
  StartWithPictures();
  ASSERT_EQ(Rows(), (std::vector<std::wstring>{L"1", L"6"}));
  EXPECT_EQ(RowHeight(Control("lbxPics"), 0), 126);
  EXPECT_EQ(RowHeight(Control("lbxPics"), 1), 126);
}

TEST_F(TPictureListTest, DeleteAsksOnceForAnUnusedPictureAndTwiceForAUsedOne) {
  StartWithPictures();
  HWND Question = Delete(0);
  ASSERT_TRUE(Question);
  EXPECT_EQ(DialogText(Question), DeleteQuestion);
  Answer(Question, IDNO);
  EXPECT_FALSE(NextQuestion(1000));
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"1", L"6"}));

  // Slot 1 is not used: Yes deletes it without a second question.
  Answer(Delete(0), IDYES);
  ASSERT_TRUE(WaitUntil([&] { return Rows() == std::vector<std::wstring>{L"6"}; }));

  Answer(Delete(0), IDYES);
  HWND Second = NextQuestion();
  ASSERT_TRUE(Second) << "slot 6 is used by the entry";
  EXPECT_EQ(DialogText(Second), UsedQuestion);
  Answer(Second, IDNO);
  EXPECT_FALSE(NextQuestion(1000));
  EXPECT_EQ(Rows(), std::vector<std::wstring>{L"6"});

  // Closing either question through its title bar goes on.
  Answer(Delete(0), IDCLOSE);
  Answer(NextQuestion(), IDCLOSE);
  EXPECT_TRUE(WaitUntil([&] { return Rows().empty(); }));
}
