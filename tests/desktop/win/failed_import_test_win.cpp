// A failed import leaves the session's data as it was: in the pools, in the
// lists that show them, in what a delete question names and deletes, and in
// the data file saved at close. Two ways to fail: a file refused at its
// header, and one whose first sections load before a later one breaks.
#include <fstream>

#include "phonebook_fixture_win.h"
#include "stream.h"

namespace {

void RewriteFile(const std::string& FileName, const std::vector<char>& Bytes) {
  std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
  Out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
  ASSERT_TRUE(Out.good()) << FileName;
}

// Each pool's data-file section as Data would save it.
std::vector<std::vector<uint8_t>> Sections(TQVDP_ALL& Data) {
  std::vector<std::vector<uint8_t>> Result;
  for (int I = 0; I < PoolCount; ++I) {
    TMemoryStream Section;
    EXPECT_TRUE(Data.Pools(static_cast<TPoolIndex>(I))->SaveToStream(Section)) << "pool " << I;
    Result.push_back(Section.Bytes());
  }
  return Result;
}

std::vector<std::vector<uint8_t>> SectionsIn(const std::string& FileName) {
  TQVDP_ALL Data;
  EXPECT_TRUE(Data.LoadFromFile(FileName)) << Data.ErrorText();
  return Sections(Data);
}

void FourEntries(TQVDP_ALL& Data) {
  for (const char* Name : {"Anna", "Bert", "Carl", "Dora"}) Phonebook(Data, piPhonebook1)->AddEntry(Entry(Name, "1"));
  Phonebook(Data, piPhonebook2)->AddEntry(Entry("Zweitbuch", "2"));
}

// Another data set, with fewer entries than the session's so that a row of
// the old list points past the new pool's end or at another entry.
void TwoOtherEntries(TQVDP_ALL& Data) {
  for (const char* Name : {"Xaver", "Yvonne"}) Phonebook(Data, piPhonebook1)->AddEntry(Entry(Name, "9"));
  Phonebook(Data, piPhonebook2)->AddEntry(Entry("Fremd", "8"));
}

class TFailedImportTest : public TPhonebookTest {
 protected:
  // Imports FileName, which must fail with Text, and waits until the error
  // dialog has been answered and gone.
  void ImportFailing(const std::string& FileName, const std::wstring& Text) {
    ASSERT_NO_FATAL_FAILURE(ImportFile(FileName));
    HWND Error = WaitForCaption(ErrorCaption);
    ASSERT_TRUE(Error) << Describe();
    EXPECT_EQ(DialogText(Error), Text);
    AnswerDialog(Error, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !Showing(ErrorCaption); }));
  }
  // Deletes the row named Name of phonebook 1 after its question, which
  // must name that entry.
  void DeleteRow(const std::wstring& Name, size_t RowsAfter) {
    HWND PB1 = Control("lbxPB1");
    SelectListRow(PB1, RowOf(PB1, Name));
    ASSERT_TRUE(WaitUntil([&] { return Enabled(Control("butDelPB1")); }));
    PostClick(Control("butDelPB1"));
    HWND Question = WaitForCaption(ConfirmCaption);
    ASSERT_TRUE(Question);
    EXPECT_EQ(DialogText(Question), L"Telefonbucheintrag <" + Name + L"> wirklich l\u00f6schen ?");
    AnswerDialog(Question, IDYES);
    ASSERT_TRUE(WaitUntil([&] { return !Showing(ConfirmCaption) && ListItems(PB1).size() == RowsAfter; }));
  }
};

TEST_F(TFailedImportTest, AFileWithAWrongMagicKeepsTheSessionsChangeForTheClose) {
  ASSERT_NO_FATAL_FAILURE(StartWith(FourEntries, 4));
  ASSERT_NO_FATAL_FAILURE(DeleteRow(L"Bert", 3));

  // A whole data file of other entries, refused by its first byte.
  const std::string Other = Folder + "\\WrongMagic.qvd";
  WriteDataFileWith(Other, TwoOtherEntries);
  std::vector<char> Bytes = FileBytes(Other);
  Bytes[0] ^= 0x5A;
  ASSERT_NO_FATAL_FAILURE(RewriteFile(Other, Bytes));
  ASSERT_NO_FATAL_FAILURE(ImportFailing(Other, L"Datei " + Wide(Other) + L" ist keine g\u00fcltige Quorvale-Datenbank"));
  EXPECT_EQ(ListItems(Control("lbxPB1")), (std::vector<std::wstring>{L"Anna", L"Carl", L"Dora"}));

  TQVDP_ALL Saved;
  ASSERT_NO_FATAL_FAILURE(CloseAndLoad(Saved));
  EXPECT_EQ(Phonebook(Saved, piPhonebook1)->Names(), (std::vector<std::string>{"Anna", "Carl", "Dora"}))
      << "the deletion of the session is saved";
  EXPECT_TRUE(Saved.Pools(piPhonebook1)->FChanged) << "and still marked for the next write";
}

TEST_F(TFailedImportTest, AFileBrokenInItsFourthSectionPutsEveryPoolBackAndTheListsAgreeWithThem) {
  ASSERT_NO_FATAL_FAILURE(StartWith(FourEntries, 4));
  const std::vector<std::vector<uint8_t>> Before = SectionsIn(DataFile());

  // The first three sections (both phonebooks and the pictures) are whole;
  // the configuration's section ends after a few of its bytes.
  const std::string Other = Folder + "\\Broken.qvd";
  WriteDataFileWith(Other, TwoOtherEntries);
  const std::vector<std::vector<uint8_t>> OtherSections = SectionsIn(Other);
  size_t Cut = sizeof(TDataFileHeader);
  for (int I = 0; I < piConfig; ++I) Cut += 1 + OtherSections[I].size();
  Cut += 1 + 8;  // the configuration's index byte and the first bytes of its section
  std::vector<char> Bytes = FileBytes(Other);
  ASSERT_LT(Cut, Bytes.size());
  Bytes.resize(Cut);
  ASSERT_NO_FATAL_FAILURE(RewriteFile(Other, Bytes));
  ASSERT_NO_FATAL_FAILURE(ImportFailing(Other, L"Stream-Read-Fehler"));

  EXPECT_EQ(ListItems(Control("lbxPB1")), (std::vector<std::wstring>{L"Anna", L"Bert", L"Carl", L"Dora"}));
  EXPECT_EQ(ListItems(Control("lbxPB2")), std::vector<std::wstring>{L"Zweitbuch"});
  // The question names the row's entry, and that entry is the one deleted.
  ASSERT_NO_FATAL_FAILURE(DeleteRow(L"Bert", 3));
  EXPECT_EQ(ListItems(Control("lbxPB1")), (std::vector<std::wstring>{L"Anna", L"Carl", L"Dora"}));

  TQVDP_ALL Saved;
  ASSERT_NO_FATAL_FAILURE(CloseAndLoad(Saved));
  EXPECT_EQ(Phonebook(Saved, piPhonebook1)->Names(), (std::vector<std::string>{"Anna", "Carl", "Dora"}));
  const std::vector<std::vector<uint8_t>> After = Sections(Saved);
  for (int I = piPhonebook2; I < PoolCount; ++I) EXPECT_EQ(After[I], Before[I]) << "pool " << I << " as before the import";
}

}  // namespace
