// TfrmMain, the main window: the top bar, the three pages and the File menu.
// This file holds the window's controls and its start: the caption with the
// version, the single-instance handle, the deferred start after showing and
// the activation by a second instance.
#pragma once

#include <memory>

#include "form_win.h"
#include "pool_types.h"
#include "qvdp_all.h"

class TQVDP_PICTURES;
class TBitmap;

class TfrmMain : public TForm {
 public:
  TfrmMain();

  // Top bar and pages.
  HWND butProgQV{}, butReadQV{}, Image1{}, PageControl{}, TabSheet1{}, TabSheet2{}, TabSheet3{};
  // Phonebook and picture pages.
  HWND lbxPB1{}, lbxPB2{}, lbxPics{}, butEditPB1{}, butAddPB1{}, butDelPB1{}, butAssignPic{}, butRemovePic{};
  HWND butEditPB2{}, butAddPB2{}, butDelPB2{}, butAddPic{}, butDelPic{}, lblPicsTitle{};
  // Settings page.
  HWND edtSIMPIN{}, butSetSIMPIN{}, panSIMPIN{}, lblSIMPIN{}, cbxAlwaysPIN{}, rbtScroll{}, rbtSwitchFont{};
  HWND cbxEnhMode{}, cbxAccustic{}, cbxLED{}, cbxVibra{}, cbxGPS{}, edtBacklightTime{}, cbxPowersafe{};
  HWND trbIntensity{}, trbContrast{}, cbxTimezone{}, butCaptureTimezone{}, cbxLanguages{}, cbxRingtones{};
  HWND butTestMelody{};
  // File menu and its dialogs.
  UINT mnuFile{}, mnuImport{}, mnuExport{}, mnuExit{};
  TFileDialog* OpenDialog{};
  TFileDialog* SaveDialog{};

  // What the link callbacks do with the window (frm_main_link_win.cpp).
  void AttachHandling();
  void DetachHandling();
  // The user value the link callbacks are registered with: the window's handle.
  DWORD LinkUserData() const;
  // The phonebook lists (frm_main_phonebooks_win.cpp): enables the command
  // buttons of both phonebook pages and the picture list from the lists'
  // state, and clears the drop target without repainting.
  void UpdateButtons();
  // Whether the phonebook-1 entry Index names a slot that holds a picture.
  bool EntryHasPicture(int Index);

 protected:
  LRESULT HandleMessage(UINT Msg, WPARAM WParam, LPARAM LParam, bool& Handled) override;

 private:
  void FormCreate();
  void FormShow();
  void WMAfterShow();
  void WMActivateInstance();
  // Start-up and end (frm_main_startup_win.cpp).
  bool LoadDataFile();
  void SaveDataFile();
  void FormCloseQuery();
  void FormDestroy();
  // Logging off and shutting down (frm_main_session_win.cpp).
  LRESULT WMQueryEndSession();
  void WMEndSession(bool Ending);
  // The phone's clock (frm_main_link_win.cpp).
  void SyncPhoneClock();
  // The read and program buttons (frm_main_transfer_win.cpp).
  void butReadQVClick();
  void butProgQVClick();
  bool RunReadDialog();
  bool RunWriteDialog();
  // The File menu (frm_main_file_win.cpp).
  void mnuFileClick();
  void mnuImportClick();
  void mnuExportClick();
  // The pages follow the pools (frm_main_pools_win.cpp).
  void PoolChanged(TPoolIndex Index);
  // The phonebook lists' rows and commands (frm_main_phonebooks_win.cpp).
  void OnPhonebookEvents();
  void MeasurePhonebookRow(TPoolIndex Phonebook, TEvent& E);
  void DrawPhonebookRow(TPoolIndex Phonebook, TEvent& E);
  void EditEntry(TPoolIndex Phonebook, HWND List);
  void AddEntry(TPoolIndex Phonebook);
  void DeleteEntry(TPoolIndex Phonebook, HWND List);
  // Assigning and removing pictures, by button and by drag and drop
  // (frm_main_picture_drag_win.cpp).
  void OnPictureDragEvents();
  void SetEntryPicture(int Row, uint8_t Slot);
  void butAssignPicClick();
  void butRemovePicClick();
  void lbxPB1DragOver(TEvent& E);
  void lbxPB1DragDrop(TEvent& E);
  // The settings page (frm_main_settings_win.cpp).
  void OnSettingsEvents();
  void ShowSettings();
  void edtBacklightTimeChange();
  void butCaptureTimezoneClick();
  void butSetSIMPINClick();
  void butTestMelodyClick();
  void SetConfigFlag(uint8_t Bit, bool On);
  // The picture list's rows, adding and deleting pictures
  // (frm_main_pictures_win.cpp).
  void OnPictureListEvents();
  TQVDP_PICTURES& Pictures() const;
  // The slot number of a picture-list row (0: none) and the picture it shows.
  int RowSlot(int Row) const;
  const TBitmap* RowPicture(int Row) const;
  void lbxPicsMeasureItem(MEASUREITEMSTRUCT& Item);
  void lbxPicsDrawItem(const DRAWITEMSTRUCT& Item);
  void butAddPicClick();
  void butDelPicClick();

  std::unique_ptr<TQVDP_ALL> FDataPool;  // created with the window, freed when it is destroyed
  int FDropIndex = -1;     // the phonebook-1 row under a dragged picture, -1 for none
  bool FHaveData = false;  // the pools hold a data set that was loaded or read
  bool FUpdating = false;  // ShowSettings fills the settings page: its handlers store nothing
};

// The link library's attach and detach callbacks; UserData is the main
// window's handle.
void CALLBACK LinkAttached(DWORD UserData);
void CALLBACK LinkDetached(DWORD UserData);

extern TfrmMain* frmMain;
