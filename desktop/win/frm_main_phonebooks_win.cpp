// The two phonebook pages: owner-drawn rows of variable height, the command
// buttons' enabled state and the entry commands. The rows are drawn from the
// pool's entries by row index (the pool keeps them sorted, so row index and
// entry index agree); an item's text is the entry's name and serves only the
// delete question. Entries change only through the pools, whose announcement
// rebuilds the list (frm_main_pools_win.cpp) and so measures its rows again.
#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "controls_win.h"
#include "entry_edit.h"
#include "frm_edt_pb_item_win.h"
#include "frm_main_win.h"
#include "list_rows_win.h"
#include "message_dialogs_win.h"
#include "pb_row_layout.h"
#include "pool_bitmap_win.h"
#include "qvdp_phonebook.h"
#include "qvdp_phonebook2.h"
#include "qvdp_pictures.h"
#include "resource_texts.h"
#include "stream.h"
#include "text_ids.h"

namespace {

TQVDP_PHONEBOOK* PhonebookPool(TQVDP_ALL& Data, TPoolIndex Index) {
  return static_cast<TQVDP_PHONEBOOK*>(Data.Pools(Index));
}
TQVDP_PICTURES* PicturesPool(TQVDP_ALL& Data) { return static_cast<TQVDP_PICTURES*>(Data.Pools(piPictures)); }

// Rows at or above which phonebook 1's add button is disabled; phonebook 2
// stops at its memory image's capacity (MaxPhonebook2Entries), the picture
// list at PictureSlots. The commands themselves count nothing.
constexpr int MaxPhonebook1Entries = 50;

COLORREF FillColor(TRowFill Fill) {
  switch (Fill) {
    case rfSelectedDropTarget: return RGB(255, 0, 0);
    case rfDropTarget: return RGB(128, 0, 0);
    case rfHighlight: return GetSysColor(COLOR_HIGHLIGHT);
    case rfWhite: break;
  }
  return RGB(255, 255, 255);
}

// The number-type icons by the low half of Kind; the program's own
// resources in every language, loaded once for the run.
HBITMAP NumberTypeIcon(uint8_t Kind) {
  static const HBITMAP Icons[] = {LoadBitmapA(GetModuleHandleA(nullptr), "PB_HOME"),
                                  LoadBitmapA(GetModuleHandleA(nullptr), "PB_COMPANY"),
                                  LoadBitmapA(GetModuleHandleA(nullptr), "PB_MOBILE")};
  const int Type = Kind & 0x0F;
  return Type < 3 ? Icons[Type] : nullptr;
}

// Arial at Size points, bold or regular, made once per size for the run.
HFONT RowFont(HDC Dc, int Size, bool Bold) {
  static std::map<std::pair<int, bool>, HFONT> Fonts;
  HFONT& Font = Fonts[{Size, Bold}];
  if (!Font)
    Font = CreateFontA(-MulDiv(Size, GetDeviceCaps(Dc, LOGPIXELSY), 72), 0, 0, 0, Bold ? FW_BOLD : FW_NORMAL, FALSE,
                       FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, "Arial");
  return Font;
}

SIZE TextSize(HDC Dc, HFONT Font, const std::string& Text) {
  SIZE Size{};
  HGDIOBJ Old = SelectObject(Dc, Font);
  GetTextExtentPoint32A(Dc, Text.c_str(), static_cast<int>(Text.size()), &Size);
  SelectObject(Dc, Old);
  return Size;
}

int FittedSize(HDC Dc, const std::string& Text, int Available, bool Bold) {
  return FitFontSize(Available,
                     [&](int Size) { return static_cast<int>(TextSize(Dc, RowFont(Dc, Size, Bold), Text).cx); });
}

void Fill(HDC Dc, int Left, int Top, int Right, int Bottom, COLORREF Color) {
  const RECT Rc{Left, Top, Right, Bottom};
  HBRUSH Brush = CreateSolidBrush(Color);
  FillRect(Dc, &Rc, Brush);
  DeleteObject(Brush);
}

}  // namespace

void TfrmMain::OnPhonebookEvents() {
  On("lbxPB1Click", [this](TEvent&) { UpdateButtons(); });
  On("lbxPB1DblClick", [this](TEvent&) { EditEntry(piPhonebook1, lbxPB1); });
  On("lbxPB1MeasureItem", [this](TEvent& E) { MeasurePhonebookRow(piPhonebook1, E); });
  On("lbxPB1DrawItem", [this](TEvent& E) { DrawPhonebookRow(piPhonebook1, E); });
  On("lbxPB2MeasureItem", [this](TEvent& E) { MeasurePhonebookRow(piPhonebook2, E); });
  On("lbxPB2DrawItem", [this](TEvent& E) { DrawPhonebookRow(piPhonebook2, E); });
  On("butEditPB1Click", [this](TEvent&) { EditEntry(piPhonebook1, lbxPB1); });
  On("butAddPB1Click", [this](TEvent&) { AddEntry(piPhonebook1); });
  On("butDelPB1Click", [this](TEvent&) { DeleteEntry(piPhonebook1, lbxPB1); });
  On("butEditPB2Click", [this](TEvent&) { EditEntry(piPhonebook2, lbxPB2); });
  On("butAddPB2Click", [this](TEvent&) { AddEntry(piPhonebook2); });
  On("butDelPB2Click", [this](TEvent&) { DeleteEntry(piPhonebook2, lbxPB2); });
}

