// A window made from its layout resource. TForm creates the window and every
// control of the layout (Windows' own controls where they fit, the layer's
// panel, label, speed button and image where not), keeps them aligned, shows
// hints as tooltips, and routes each control's events to the handler the
// layout names for them. A window class derives from TForm, binds its fields
// and handlers by name in its constructor, and calls Create: a control or
// menu item that the class binds and the layout lacks is a TLayoutError, so a
// language module that drifted from the program fails at start and in the
// smoke test, not later in a click.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "align.h"
#include "file_dialog_win.h"
#include "layout.h"

class TForm;

// One created control, the state the layer's own controls draw from.
struct TControlRecord {
  TForm* Form = nullptr;
  const TLayoutControl* Layout = nullptr;
  int Index = 0;
  HWND Handle = nullptr;  // nullptr for menu items, dialogs and image lists
  TAlign Align = alNone;
  TBounds Design{0, 0, 0, 0};
  HFONT Font = nullptr;
  COLORREF FontColor = 0;
  COLORREF Color = 0;  // background
  HBRUSH Brush = nullptr;
  HBITMAP Glyph = nullptr, GlyphDisabled = nullptr;  // owned by the form
  std::string Hint;
  std::vector<int> Children;
  bool Hot = false, Pressed = false;  // speed buttons
};

// A drag-over notification: the pointer came onto the control, moved over
// it, or left it.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// What a handler gets: the sender and the message, and what it may change.
struct TEvent {
  TForm& Form;
  TControlRecord* Sender;  // the control; the window itself for window events
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  char* Key = nullptr;    // keypress: set *Key to 0 to drop the key
  bool Allow = true;      // closequery, canresize: false refuses
  int NewWidth = 0, NewHeight = 0;  // canresize: the outer size asked for
  LRESULT Result = 0;
  // Drag and drop (drag_win.h). dragover: Allow accepts the drop.
  TControlRecord* Source = nullptr;  // dragover, dragdrop: the control the drag started from
  TControlRecord* Target = nullptr;  // enddrag: the control that took the drop, nullptr for none
  int X = 0, Y = 0;                  // dragover, dragdrop, enddrag: the pointer in the sender's client coordinates
  TDragState DragState = dsDragMove;  // dragover
};

class TForm {
 public:
  using THandler = std::function<void(TEvent&)>;

  explicit TForm(std::string LayoutName);
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  // Creates the window from the layout of the resource source, resolves the
  // bindings and runs the window's create handler. Throws TLayoutError.
  void Create();
  HWND Handle() const { return FHandle; }
  const std::string& LayoutName() const { return FLayoutName; }

  // Shows the window as the layout says (maximised, centred) without waiting.
  void Show();
  // Shows the window modally and returns when it has been closed.
  void ShowModal();
  // Closes the window as its close box does: the closequery handler may
  // refuse; the main window's close ends the message loop.
  void Close();
  bool Modal() const { return FModal; }

  TControlRecord* RecordOf(HWND Control);
  TControlRecord* RecordByName(const std::string& Name);
  // Repaints a control of the layer in new colours (a panel's or an edit's
  // background, a label's text).
  void SetControlColor(HWND Control, COLORREF Color);
  void SetFontColor(HWND Control, COLORREF Color);
  // Lays out the aligned children of a container again.
  void Realign(int Index);

  // Runs the handler the layout binds to the sender's Event ("click" for
  // on.click); false when there is none.
  bool Dispatch(TEvent& E, const char* Event);
  // Tears the window down while the derived window's handlers still exist;
  // the owner calls it before deleting the object.
  void Destroy();

  static TForm* FromHandle(HWND Window);
  static TForm* MainForm();

 protected:
  struct TControlBinding {
    const char* Name;
    HWND& Field;
  };
  void BindControl(const char* Name, HWND& Field);
  void BindControls(std::initializer_list<TControlBinding> Bindings);
  void BindMenuItem(const char* Name, UINT& Id);
  void BindDialog(const char* Name, TFileDialog*& Field);
  void On(const char* HandlerName, THandler Handler);
  // Messages of the window class itself (WM_AFTERSHOW ...); Handled false
  // passes the message on to the layer.
  virtual LRESULT HandleMessage(UINT Msg, WPARAM WParam, LPARAM LParam, bool& Handled);

 private:
  struct TPending {
    std::string Name;
    HWND* Control;
    UINT* MenuId;
    TFileDialog** Dialog;
  };
  static LRESULT CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT WindowProc(UINT Msg, WPARAM WParam, LPARAM LParam);
  void CreateControl(int Index);
  void CreateMenu(int Index);
  void AddTooltip(TControlRecord& R);
  void ApplyProperties(TControlRecord& R);
  void SelectPage(HWND PageControl);
  void CentreOnScreen();
  HFONT FontFor(const std::string& Text);
  bool Fire(TControlRecord& R, const char* Event, UINT Msg, WPARAM WParam, LPARAM LParam, TEvent* Out = nullptr);
  void ResolveBindings();

  std::string FLayoutName;
  TLayout FLayout;
  HWND FHandle = nullptr;
  HWND FTooltip = nullptr;
  HMENU FMenu = nullptr;
  std::vector<std::unique_ptr<TControlRecord>> FRecords;  // by layout index
  std::map<std::string, HFONT> FFonts;
  std::vector<std::unique_ptr<TFileDialog>> FDialogs;
  std::map<int, HIMAGELIST> FImageLists;  // by layout index
  std::vector<TPending> FPending;
  std::map<std::string, THandler> FHandlers;
  bool FModal = false, FModalDone = false;
  RECT FLastRect{};
};

// Runs the thread's message loop until the application is told to end.
void RunMessageLoop();
// Tells the application to end: the message loop stops once the running
// handler returns.
void TerminateApplication();
