// The controls of the started program's windows, for the tests that use the
// program as a user would: a control is found by its name in the window's
// layout (the generated layout gives its control id), clicked by a posted
// click (a click that opens a modal dialog must not block the test), and read
// with the wide messages, which Wine marshals across processes correctly
// (LB_GETTEXT in the ANSI form writes UTF-16 there). The message dialogs and
// the common file dialogs are found by their captions.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The control id of control Name in the German layout Form ("TFRMMAIN").
int LayoutControlId(const std::string& Form, const std::string& Name);
// The control Name of the window Window made from layout Form; nullptr when
// it is not there.
HWND LayoutControl(HWND Window, const std::string& Form, const std::string& Name);
// The command id of a menu item of layout Form.
inline int MenuCommand(const std::string& Form, const std::string& Name) { return LayoutControlId(Form, Name); }

void PostClick(HWND Control);
// Selects Row of a list box or Index of a drop-down list and tells the
// parent, as the user's choice does (the selection message alone notifies
// no one).
void SelectListRow(HWND List, int Row);
void SelectComboItem(HWND Combo, int Index);
// Moves a slider to Position with the notification a drag sends.
void MoveSlider(HWND Slider, int Position);
// Posts the characters of Keys to Control as typed keys.
void TypeKeys(HWND Control, const std::string& Keys);
// The colour on the screen at client point X, Y of Control.
COLORREF PixelAt(HWND Control, int X, int Y);
// Saves what the screen shows of Window as a 24-bit BMP file.
void SaveScreenshot(HWND Window, const std::string& FileName);
void PostCommand(HWND Window, int Id);
bool Visible(HWND Control);
bool Enabled(HWND Control);
bool Checked(HWND Button);
bool Focused(HWND Control);  // has the keyboard focus of its thread
// The items of a list box or a drop-down list.
std::vector<std::wstring> ListItems(HWND List);
int ProgressPosition(HWND Bar);

// A visible top-level window of process Process whose caption is Caption.
HWND TopLevelWindow(DWORD Process, const std::wstring& Caption);
// The text of a message dialog (caption "Fehler", "Bestätigung" or the
// program's title) and its buttons.
std::wstring DialogText(HWND Dialog);
// Clicks ButtonId (IDOK, IDYES, IDNO, IDCANCEL); a fatal failure when the
// dialog (perhaps a failed wait's nullptr) or the button is missing.
void AnswerDialog(HWND Dialog, int ButtonId);
// Puts FileName into a common file dialog and presses its OK button.
void ChooseFile(HWND FileDialog, const std::string& FileName);

// Code page 1252 text as the program's windows show it.
std::wstring Wide(const std::string& Text);
