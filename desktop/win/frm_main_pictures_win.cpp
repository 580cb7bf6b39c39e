// The main window's picture list and its commands: rows that show each
// stored picture framed on the tooltip background (maroon when selected),
// adding a picture made in the picture editor and deleting one after the
// questions (dragging one onto phonebook 1 is frm_main_picture_drag_win.cpp).
// The list's rows follow the pool's names, one row per occupied slot, its
// text the slot number.
#include <windows.h>

#include <string>

#include "frm_main_win.h"
#include "frm_pic_creator_win.h"
#include "list_rows_win.h"
#include "message_dialogs_win.h"
#include "picture_bitmap_win.h"
#include "qvdp_phonebook.h"
#include "qvdp_pictures.h"
#include "resource_texts.h"
#include "text_ids.h"

namespace {

constexpr int PictureRowMargin = 16;  // height beyond the picture's: its frame and the separator
constexpr int EmptyPictureRowHeight = 20;
constexpr COLORREF SelectedPictureRow = RGB(128, 0, 0);  // maroon

}  // namespace

void TfrmMain::OnPictureListEvents() {
  On("lbxPicsMeasureItem", [this](TEvent& E) { lbxPicsMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(E.LParam)); });
  On("lbxPicsDrawItem", [this](TEvent& E) { lbxPicsDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(E.LParam)); });
  On("butAddPicClick", [this](TEvent&) { butAddPicClick(); });
  On("butDelPicClick", [this](TEvent&) { butDelPicClick(); });
}

TQVDP_PICTURES& TfrmMain::Pictures() const { return *static_cast<TQVDP_PICTURES*>(FDataPool->Pools(piPictures)); }

// The picture of a row of the list: its text is the slot number.
const TBitmap* TfrmMain::RowPicture(int Row) const {
  const std::vector<std::string>& Names = Pictures().Names();
  if (Row < 0 || Row >= static_cast<int>(Names.size())) return nullptr;
  return Pictures().GetPicture(std::stoi(Names[static_cast<size_t>(Row)]) - 1);
}

void TfrmMain::lbxPicsMeasureItem(MEASUREITEMSTRUCT& Item) {
  const TBitmap* Picture = RowPicture(static_cast<int>(Item.itemID));
  Item.itemHeight = Picture ? static_cast<UINT>(Picture->Height() + PictureRowMargin) : EmptyPictureRowHeight;
}

void TfrmMain::lbxPicsDrawItem(const DRAWITEMSTRUCT& Item) {
  if (Item.itemID == static_cast<UINT>(-1)) return;
  HDC Dc = Item.hDC;
  const RECT& R = Item.rcItem;
  const bool Selected = Item.itemState & ODS_SELECTED;
  HBRUSH Fill = Selected ? CreateSolidBrush(SelectedPictureRow) : GetSysColorBrush(COLOR_INFOBK);
  FillRect(Dc, &R, Fill);
  if (Selected) DeleteObject(Fill);
  HGDIOBJ OldPen = SelectObject(Dc, GetStockObject(BLACK_PEN));
  MoveToEx(Dc, R.left, R.bottom - 1, nullptr);
  LineTo(Dc, R.right, R.bottom - 1);
  SelectObject(Dc, OldPen);
  const TBitmap* P = RowPicture(static_cast<int>(Item.itemID));
  if (!P) return;
  const int W = P->Width(), Ht = P->Height();
  const int Px = R.left + (R.right - R.left - W) / 2, Py = R.top + (R.bottom - R.top - Ht) / 2;
  HPEN Pen = CreatePen(PS_SOLID, 3, Selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
  OldPen = SelectObject(Dc, Pen);
  const POINT Outline[] = {{Px - 3, Py - 3}, {Px + W + 2, Py - 3}, {Px + W + 2, Py + Ht + 2}, {Px - 3, Py + Ht + 2}, {Px - 3, Py - 3}};
  Polyline(Dc, Outline, 5);
  DeleteObject(SelectObject(Dc, OldPen));
  DrawPaletteBitmap(Dc, Px, Py, *P);
}

void TfrmMain::butAddPicClick() {
  if (!frmPicCreator->Execute()) return;
  Pictures().AddPicture(frmPicCreator->GetResultBitmap());
}

void TfrmMain::butDelPicClick() {
  const int Row = SelectedRow(lbxPics);
  const std::vector<std::string>& Names = Pictures().Names();
  if (Row < 0 || Row >= static_cast<int>(Names.size())) return;
  const int Number = std::stoi(Names[static_cast<size_t>(Row)]);
  // Closing a question through its title bar goes on, as Yes does.
  if (Confirm(ResourceText(DeletePictureTextId)) == caNo) return;
  const auto& Phonebook = *static_cast<TQVDP_PHONEBOOK*>(FDataPool->Pools(piPhonebook1));
  const int Rows = RowCount(lbxPB1);
  bool Used = false;
  for (int I = 0; I < Rows && !Used; ++I) {
    TPBEntry Entry{};
    Phonebook.GetEntry(I, Entry);
    Used = Entry.Picture == Number;
  }
  if (Used && Confirm(ResourceText(DeleteUsedPictureTextId)) == caNo) return;
  Pictures().DeletePicture(Number - 1);
}
