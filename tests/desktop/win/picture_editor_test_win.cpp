// The picture editor driven from outside through the main window's add
// button, with generated pictures: the first use's open dialog, the stored
// preview against the engine's own result for the same file and frame (after
// OK, export, and a write to and read from the phone), the frame a first
// load gives against rows marked in the picture, the crop frame's states by
// their cursors, the handle and the track bar, the quarter turn, and files
// the loader refuses, in the editor and in the open dialog's preview.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "main_window_fixture_win.h"
#include "pic_engine.h"
#include "picture_fixtures.h"
#include "picture_loader.h"
#include "qvdp_all.h"
#include "qvdp_pictures.h"

namespace {

const std::wstring EditorCaption = L"Bild hinzuf\u00fcgen";
const std::wstring PromptText = L"Knopf \"Bild&datei \u00f6ffnen\" dr\u00fccken, um Bilddatei zu laden";
const std::vector<TFixtureEntry> OneEntry = {{"Anna Fixture", "0301234"}};

void WriteFile(const std::string& FileName, const std::vector<uint8_t>& Bytes) {
  std::ofstream Out(FileName, std::ios::binary);
  Out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

BOOL CALLBACK FindSourcePic(HWND Child, LPARAM Param) {
  if (ClassOf(Child) != "QVSourcePic") return TRUE;
  *reinterpret_cast<HWND*>(Param) = Child;
  return FALSE;
}

// What the editor stores for File with the frame centred at (CenterX,
// CenterY) (before clamping), optionally after Turns quarter turns: the
// engine's own preview.
TBitmap ExpectedPreview(const std::string& File, int CenterX, int CenterY, int Turns = 0) {
  TPicCreatorEngine Engine;
  LoadAsTheEditor(Engine, LoadPictureFile(File, [](TProgressStage, int) {}));
  Engine.PlaceFrame(CenterX, CenterY);
  for (int I = 0; I < Turns; ++I) Engine.RotatePicture(nullptr);
  Engine.PlaceFrame(Engine.FrameCenterX, Engine.FrameCenterY);
  Engine.UpdatePreview();
  return Engine.Preview();
}

std::vector<TBitmap> PicturesIn(const std::string& FileName) {
  TQVDP_ALL Data;
  EXPECT_TRUE(Data.LoadFromFile(FileName)) << Data.ErrorText();
  std::vector<TBitmap> Pictures;
  auto* Pool = static_cast<TQVDP_PICTURES*>(Data.Pools(piPictures));
  for (int I = 0; I < PictureSlots; ++I)
    if (const TBitmap* P = Pool->GetPicture(I)) Pictures.push_back(*P);
  return Pictures;
}

class TPictureEditorTest : public TMainWindowTest {
 protected:
  void StartWithData() {
    WriteDataFile(DataFile(), OneEntry);
    Start();
    ASSERT_TRUE(WaitForPages());
  }
  // The add button opens the editor.
  HWND OpenEditor() {
    PostClick(Control("butAddPic"));
    FEditor = WaitForCaption(EditorCaption);
    return FEditor;
  }
  HWND Item(const std::string& Name) { return LayoutControl(FEditor, "TFRMPICCREATOR", Name); }
  std::wstring ItemText(const std::string& Name) { return TextOf(Item(Name)); }
  // The open dialog the editor shows, waited for.
  HWND FileDialog() {
    HWND Found = nullptr;
    WaitUntil([&] {
      for (HWND W : Program->Windows())
        if (ClassOf(W) == "#32770" && GetWindow(W, GW_OWNER) == FEditor) Found = W;
      return Found != nullptr;
    });
    return Found;
  }
  // Chooses File in the open dialog and waits until the editor has loaded it.
  void Load(const std::string& File, const std::wstring& Size) {
    HWND Dialog = FileDialog();
    ASSERT_TRUE(Dialog) << "no open dialog";
    ChooseFile(Dialog, File);
    ASSERT_TRUE(WaitUntil([&] { return ItemText("lblPicSize") == Size && Enabled(Item("butOK")); }))
        << "size shows " << std::string(ItemText("lblPicSize").begin(), ItemText("lblPicSize").end());
  }
  HWND SourcePic() {
    HWND Found = nullptr;
    EnumChildWindows(FEditor, FindSourcePic, reinterpret_cast<LPARAM>(&Found));
    return Found;
  }
  // The system cursor the source control shows.
  LPCSTR Cursor() { return reinterpret_cast<LPCSTR>(GetWindowLongPtrA(SourcePic(), 0)); }
  bool WaitForCursor(LPCSTR Id) { return WaitUntil([&] { return Cursor() == Id; }); }
  // The pointer itself goes there too: a capture or a cursor change may
  // make the system report the pointer's real position.
  void Mouse(UINT Msg, int X, int Y, WPARAM Keys = 0) {
    POINT P{X, Y};
    ClientToScreen(SourcePic(), &P);
    SetCursorPos(P.x, P.y);
    PostMessageW(SourcePic(), Msg, Keys, MAKELPARAM(X, Y));
  }
  // The same, handled before it returns.
  void MouseNow(UINT Msg, int X, int Y, WPARAM Keys = 0) {
    POINT P{X, Y};
    ClientToScreen(SourcePic(), &P);
    SetCursorPos(P.x, P.y);
    SendMessageW(SourcePic(), Msg, Keys, MAKELPARAM(X, Y));
  }
  // The user moves the track bar to Position.
  void DragTrackBar(int Position) {
    SendMessageW(Item("TrackBar"), TBM_SETPOS, TRUE, Position);
    SendMessageW(FEditor, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, Position), reinterpret_cast<LPARAM>(Item("TrackBar")));
  }
  // The source control shows each pixel's colour at its place.
  testing::AssertionResult ShowsSource(const std::vector<std::pair<POINT, COLORREF>>& Pixels) {
    const auto All = [&] {
      for (const auto& P : Pixels)
        if (PixelAt(SourcePic(), P.first.x, P.first.y) != P.second) return false;
      return true;
    };
    if (WaitUntil(All)) return testing::AssertionSuccess();
    testing::AssertionResult Failure = testing::AssertionFailure();
    for (const auto& P : Pixels)
      if (PixelAt(SourcePic(), P.first.x, P.first.y) != P.second)
        Failure << "(" << P.first.x << ", " << P.first.y << ") shows " << std::hex << PixelAt(SourcePic(), P.first.x, P.first.y)
              << ", not " << P.second << std::dec << "; ";
    return Failure;
  }
  int TrackPosition() { return static_cast<int>(SendMessageW(Item("TrackBar"), TBM_GETPOS, 0, 0)); }
  void Ok() {
    PostClick(Item("butOK"));
    ASSERT_TRUE(WaitUntil([&] { return !Showing(EditorCaption); }));
  }
  std::vector<TBitmap> Export() {
    const std::string Exported = Folder + "\\Exported" + std::to_string(++FExports) + ".qvd";
    PostCommand(Main(), MenuCommand("TFRMMAIN", "mnuExport"));
    ChooseFile(WaitForCaption(L"Datenbank speichern unter..."), Exported);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(Exported) && !Showing(L"Datenbank speichern unter..."); }));
    return PicturesIn(Exported);
  }
  std::string WriteJpeg(const char* Name, int W, int H, TJpegKind Kind = TJpegKind::Baseline) {
    const std::string File = Folder + "\\" + Name;
    WriteFile(File, MakeJpeg(W, H, Kind));
    return File;
  }
  std::string WriteBitmap(const char* Name, int W, int H) {
    const std::string File = Folder + "\\" + Name;
    WriteFile(File, WriteBmp(TBmpFormat{}, PatternImage(W, H, 24)));
    return File;
  }

  HWND FEditor = nullptr;
  int FExports = 0;
};

}  // namespace

