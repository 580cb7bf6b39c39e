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
#include "pb_row_layout.h"
#include "pool_bitmap_win.h"
#include "qvdp_phonebook.h"
#include "qvdp_pictures.h"
#include "resource_texts.h"
#include "text_ids.h"

namespace {

constexpr COLORREF SelectedPictureRow = RGB(128, 0, 0);  // maroon

}  // namespace

void TfrmMain::OnPictureListEvents() {
  On("lbxPicsMeasureItem", [this](TEvent& E) { lbxPicsMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(E.LParam)); });
  On("lbxPicsDrawItem", [this](TEvent& E) { lbxPicsDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(E.LParam)); });
  On("butAddPicClick", [this](TEvent&) { butAddPicClick(); });
  On("butDelPicClick", [this](TEvent&) { butDelPicClick(); });
}

TQVDP_PICTURES& TfrmMain::Pictures() const { return *static_cast<TQVDP_PICTURES*>(FDataPool->Pools(piPictures)); }

int TfrmMain::RowSlot(int Row) const { return PictureRowSlot(Pictures().Names(), Row); }

const TBitmap* TfrmMain::RowPicture(int Row) const { return Pictures().GetPicture(RowSlot(Row) - 1); }

void TfrmMain::lbxPicsMeasureItem(MEASUREITEMSTRUCT& Item) {
  const TBitmap* Picture = RowPicture(static_cast<int>(Item.itemID));
  Item.itemHeight = static_cast<UINT>(PictureListRowHeight(Picture ? Picture->Height() : 0));
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
  const TFramedPicture Place = PlaceListPicture({R.left, R.top, R.right, R.bottom}, P->Width(), P->Height());
  DrawFramedPicture(Dc, *P, Place, Selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
}

void TfrmMain::butAddPicClick() {
  if (!frmPicCreator->Execute()) return;
  Pictures().AddPicture(frmPicCreator->GetResultBitmap());
}

void TfrmMain::butDelPicClick() {
  const int Number = RowSlot(SelectedRow(lbxPics));
  if (Number == 0) return;
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
