// Giving a phonebook-1 entry a picture and taking it away: the two buttons
// of phonebook 1's column, and dragging a picture from the picture list onto
// a phonebook-1 row. An entry names its picture only by slot number, so all
// three change that number through the phonebook pool, whose announcement
// rebuilds the list. While a picture is dragged, FDropIndex is the row under
// the pointer, which the row drawing shows (frm_main_phonebooks_win.cpp).
#include <windows.h>
#include <windowsx.h>

#include "drag_win.h"
#include "frm_main_win.h"
#include "list_rows_win.h"
#include "qvdp_phonebook.h"

namespace {

// Phonebook 1 takes drops only of pictures dragged from the picture list.
bool PictureDrag(const TEvent& E) {
  return E.Sender->Layout->Kind == "listbox" && E.Source && E.Source->Layout->Name == "lbxPics";
}

}  // namespace

void TfrmMain::OnPictureDragEvents() {
  On("butAssignPicClick", [this](TEvent&) { butAssignPicClick(); });
  On("butRemovePicClick", [this](TEvent&) { butRemovePicClick(); });
  On("lbxPicsMouseDown", [this](TEvent& E) {
    const int X = GET_X_LPARAM(E.LParam), Y = GET_Y_LPARAM(E.LParam);
    const bool Left = E.Msg == WM_LBUTTONDOWN || E.Msg == WM_LBUTTONDBLCLK;
    if (Left && RowAt(lbxPics, X, Y) >= 0) BeginDrag(*E.Sender, X, Y);
  });
  On("lbxPB1DragOver", [this](TEvent& E) { lbxPB1DragOver(E); });
  On("lbxPB1DragDrop", [this](TEvent& E) { lbxPB1DragDrop(E); });
  On("lbxPicsEndDrag", [this](TEvent&) {
    FDropIndex = -1;
    InvalidateRect(lbxPB1, nullptr, FALSE);
  });
}

void TfrmMain::SetEntryPicture(int Row, uint8_t Slot) {
  auto* Phonebook = static_cast<TQVDP_PHONEBOOK*>(FDataPool->Pools(piPhonebook1));
  TPBEntry Entry{};
  Phonebook->GetEntry(Row, Entry);
  Entry.Picture = Slot;
  // Announced even when the number was already Slot: phonebook 1 is marked changed.
  Phonebook->SetEntry(Row, Entry);
}

void TfrmMain::butAssignPicClick() {
  const int Row = SelectedRow(lbxPB1), Pic = SelectedRow(lbxPics);
  if (Row >= 0 && Pic >= 0) SetEntryPicture(Row, static_cast<uint8_t>(RowSlot(Pic)));
}

void TfrmMain::butRemovePicClick() {
  const int Row = SelectedRow(lbxPB1);
  if (Row >= 0) SetEntryPicture(Row, 0);
}

void TfrmMain::lbxPB1DragOver(TEvent& E) {
  if (!PictureDrag(E)) {
    E.Allow = false;
    return;
  }
  // A leaving pointer reports its last place over the list, so the last row
  // stays highlighted while the pointer is outside.
  const int Row = RowAt(lbxPB1, E.X, E.Y);
  if (Row != FDropIndex) {
    FDropIndex = Row;
    InvalidateRect(lbxPB1, nullptr, FALSE);
    UpdateWindow(lbxPB1);
  }
  E.Allow = Row >= 0;
}

void TfrmMain::lbxPB1DragDrop(TEvent& E) {
  if (!PictureDrag(E)) return;
  // The row is the one the last drag-over accepted, not the drop point nor
  // phonebook 1's selection; the press selected the dragged picture.
  const int Row = FDropIndex, Pic = SelectedRow(lbxPics);
  FDropIndex = -1;
  if (Row >= 0 && Pic >= 0) SetEntryPicture(Row, static_cast<uint8_t>(RowSlot(Pic)));
}