TEST_F(TPictureEditorTest, FirstUseOpensTheFileDialogAndCancelLeavesAnEmptyEditor) {
  StartWithData();
  ASSERT_TRUE(OpenEditor());
  HWND Dialog = FileDialog();
  ASSERT_TRUE(Dialog) << "the first use opens the dialog by itself";
  PostMessageW(Dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  ASSERT_TRUE(WaitUntil([&] { return ItemText("lblInfo") == PromptText; }));
  EXPECT_EQ(ItemText("lblPicSize"), L"-");
  EXPECT_FALSE(Enabled(Item("butOK")));
  EXPECT_FALSE(Enabled(Item("butRotate")));
  EXPECT_FALSE(Visible(Item("TrackBar")));
  PostClick(Item("butCancel"));
  ASSERT_TRUE(WaitUntil([&] { return !Showing(EditorCaption); }));
  EXPECT_TRUE(ListItems(Control("lbxPics")).empty());

  // Still empty: the next use opens the dialog again.
  ASSERT_TRUE(OpenEditor());
  EXPECT_TRUE(FileDialog());
}

TEST_F(TPictureEditorTest, OkStoresTheFramedPreviewInTheNextFreeSlotThroughExportAndThePhone) {
  StartWithData();
  const std::string Jpeg = WriteJpeg("photo.jpg", 640, 480);
  ASSERT_TRUE(OpenEditor());
  Load(Jpeg, L"640 x 480");
  EXPECT_TRUE(Visible(Item("TrackBar")));
  EXPECT_TRUE(Enabled(Item("butRotate")));
  EXPECT_EQ(ItemText("lblInfo"), Wide(Jpeg));
  EXPECT_FALSE(Visible(Item("ProgressBar1")));
  // The frame moved away from the start corner: the preview follows it.
  Mouse(WM_LBUTTONDOWN, 440, 130, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 440, 130);
  ASSERT_TRUE(WaitForCursor(IDC_HAND));
  Ok();
  ASSERT_TRUE(WaitUntil([&] { return ListItems(Control("lbxPics")) == std::vector<std::wstring>{L"1"}; }));

  // The second use keeps the picture and frame: no dialog, OK at once.
  ASSERT_TRUE(OpenEditor());
  EXPECT_TRUE(Enabled(Item("butOK")));
  EXPECT_EQ(ItemText("lblPicSize"), L"640 x 480");
  Ok();
  ASSERT_TRUE(WaitUntil([&] { return ListItems(Control("lbxPics")).size() == 2; }));

  const TBitmap Expected = ExpectedPreview(Jpeg, 440, 130);
  std::vector<TBitmap> Stored = Export();
  ASSERT_EQ(Stored.size(), 2u);
  EXPECT_TRUE(Stored[0] == Expected);
  EXPECT_TRUE(Stored[1] == Expected);

  // To the phone and back.
  Phone.Plug();
  ASSERT_TRUE(WaitForAttach());
  PostClick(Control("butProgQV"));
  HWND Write = WaitForCaption(WriteCaption);
  ASSERT_TRUE(Write);
  PostClick(LayoutControl(Write, "TFRMQVWRITE", "butPROG"));
  ASSERT_TRUE(WaitUntil([&] { return !Showing(WriteCaption); }, 60000));
  ASSERT_FALSE(Showing(ErrorCaption));
  PostClick(Control("butReadQV"));
  AnswerDialog(WaitForCaption(ConfirmCaption), IDYES);
  ASSERT_TRUE(WaitUntil([&] { return !Showing(ReadCaption); }, 60000));
  ASSERT_FALSE(Showing(ErrorCaption));
  Stored = Export();
  ASSERT_GE(Stored.size(), 2u);
  EXPECT_TRUE(Stored[0] == Expected) << "the phone gives back what was written";
  EXPECT_TRUE(Stored[1] == Expected);
}

TEST_F(TPictureEditorTest, FrameStatesCursorsHandleAndTrackBar) {
  StartWithData();
  const std::string Bitmap = WriteBitmap("tall.bmp", 300, 400);
  ASSERT_TRUE(OpenEditor());
  Load(Bitmap, L"300 x 400");
  const TSourceImage Pattern = PatternImage(300, 400, 24);
  const auto Color = [&](int X, int Y) {
    const uint32_t C = Pattern.ColorAt(X, Y);
    return RGB(C >> 16, (C >> 8) & 0xFF, C & 0xFF);
  };
  EXPECT_TRUE(ShowsSource({{{150, 150}, Color(150, 150)}, {{299, 399}, Color(299, 399)}, {{200, 20}, Color(200, 20)}}));
  EXPECT_EQ(SendMessageW(Item("TrackBar"), TBM_GETRANGEMAX, 0, 0), 300);
  EXPECT_EQ(TrackPosition(), 85);
  EXPECT_TRUE(WaitForCursor(IDC_HAND)) << "fixed after the load";

  // The frame covers 0..84 x 0..109; its handle 69..85 x 94..110, drawn as
  // a red square with a black arrow from corner to corner.
  const struct {
    int X, Y;
    COLORREF Color;
  } HandlePixels[] = {{69, 94, RGB(255, 0, 0)},  {71, 96, RGB(0, 0, 0)},  {76, 101, RGB(0, 0, 0)},
                      {82, 107, RGB(0, 0, 0)}, {75, 96, RGB(0, 0, 0)},  {84, 109, RGB(255, 0, 0)},
                      {81, 97, RGB(255, 0, 0)}, {72, 106, RGB(255, 0, 0)}};
  for (const auto& P : HandlePixels)
    EXPECT_TRUE(WaitUntil([&] { return PixelAt(SourcePic(), P.X, P.Y) == P.Color; }))
        << P.X << ", " << P.Y << " shows " << std::hex << PixelAt(SourcePic(), P.X, P.Y);
  const std::string Shots = QV_SCREENSHOT_DIR;
  CreateDirectoryA(Shots.c_str(), nullptr);
  SaveScreenshot(FEditor, Shots + "/picture-editor-handle.bmp");
  Mouse(WM_MOUSEMOVE, 85, 110);
  EXPECT_TRUE(WaitForCursor(IDC_SIZENWSE)) << "over the handle";
  Mouse(WM_MOUSEMOVE, 86, 110);
  EXPECT_TRUE(WaitForCursor(IDC_HAND)) << "one pixel beyond the handle";
  Mouse(WM_MOUSEMOVE, 69, 94);
  EXPECT_TRUE(WaitForCursor(IDC_SIZENWSE));

  // Dragging the handle: 10 pixels right asks for 20 more, back for 20 less.
  Mouse(WM_LBUTTONDOWN, 69, 94, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 79, 94, MK_LBUTTON);
  EXPECT_TRUE(WaitUntil([&] { return TrackPosition() == 105; })) << TrackPosition();
  Mouse(WM_MOUSEMOVE, 69, 200, MK_LBUTTON);
  EXPECT_TRUE(WaitUntil([&] { return TrackPosition() == 85; })) << "vertical movement does not resize";
  Mouse(WM_MOUSEMOVE, 400, 94, MK_LBUTTON);
  // 85 + 2 x 331 is beyond the picture: the track bar stops at 300, whose
  // height 388 fits the 400 rows.
  EXPECT_TRUE(WaitUntil([&] { return TrackPosition() == 300; })) << TrackPosition();
  MouseNow(WM_LBUTTONUP, 400, 94);
  EXPECT_EQ(Cursor(), IDC_SIZENWSE) << "the cursor stays until the next move tests the handle";
  // The release ended the resize: a move without a button only tests the handle.
  MouseNow(WM_MOUSEMOVE, 150, 94);
  EXPECT_EQ(TrackPosition(), 300);
  EXPECT_EQ(Cursor(), IDC_HAND);

  // The track bar itself.
  DragTrackBar(100);
  EXPECT_EQ(TrackPosition(), 100);

  // Right and middle presses do nothing: the frame stays fixed where it is.
  for (const auto& Button : {std::pair<UINT, WPARAM>{WM_RBUTTONDOWN, MK_RBUTTON}, {WM_MBUTTONDOWN, MK_MBUTTON}}) {
    MouseNow(Button.first, 20, 20, Button.second);
    EXPECT_EQ(Cursor(), IDC_HAND) << Button.first;
    MouseNow(WM_MOUSEMOVE, 280, 380, Button.second);
    MouseNow(Button.first + 1, 280, 380);
    EXPECT_EQ(Cursor(), IDC_HAND) << Button.first;
  }
  // A left press off the handle makes the frame follow the mouse until the
  // release.
  Mouse(WM_LBUTTONDOWN, 150, 200, MK_LBUTTON);
  EXPECT_TRUE(WaitForCursor(IDC_SIZEALL)) << "following";
  Mouse(WM_MOUSEMOVE, 160, 210, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 160, 210);
  EXPECT_TRUE(WaitForCursor(IDC_HAND)) << "fixed again";
  Ok();
  ASSERT_TRUE(WaitUntil([&] { return ListItems(Control("lbxPics")).size() == 1; }));

  TPicCreatorEngine Engine;
  LoadAsTheEditor(Engine, LoadPictureFile(Bitmap, nullptr));
  Engine.SetTrackBarPosition(100);
  Engine.PlaceFrame(160, 210);
  Engine.UpdatePreview();
  const std::vector<TBitmap> Stored = Export();
  ASSERT_EQ(Stored.size(), 1u);
  EXPECT_TRUE(Stored[0] == Engine.Preview());
}

// 400 x 200: width 155 gives height 200, the picture's; 156 would give 201.
TEST_F(TPictureEditorTest, TheTrackBarRefusesAWidthWhoseHeightDoesNotFit) {
  StartWithData();
  ASSERT_TRUE(OpenEditor());
  Load(WriteBitmap("wide.bmp", 400, 200), L"400 x 200");
  ASSERT_EQ(TrackPosition(), 85);
  const struct {
    int Asked, Shown;
  } Cases[] = {{156, 85}, {155, 155}, {400, 155}, {16, 16}};
  for (const auto& C : Cases) {
    DragTrackBar(C.Asked);
    EXPECT_EQ(TrackPosition(), C.Shown) << C.Asked;
  }
}

// The first load of a 50 x 300 picture: the start frame 50 x 110 is clamped
// at the top-left corner (centre 25, 55), and only then does the track bar
// widen it to 50 x 64 around that centre, rows 23 to 86. The rows are marked
// so that the stored preview shows which rows the frame covered.
TEST_F(TPictureEditorTest, TheFirstLoadResizesTheFrameAroundItsClampedCentre) {
  StartWithData();
  enum : uint8_t { Above = 1, FirstRow, Inside, LastRow, Below };
  TSourceImage Tall;
  Tall.Width = 50, Tall.Height = 300, Tall.BitsPerPixel = 8;
  Tall.Palette = {{0, 0, 0, 0}, {200, 30, 30, 0}, {30, 200, 30, 0}, {30, 30, 200, 0}, {200, 200, 30, 0}, {30, 200, 200, 0}};
  for (int Y = 0; Y < Tall.Height; ++Y) {
    const uint8_t Mark = Y < 23 ? Above : Y == 23 ? FirstRow : Y < 86 ? Inside : Y == 86 ? LastRow : Below;
    Tall.Indices.insert(Tall.Indices.end(), Tall.Width, Mark);
  }
  TBmpFormat Format;
  Format.Bits = 8;
  Format.ColorsUsed = static_cast<int>(Tall.Palette.size());
  const std::string File = Folder + "\\tall.bmp";
  WriteFile(File, WriteBmp(Format, Tall));
  ASSERT_TRUE(OpenEditor());
  Load(File, L"50 x 300");
  EXPECT_EQ(TrackPosition(), 50);
  // Rows 50 pixels wide are not whole DIB rows: the control still shows
  // each row where it belongs (away from the frame and its handle).
  const auto Color = [&](uint8_t Mark) { return RGB(Tall.Palette[Mark].peRed, Tall.Palette[Mark].peGreen, Tall.Palette[Mark].peBlue); };
  EXPECT_TRUE(ShowsSource({{{25, 5}, Color(Above)}, {{1, 50}, Color(Inside)}, {{48, 100}, Color(Below)}, {{0, 299}, Color(Below)}}));
  Ok();
  const std::vector<TBitmap> Stored = Export();
  ASSERT_EQ(Stored.size(), 1u);
  const TBitmap& Preview = Stored[0];
  ASSERT_EQ(Preview.Width(), 85);
  ASSERT_EQ(Preview.Height(), 110);
  for (int X = 0; X < 85; ++X) {
    EXPECT_EQ(Preview.ScanLine(0)[X], FirstRow) << X;
    EXPECT_EQ(Preview.ScanLine(109)[X], LastRow) << X;
  }
  for (int Y = 1; Y < 109; ++Y)
    for (int X = 0; X < 85; ++X) {
      const uint8_t P = Preview.ScanLine(Y)[X];
      ASSERT_TRUE(P == FirstRow || P == Inside || P == LastRow) << X << "," << Y << ": " << int{P};
    }
}

TEST_F(TPictureEditorTest, RotateTurnsThePictureAndKeepsTheFrame) {
  StartWithData();
  const std::string Jpeg = WriteJpeg("wide.jpg", 320, 200);
  ASSERT_TRUE(OpenEditor());
  Load(Jpeg, L"320 x 200");
  PostClick(Item("butRotate"));
  ASSERT_TRUE(WaitUntil([&] { return ItemText("lblPicSize") == L"200 x 320"; }));
  EXPECT_TRUE(WaitUntil([&] { return !Visible(Item("ProgressBar1")) && ItemText("lblInfo") == Wide(Jpeg); }));
  EXPECT_EQ(SendMessageW(Item("ProgressBar1"), PBM_GETRANGE, FALSE, 0), 320) << "the turn counts columns";
  Ok();
  ASSERT_TRUE(WaitUntil([&] { return ListItems(Control("lbxPics")).size() == 1; }));
  const std::vector<TBitmap> Stored = Export();
  ASSERT_EQ(Stored.size(), 1u);
  EXPECT_TRUE(Stored[0] == ExpectedPreview(Jpeg, 0, 0, 1));

  // A JPEG decoded after a turn shows its progress over the whole bar again.
  ASSERT_TRUE(OpenEditor());
  PostClick(Item("butOpenFile"));
  Load(WriteJpeg("next.jpg", 64, 48), L"64 x 48");
  EXPECT_EQ(SendMessageW(Item("ProgressBar1"), PBM_GETRANGE, FALSE, 0), 100);
}

TEST_F(TPictureEditorTest, FilesTheLoaderRefusesShowItsErrorAndLeaveTheEditorAsItWas) {
  StartWithData();
  const std::string Jpeg = WriteJpeg("first.jpg", 120, 90);
  const std::string Icon = Folder + "\\icon.ico";
  WriteFile(Icon, std::vector<uint8_t>(64, 1));
  const std::string Cmyk = WriteJpeg("cmyk.jpg", 40, 30, TJpegKind::Cmyk);
  // One small scan repeated: each costs a walk over the picture, so such a
  // file would hold the window for as long as its maker likes.
  const std::string Scans = Folder + "\\scans.jpg";
  WriteFile(Scans, WithLastScanRepeated(MakeJpeg(64, 48, TJpegKind::Progressive), 5000));
  ASSERT_TRUE(OpenEditor());
  // Refused on first use: the editor stays empty.
  ChooseFile(FileDialog(), Icon);
  HWND FirstError = WaitForCaption(ErrorCaption);
  ASSERT_TRUE(FirstError);
  AnswerDialog(FirstError, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return ItemText("lblInfo") == PromptText; }));
  EXPECT_EQ(ItemText("lblPicSize"), L"-");
  EXPECT_FALSE(Enabled(Item("butOK")));
  EXPECT_FALSE(Enabled(Item("butRotate")));
  EXPECT_FALSE(Visible(Item("TrackBar")));
  PostClick(Item("butOpenFile"));
  Load(Jpeg, L"120 x 90");
  const struct {
    std::string File;
    std::wstring Message;
  } Cases[] = {{Icon, L"Bild kann nicht in eine Bitmap umgewandelt werden"},
               {Cmyk, L"JPEG-Fehler: 4 Farbkomponenten werden nicht unterst\u00fctzt"},
               {Scans, L"JPEG-Fehler: mehr als 100 Scans"}};
  for (const auto& C : Cases) {
    PostClick(Item("butOpenFile"));
    HWND Dialog = FileDialog();
    ASSERT_TRUE(Dialog);
    ChooseFile(Dialog, C.File);
    HWND Error = WaitForCaption(ErrorCaption);
    ASSERT_TRUE(Error) << C.File;
    EXPECT_EQ(DialogText(Error), C.Message);
    AnswerDialog(Error, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !Showing(ErrorCaption); }));
    EXPECT_EQ(ItemText("lblPicSize"), L"120 x 90");
    EXPECT_TRUE(Enabled(Item("butOK")));
    EXPECT_FALSE(Visible(Item("ProgressBar1")));
    EXPECT_EQ(ItemText("lblInfo"), Wide(C.File)) << "the default text: the file chosen last";
  }
  // Cancelling the dialog that the open button opens leaves the status line
  // blank, until the next status update.
  PostClick(Item("butOpenFile"));
  HWND Dialog = FileDialog();
  ASSERT_TRUE(Dialog);
  PostMessageW(Dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(Dialog); }));
  SendMessageW(FEditor, WM_NULL, 0, 0);  // the button's handler has returned
  EXPECT_EQ(ItemText("lblInfo"), L" ");
  EXPECT_EQ(ItemText("lblPicSize"), L"120 x 90");
  Ok();
  const std::vector<TBitmap> Stored = Export();
  ASSERT_EQ(Stored.size(), 1u);
  EXPECT_TRUE(Stored[0] == ExpectedPreview(Jpeg, 0, 0));
}