void TfrmMain::UpdateButtons() {
  const bool PB1 = SelectedRow(lbxPB1) >= 0, PB2 = SelectedRow(lbxPB2) >= 0, Pic = SelectedRow(lbxPics) >= 0;
  EnableWindow(butEditPB1, PB1);
  EnableWindow(butDelPB1, PB1);
  EnableWindow(butAddPB1, RowCount(lbxPB1) < MaxPhonebook1Entries);
  EnableWindow(butAddPic, RowCount(lbxPics) < PictureSlots);
  EnableWindow(butDelPic, Pic);
  EnableWindow(butAssignPic, PB1 && Pic);
  EnableWindow(butRemovePic, PB1 && EntryHasPicture(SelectedRow(lbxPB1)));
  EnableWindow(butEditPB2, PB2);
  EnableWindow(butDelPB2, PB2);
  EnableWindow(butAddPB2, RowCount(lbxPB2) < MaxPhonebook2Entries);
  FDropIndex = -1;
}

bool TfrmMain::EntryHasPicture(int Index) {
  TPBEntry Entry{};
  PhonebookPool(*FDataPool, piPhonebook1)->GetEntry(Index, Entry);
  return PicturesPool(*FDataPool)->GetPicture(Entry.Picture - 1) != nullptr;
}

void TfrmMain::MeasurePhonebookRow(TPoolIndex Phonebook, TEvent& E) {
  auto* M = reinterpret_cast<MEASUREITEMSTRUCT*>(E.LParam);
  int PictureHeight = 0;
  if (Phonebook == piPhonebook1) {
    TPBEntry Entry{};
    PhonebookPool(*FDataPool, Phonebook)->GetEntry(static_cast<int>(M->itemID), Entry);
    if (const TBitmap* Picture = PicturesPool(*FDataPool)->GetPicture(Entry.Picture - 1))
      PictureHeight = Picture->Height();
  }
  M->itemHeight = static_cast<UINT>(PhonebookRowHeight(PictureHeight));
}

void TfrmMain::DrawPhonebookRow(TPoolIndex Phonebook, TEvent& E) {
  const auto* D = reinterpret_cast<const DRAWITEMSTRUCT*>(E.LParam);
  if (D->itemID == static_cast<UINT>(-1)) return;
  const int Row = static_cast<int>(D->itemID);
  TPBEntry Entry{};
  PhonebookPool(*FDataPool, Phonebook)->GetEntry(Row, Entry);
  const TRowRect R{D->rcItem.left, D->rcItem.top, D->rcItem.right, D->rcItem.bottom};
  HDC Dc = D->hDC;

  const bool Selected = (D->itemState & ODS_SELECTED) != 0;
  // Phonebook 2 takes no drops.
  const TRowFill RowBack = RowFill(Selected, Phonebook == piPhonebook1 && Row == FDropIndex);
  const COLORREF Back = FillColor(RowBack);
  const COLORREF Text = RowTextHighlighted(RowBack) ? GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 0, 0);
  Fill(Dc, R.Left, R.Top, R.Right, R.Bottom, Back);
  Fill(Dc, R.Left, R.Bottom - 1, R.Right, R.Bottom, RGB(0, 0, 0));

  int TextRight = R.Right;
  if (Phonebook == piPhonebook1) {
    if (const TBitmap* Picture = PicturesPool(*FDataPool)->GetPicture(Entry.Picture - 1)) {
      const TRowPicture P = PlaceRowPicture(R, Picture->Width(), Picture->Height());
      DrawFramedPicture(Dc, *Picture, P, Selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
      TextRight = P.TextRight;
    }
  }
  if (HBITMAP Icon = NumberTypeIcon(Entry.Kind)) {
    BITMAP B{};
    GetObjectA(Icon, sizeof(B), &B);
    DrawTransparent(Dc, Icon, R.Left + RowIconIndent, RowIconTop(R, B.bmHeight));
  }

  const std::string Name = EntryText(Entry.Name), Number = EntryText(Entry.Number);
  const int Available = TextRight - (R.Left + RowTextIndent);
  HFONT NameFont = RowFont(Dc, FittedSize(Dc, Name, Available, true), true);
  HFONT NumberFont = RowFont(Dc, FittedSize(Dc, Number, Available, false), false);
  const TRowTexts T = PlaceRowTexts(R, TextSize(Dc, NameFont, "W").cy);
  SetBkMode(Dc, OPAQUE);
  SetBkColor(Dc, Back);
  SetTextColor(Dc, Text);
  HGDIOBJ Old = SelectObject(Dc, NameFont);
  TextOutA(Dc, T.Left, T.NameTop, Name.c_str(), static_cast<int>(Name.size()));
  SelectObject(Dc, NumberFont);
  TextOutA(Dc, T.Left, T.NumberTop, Number.c_str(), static_cast<int>(Number.size()));
  SelectObject(Dc, Old);
}

void TfrmMain::EditEntry(TPoolIndex Phonebook, HWND List) {
  const int Row = SelectedRow(List);
  if (Row < 0) return;
  auto* Pool = PhonebookPool(*FDataPool, Phonebook);
  Pool->GetEntry(Row, frmEdtPBItem->FEntry);
  if (frmEdtPBItem->Execute()) Pool->SetEntry(Row, frmEdtPBItem->FEntry);
}

void TfrmMain::AddEntry(TPoolIndex Phonebook) {
  frmEdtPBItem->FEntry = TPBEntry{};
  if (frmEdtPBItem->Execute()) PhonebookPool(*FDataPool, Phonebook)->AddEntry(frmEdtPBItem->FEntry);
}

void TfrmMain::DeleteEntry(TPoolIndex Phonebook, HWND List) {
  const int Row = SelectedRow(List);
  if (Row < 0) return;
  // Only No keeps the entry: closing the question through its title bar deletes.
  if (Confirm(FormatText(ResourceText(DeleteEntryTextId), ItemText(List, Row))) == caNo) return;
  PhonebookPool(*FDataPool, Phonebook)->DeleteEntry(Row);
}