namespace {

BOOL CALLBACK FindByClass(HWND Child, LPARAM Param) {
  auto* Search = reinterpret_cast<std::pair<const char*, HWND>*>(Param);
  if (ClassOf(Child) != Search->first) return TRUE;
  Search->second = Child;
  return FALSE;
}

HWND ChildOfClass(HWND Window, const char* Class) {
  std::pair<const char*, HWND> Search{Class, nullptr};
  EnumChildWindows(Window, FindByClass, reinterpret_cast<LPARAM>(&Search));
  return Search.second;
}

}  // namespace

TEST_F(TPictureEditorTest, TheOpenDialogPreviewsTheSelectedPicture) {
  StartWithData();
  WriteJpeg("only.jpg", 640, 480);
  WriteFile(Folder + "\\scans.jpg", WithLastScanRepeated(MakeJpeg(64, 48, TJpegKind::Progressive), 5000));
  ASSERT_TRUE(OpenEditor());
  HWND Dialog = FileDialog();
  ASSERT_TRUE(Dialog);
  HWND Preview = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (Preview = ChildOfClass(Dialog, "QVPicturePreview")) != nullptr; }));
  EXPECT_EQ(TextOf(Preview), L"");
  // Into the test's folder (the dialog starts where the last one ended),
  // then the list's first entry, the photo, chosen by key.
  ChooseFile(Dialog, Folder);
  // The folder's view replaces the list, so it is looked for again.
  HWND Files = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    Files = ChildOfClass(Dialog, "SysListView32");
    return Files && SendMessageW(Files, LVM_GETITEMCOUNT, 0, 0) == 2;
  }));
  auto Press = [&](WPARAM Key) {
    PostMessageW(Files, WM_KEYDOWN, Key, 0);
    PostMessageW(Files, WM_KEYUP, Key, 0);
  };
  Press(VK_HOME);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(Preview) == L"640 x 480"; })) << std::string(TextOf(Preview).begin(), TextOf(Preview).end());
  // A file the loader refuses for its many scans shows nothing, at once.
  Press(VK_END);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(Preview).empty(); })) << std::string(TextOf(Preview).begin(), TextOf(Preview).end());
}

// Every name the loader reads is listed at once, and nothing else: the
// dialog's first filter is all pictures.
TEST_F(TPictureEditorTest, TheOpenDialogListsEveryFileTheLoaderReads) {
  StartWithData();
  const char* const Listed[] = {"a.bmp", "b.dib", "c.jpg", "d.jpeg", "e.jpe", "f.jfif", "g.ico", "h.emf", "i.wmf"};
  for (const char* Name : Listed) WriteFile(Folder + "\\" + Name, std::vector<uint8_t>(16, 0));
  for (const char* Name : {"j.png", "k.txt"}) WriteFile(Folder + "\\" + Name, std::vector<uint8_t>(16, 0));
  ASSERT_TRUE(OpenEditor());
  HWND Dialog = FileDialog();
  ASSERT_TRUE(Dialog);
  ChooseFile(Dialog, Folder);
  HWND Files = nullptr;
  const auto Count = [&] {
    Files = ChildOfClass(Dialog, "SysListView32");
    return Files ? static_cast<int>(SendMessageW(Files, LVM_GETITEMCOUNT, 0, 0)) : -1;
  };
  EXPECT_TRUE(WaitUntil([&] { return Count() == static_cast<int>(std::size(Listed)); })) << Count();
}

TEST_F(TPictureEditorTest, TheWindowKeepsItsMinimumSizeAndItsCloseBoxStoresNothing) {
  StartWithData();
  const std::string Jpeg = WriteJpeg("small.jpg", 120, 90);
  ASSERT_TRUE(OpenEditor());
  Load(Jpeg, L"120 x 90");
  EXPECT_TRUE(IsZoomed(FEditor));
  PostMessageW(FEditor, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsZoomed(FEditor); }));
  auto Size = [&] {
    RECT Rc;
    GetWindowRect(FEditor, &Rc);
    return SIZE{Rc.right - Rc.left, Rc.bottom - Rc.top};
  };
  SetWindowPos(FEditor, nullptr, 0, 0, 199, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_GE(Size().cx, 200);
  SetWindowPos(FEditor, nullptr, 0, 0, 300, 559, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_GE(Size().cy, 560);
  SetWindowPos(FEditor, nullptr, 0, 0, 200, 560, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(Size().cx, 200);
  EXPECT_EQ(Size().cy, 560);

  PostMessageW(FEditor, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !Showing(EditorCaption); }));
  // The add button's command has ended: a second use shows the editor again.
  ASSERT_TRUE(OpenEditor());
  EXPECT_TRUE(ListItems(Control("lbxPics")).empty()) << "closed through the title bar: nothing stored";
}
