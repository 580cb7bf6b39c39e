// TForm: windows from layouts. See form_win.h for what it is for; the notes
// here say why the less obvious parts are built as they are.
#include "form_win.h"

#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>

#include "controls_win.h"
#include "cursor_win.h"
#include "resource_source_win.h"
#include "scroll_box_win.h"
#include "style.h"

namespace {

const char* const FormClass = "QVForm";
TForm* TheMainForm = nullptr;  // the first window created; closing it ends the run

const char* const Prop = "QVRecord";

struct TKind {
  const char* Kind;
  const char* Class;
  DWORD Style;
  DWORD ExStyle;
};

// Windows' own controls where they fit, the layer's where not. Every child
// clips its siblings so that a control lying over others (ontop=1) paints
// cleanly.
const TKind Kinds[] = {
    {"panel", PanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT},
    {"groupbox", PanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT},
    {"tabsheet", PanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT},
    {"label", LabelClass, 0, 0},
    {"speedbutton", SpeedButtonClass, 0, 0},
    {"image", ImageClass, 0, 0},
    {"scrollbox", ScrollBoxClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT | WS_EX_CLIENTEDGE},
    {"button", "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {"checkbox", "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    {"radiobutton", "BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0},
    {"edit", "EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {"listbox", "LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {"combobox", "COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {"trackbar", TRACKBAR_CLASSA, TBS_HORZ | WS_TABSTOP, 0},
    {"progressbar", PROGRESS_CLASSA, 0, 0},
    {"pagecontrol", WC_TABCONTROLA, WS_CLIPCHILDREN | WS_TABSTOP, WS_EX_CONTROLPARENT},
};

const TKind* KindOf(const std::string& Kind) {
  for (const TKind& K : Kinds)
    if (Kind == K.Kind) return &K;
  return nullptr;
}

bool IsNonWindow(const std::string& Kind) {
  return Kind == "mainmenu" || Kind == "menuitem" || Kind == "opendialog" || Kind == "savedialog" ||
         Kind == "imagelist";
}

// Kinds that show their parent's background rather than a colour of their own.
bool TakesParentColor(const std::string& Kind) {
  return Kind == "label" || Kind == "checkbox" || Kind == "radiobutton" || Kind == "image" ||
         Kind == "speedbutton" || Kind == "trackbar" || Kind == "groupbox";
}

COLORREF ColorValue(const TLayoutColor& C) { return C.System ? GetSysColor(C.SystemIndex) : C.Rgb; }

std::vector<std::string> SplitItems(const std::string& Items) {
  std::vector<std::string> Out;
  size_t Start = 0;
  for (;;) {
    const size_t End = Items.find('|', Start);
    Out.push_back(Items.substr(Start, End - Start));
    if (End == std::string::npos) return Out;
    Start = End + 1;
  }
}

TControlRecord* RecordProp(HWND W) { return static_cast<TControlRecord*>(GetPropA(W, Prop)); }

// The tab control places its pages and passes their notifications on; the
// edits and lists that bind keys or mouse presses report them.
LRESULT CALLBACK ControlSubclass(HWND W, UINT Msg, WPARAM WP, LPARAM LP, UINT_PTR, DWORD_PTR Data) {
  auto* R = reinterpret_cast<TControlRecord*>(Data);
  switch (Msg) {
    case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM: case WM_MEASUREITEM: case WM_HSCROLL:
    case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT:
      if (R->Layout->Kind == "pagecontrol") return SendMessageA(R->Form->Handle(), Msg, WP, LP);
      break;
    case WM_SIZE:
      if (R->Layout->Kind == "pagecontrol") {
        const LRESULT Result = DefSubclassProc(W, Msg, WP, LP);
        R->Form->Realign(R->Index);
        return Result;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(W, ControlSubclass, 1);
      break;
  }
  return DefSubclassProc(W, Msg, WP, LP);
}

// Children notified by their container's resize would not see a control
// appear or disappear; alignment skips hidden controls, so redo it then.
LRESULT CALLBACK VisibilitySubclass(HWND W, UINT Msg, WPARAM WP, LPARAM LP, UINT_PTR, DWORD_PTR Data) {
  auto* R = reinterpret_cast<TControlRecord*>(Data);
  if (Msg == WM_WINDOWPOSCHANGED) {
    const auto* Pos = reinterpret_cast<const WINDOWPOS*>(LP);
    if ((Pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) && R->Layout->Parent >= 0)
      R->Form->Realign(R->Layout->Parent);
  } else if (Msg == WM_NCDESTROY) {
    RemoveWindowSubclass(W, VisibilitySubclass, 2);
  }
  return DefSubclassProc(W, Msg, WP, LP);
}

LRESULT CALLBACK InputSubclass(HWND W, UINT Msg, WPARAM WP, LPARAM LP, UINT_PTR, DWORD_PTR Data);

}  // namespace

TForm::TForm(std::string LayoutName) : FLayoutName(std::move(LayoutName)) {}

TForm::~TForm() {
  FHandlers.clear();
  if (FHandle && IsWindow(FHandle)) DestroyWindow(FHandle);
  if (TheMainForm == this) TheMainForm = nullptr;
  for (auto& R : FRecords) {
    if (R->Brush) DeleteObject(R->Brush);
    if (R->Glyph) DeleteObject(R->Glyph);
    if (R->GlyphDisabled) DeleteObject(R->GlyphDisabled);
  }
  for (auto& F : FFonts) DeleteObject(F.second);
  for (auto& L : FImageLists) ImageList_Destroy(L.second);
}

TForm* TForm::FromHandle(HWND Window) {
  TControlRecord* R = RecordProp(Window);
  return R && R->Index == 0 ? R->Form : nullptr;
}

TForm* TForm::MainForm() { return TheMainForm; }

void TForm::BindControl(const char* Name, HWND& Field) { FPending.push_back({Name, &Field, nullptr, nullptr}); }
void TForm::BindControls(std::initializer_list<TControlBinding> Bindings) {
  for (const TControlBinding& B : Bindings) BindControl(B.Name, B.Field);
}
void TForm::BindMenuItem(const char* Name, UINT& Id) { FPending.push_back({Name, nullptr, &Id, nullptr}); }
void TForm::BindDialog(const char* Name, TFileDialog*& Field) { FPending.push_back({Name, nullptr, nullptr, &Field}); }
void TForm::On(const char* HandlerName, THandler Handler) { FHandlers[HandlerName] = std::move(Handler); }

LRESULT TForm::HandleMessage(UINT, WPARAM, LPARAM, bool& Handled) {
  Handled = false;
  return 0;
}

HFONT TForm::FontFor(const std::string& Text) {
  auto It = FFonts.find(Text);
  if (It != FFonts.end()) return It->second;
  const TLayoutFont F = ParseFont(Text);
  HDC Dc = GetDC(nullptr);
  const int Height = F.SizeInPixels ? -F.Size : -MulDiv(F.Size, GetDeviceCaps(Dc, LOGPIXELSY), 72);
  ReleaseDC(nullptr, Dc);
  HFONT Font = CreateFontA(Height, 0, 0, 0, F.Bold ? FW_BOLD : FW_NORMAL, F.Italic, F.Underline, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, F.Name.c_str());
  FFonts[Text] = Font;
  return Font;
}

TControlRecord* TForm::RecordOf(HWND Control) {
  TControlRecord* R = RecordProp(Control);
  return R && R->Form == this ? R : nullptr;
}

TControlRecord* TForm::RecordByName(const std::string& Name) {
  const int I = FLayout.Find(Name);
  return I < 0 ? nullptr : FRecords[I].get();
}

void TForm::Create() {
  static const bool Registered = [] {
    INITCOMMONCONTROLSEX Icc{sizeof(Icc), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&Icc);
    RegisterControlClasses();
    WNDCLASSA Wc{};
    Wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    Wc.lpfnWndProc = FormProc;
    Wc.hInstance = GetModuleHandleA(nullptr);
    Wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    Wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    Wc.lpszClassName = FormClass;
    return RegisterClassA(&Wc) != 0;
  }();
  (void)Registered;
  FLayout = LoadLayoutResource(FLayoutName);
  for (size_t I = 0; I < FLayout.Controls.size(); ++I) {
    auto R = std::make_unique<TControlRecord>();
    R->Form = this;
    R->Layout = &FLayout.Controls[I];
    R->Index = static_cast<int>(I);
    if (!ParseAlign(R->Layout->Prop("align"), R->Align))
      throw TLayoutError("layout " + FLayoutName + ": " + R->Layout->Name + ": unknown align " + R->Layout->Prop("align"));
    R->Design = {R->Layout->IntProp("left", 0), R->Layout->IntProp("top", 0), R->Layout->IntProp("width", 0),
                 R->Layout->IntProp("height", 0)};
    if (R->Layout->Parent >= 0) FRecords[R->Layout->Parent]->Children.push_back(R->Index);
    // Font, font colour and background are inherited from the parent unless given.
    const TControlRecord* P = R->Layout->Parent >= 0 ? FRecords[R->Layout->Parent].get() : nullptr;
    const std::string& FontSpec = R->Layout->Prop("font");
    R->Font = !FontSpec.empty() ? FontFor(FontSpec) : P ? P->Font : FontFor("MS Sans Serif,8");
    const std::string& FontColor = R->Layout->Prop("fontcolor");
    R->FontColor = !FontColor.empty() ? ColorValue(ParseColor(FontColor)) : P ? P->FontColor : GetSysColor(COLOR_WINDOWTEXT);
    const std::string& Color = R->Layout->Prop("color");
    R->Color = !Color.empty() ? ColorValue(ParseColor(Color))
               : P && TakesParentColor(R->Layout->Kind) ? P->Color
                                                         : GetSysColor(COLOR_BTNFACE);
    R->Brush = CreateSolidBrush(R->Color);
    R->Hint = R->Layout->Prop("hint");
    FRecords.push_back(std::move(R));
  }
  // Menus, dialogs and image lists first: the window's size depends on its
  // menu, and the page control takes its image list when it is made.
  for (size_t I = 1; I < FRecords.size(); ++I) {
    const std::string& Kind = FRecords[I]->Layout->Kind;
    if (Kind == "mainmenu") CreateMenu(static_cast<int>(I));
    else if (Kind == "opendialog" || Kind == "savedialog") FDialogs.push_back(std::make_unique<TFileDialog>(*FRecords[I]->Layout));
    else if (Kind == "imagelist") {
      const TLayoutControl& L = *FRecords[I]->Layout;
      HIMAGELIST List = ImageList_Create(L.IntProp("width", 16), L.IntProp("height", 16), ILC_COLOR24 | ILC_MASK, 4, 4);
      if (HBITMAP Strip = LoadPicture(L.Prop("picture"))) {
        HDC Mem = CreateCompatibleDC(nullptr);
        HGDIOBJ Old = SelectObject(Mem, Strip);
        BITMAP B;
        GetObjectA(Strip, sizeof(B), &B);
        const COLORREF Key = GetPixel(Mem, 0, B.bmHeight - 1);
        SelectObject(Mem, Old);
        DeleteDC(Mem);
        ImageList_AddMasked(List, Strip, Key);
        DeleteObject(Strip);
      }
      FImageLists[static_cast<int>(I)] = List;
    } else if (!IsNonWindow(Kind) && !KindOf(Kind)) {
      throw TLayoutError("layout " + FLayoutName + ": " + FRecords[I]->Layout->Name + ": unknown kind " + Kind);
    }
  }
  const TLayoutControl& L = FLayout.Controls[0];
  const std::string& Border = L.Prop("border", "sizeable");
  DWORD Style = WS_CLIPCHILDREN, ExStyle = WS_EX_CONTROLPARENT;
  if (Border == "dialog") Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU, ExStyle |= WS_EX_DLGMODALFRAME;
  else if (Border == "dialog-nobuttons") Style |= WS_POPUP | WS_CAPTION, ExStyle |= WS_EX_DLGMODALFRAME;
  else Style |= WS_OVERLAPPEDWINDOW;
  RECT Rc{0, 0, L.IntProp("width", 400), L.IntProp("height", 300)};
  if (L.Props.count("clientwidth")) {
    Rc = {0, 0, L.IntProp("clientwidth", 0), L.IntProp("clientheight", 0)};
    AdjustWindowRectEx(&Rc, Style, FMenu != nullptr, ExStyle);
  }
  const int W = Rc.right - Rc.left, H = Rc.bottom - Rc.top;
  RECT Work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &Work, 0);
  const bool Center = L.Prop("position") == "screencenter";
  const int X = Center ? Work.left + (Work.right - Work.left - W) / 2 : CW_USEDEFAULT;
  const int Y = Center ? Work.top + (Work.bottom - Work.top - H) / 2 : CW_USEDEFAULT;
  HWND Owner = TheMainForm ? TheMainForm->Handle() : nullptr;
  FHandle = CreateWindowExA(ExStyle, FormClass, L.Prop("caption").c_str(), Style, X, Y, W, H, Owner, FMenu,
                            GetModuleHandleA(nullptr), this);
  if (!FHandle) throw TLayoutError("layout " + FLayoutName + ": window not created (error " + std::to_string(GetLastError()) + ")");
  if (!TheMainForm) TheMainForm = this;
  FRecords[0]->Handle = FHandle;
  SetPropA(FHandle, Prop, FRecords[0].get());
  GetWindowRect(FHandle, &FLastRect);
  FTooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, FHandle,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  for (size_t I = 1; I < FRecords.size(); ++I)
    if (!IsNonWindow(FRecords[I]->Layout->Kind)) CreateControl(static_cast<int>(I));
  // Every container once, parents first: one that is not aligned itself gets
  // no resize from its parent that would place its aligned children.
  for (size_t I = 0; I < FRecords.size(); ++I)
    if (!FRecords[I]->Children.empty()) Realign(static_cast<int>(I));
  ResolveBindings();
  Fire(*FRecords[0], "create", 0, 0, 0);
}

void TForm::CreateMenu(int Index) {
  // Items with items of their own are pop-ups; "-" is a separator.
  std::function<HMENU(int, bool)> Build = [&](int Parent, bool Bar) {
    HMENU Menu = Bar ? ::CreateMenu() : CreatePopupMenu();
    for (int Child : FRecords[Parent]->Children) {
      const TControlRecord& C = *FRecords[Child];
      const std::string& Caption = C.Layout->Prop("caption");
      if (!C.Children.empty())
        AppendMenuA(Menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(Build(Child, false)), Caption.c_str());
      else if (Caption == "-")
        AppendMenuA(Menu, MF_SEPARATOR, 0, nullptr);
      else
        AppendMenuA(Menu, MF_STRING, C.Layout->Id, Caption.c_str());
    }
    return Menu;
  };
  FMenu = Build(Index, true);
}

void TForm::CreateControl(int Index) {
  TControlRecord& R = *FRecords[Index];
  const TLayoutControl& L = *R.Layout;
  const TKind& K = *KindOf(L.Kind);
  HWND Parent = FRecords[L.Parent]->Handle;
  DWORD Style = WS_CHILD | WS_CLIPSIBLINGS | K.Style;
  if (L.Kind == "listbox" && L.Prop("ownerdraw") == "variable") Style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
  if (L.Kind == "checkbox" && L.BoolProp("leftcaption", false)) Style |= BS_LEFTTEXT | BS_RIGHTBUTTON;
  if (L.Kind == "edit" && L.Props.count("passwordchar")) Style |= ES_PASSWORD;
  if (L.Kind == "trackbar") {
    Style |= L.Prop("ticks") == "bottom" ? TBS_AUTOTICKS | TBS_BOTTOM : TBS_NOTICKS;
    if (!L.BoolProp("tabstop", true)) Style &= ~WS_TABSTOP;
  }
  if (L.Kind == "pagecontrol" && L.BoolProp("hottrack", false)) Style |= TCS_HOTTRACK;
  if (L.Prop("borderstyle") == "single") Style |= WS_BORDER;
  // The first radio button of a parent starts its group, so the buttons of one
  // parent exclude each other and no others.
  if (L.Kind == "radiobutton") {
    const auto& Siblings = FRecords[L.Parent]->Children;
    const auto First = std::find_if(Siblings.begin(), Siblings.end(),
                                    [&](int S) { return FRecords[S]->Layout->Kind == "radiobutton"; });
    if (*First == Index) Style |= WS_GROUP;
  }
  int Height = R.Design.Height;
  if (L.Kind == "combobox") Height += L.IntProp("dropdowncount", 8) * 16;  // the dropped-down list
  const bool Own = K.Class == PanelClass || K.Class == LabelClass || K.Class == SpeedButtonClass || K.Class == ImageClass;
  R.Handle = CreateWindowExA(K.ExStyle, K.Class, "", Style, R.Design.Left, R.Design.Top, R.Design.Width, Height,
                             Parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(L.Id)), GetModuleHandleA(nullptr),
                             Own ? &R : nullptr);
  if (!R.Handle)
    throw TLayoutError("layout " + FLayoutName + ": " + L.Name + " not created (error " + std::to_string(GetLastError()) + ")");
  SetPropA(R.Handle, Prop, &R);
  if (L.Kind == "pagecontrol") SetWindowSubclass(R.Handle, ControlSubclass, 1, reinterpret_cast<DWORD_PTR>(&R));
  if (L.Kind == "panel" || L.Kind == "pagecontrol" || L.Kind == "groupbox")
    SetWindowSubclass(R.Handle, VisibilitySubclass, 2, reinterpret_cast<DWORD_PTR>(&R));
  if (L.Props.count("on.keypress") || L.Props.count("on.mousedown"))
    SetWindowSubclass(R.Handle, InputSubclass, 3, reinterpret_cast<DWORD_PTR>(&R));
  ApplyProperties(R);
  if (L.BoolProp("ontop", false)) SetWindowPos(R.Handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  const int TabOrder = L.IntProp("taborder", -1);
  if (TabOrder >= 0) {
    // Tab order is the order of the siblings: put this control after the ones
    // with a lower tab order.
    HWND After = HWND_TOP;
    for (int S : FRecords[L.Parent]->Children) {
      const TControlRecord& Sib = *FRecords[S];
      if (Sib.Handle && S != Index && Sib.Layout->IntProp("taborder", -1) >= 0 && Sib.Layout->IntProp("taborder", -1) < TabOrder)
        After = Sib.Handle;
    }
    SetWindowPos(R.Handle, After, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (L.Kind == "tabsheet") {
    TCITEMA Item{};
    Item.mask = TCIF_TEXT | TCIF_IMAGE;
    std::string Caption = L.Prop("caption");
    Item.pszText = &Caption[0];
    Item.iImage = L.IntProp("imageindex", -1);
    const int Count = static_cast<int>(SendMessageA(Parent, TCM_GETITEMCOUNT, 0, 0));
    SendMessageA(Parent, TCM_INSERTITEMA, Count, reinterpret_cast<LPARAM>(&Item));
  }
  const bool FirstPage = L.Kind != "tabsheet" || SendMessageA(Parent, TCM_GETITEMCOUNT, 0, 0) == 1;
  if (L.BoolProp("visible", true) && FirstPage) ShowWindow(R.Handle, SW_SHOWNA);
  if (!R.Hint.empty()) AddTooltip(R);
}

void TForm::ApplyProperties(TControlRecord& R) {
  const TLayoutControl& L = *R.Layout;
  HWND W = R.Handle;
  SendMessageA(W, WM_SETFONT, reinterpret_cast<WPARAM>(R.Font), FALSE);
  if (L.Props.count("caption")) SetWindowTextA(W, L.Prop("caption").c_str());
  if (L.Props.count("items")) {
    const UINT Add = L.Kind == "combobox" ? CB_ADDSTRING : LB_ADDSTRING;
    for (const std::string& Item : SplitItems(L.Prop("items"))) SendMessageA(W, Add, 0, reinterpret_cast<LPARAM>(Item.c_str()));
  }
  if (L.Props.count("maxlength")) SendMessageA(W, EM_LIMITTEXT, L.IntProp("maxlength", 0), 0);
  if (L.Props.count("passwordchar")) SendMessageA(W, EM_SETPASSWORDCHAR, static_cast<unsigned char>(L.Prop("passwordchar")[0]), 0);
  if (L.Kind == "trackbar") {
    SendMessageA(W, TBM_SETRANGEMIN, FALSE, L.IntProp("min", 0));
    SendMessageA(W, TBM_SETRANGEMAX, FALSE, L.IntProp("max", 10));
    SendMessageA(W, TBM_SETTICFREQ, L.IntProp("frequency", 1), 0);
    SendMessageA(W, TBM_SETPOS, TRUE, L.IntProp("position", L.IntProp("min", 0)));
  }
  if (L.Kind == "progressbar") SendMessageA(W, PBM_SETRANGE32, L.IntProp("min", 0), L.IntProp("max", 100));
  if (L.Kind == "pagecontrol") {
    const int ListIndex = FLayout.Find(L.Prop("images"));
    if (ListIndex >= 0)
      SendMessageA(W, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImageLists.at(ListIndex)));
    if (L.Props.count("tabheight")) SendMessageA(W, TCM_SETITEMSIZE, 0, MAKELPARAM(0, L.IntProp("tabheight", 0)));
  }
  if (L.Props.count("glyph")) R.Glyph = LoadPicture(L.Prop("glyph"));
  if (L.Props.count("glyphdisabled")) R.GlyphDisabled = LoadPicture(L.Prop("glyphdisabled"));
  if (L.Kind == "image" && L.Props.count("picture")) {
    // The image control does not own its picture; the record does, as a glyph.
    R.Glyph = LoadPicture(L.Prop("picture"));
    SetImagePicture(W, R.Glyph);
  }
  if (L.Kind == "label") AutoSizeLabel(W);
  if (!L.BoolProp("enabled", true)) EnableWindow(W, FALSE);
}

void TForm::AddTooltip(TControlRecord& R) {
  TTTOOLINFOA Info{};
  Info.cbSize = sizeof(Info);
  Info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  Info.hwnd = FHandle;
  Info.uId = reinterpret_cast<UINT_PTR>(R.Handle);
  Info.lpszText = &R.Hint[0];
  SendMessageA(FTooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&Info));
}

void TForm::ResolveBindings() {
  for (const TPending& P : FPending) {
    const int I = FLayout.Find(P.Name);
    const std::string Kind = I < 0 ? "" : FLayout.Controls[I].Kind;
    const bool Fits = I >= 0 && (P.Control ? FRecords[I]->Handle != nullptr
                                 : P.MenuId ? Kind == "menuitem"
                                            : Kind == "opendialog" || Kind == "savedialog");
    if (!Fits) throw TLayoutError("layout " + FLayoutName + ": the program needs " + P.Name + ", the layout has " +
                                  (I < 0 ? std::string("no such control") : "it as a " + Kind));
    if (P.Control) *P.Control = FRecords[I]->Handle;
    if (P.MenuId) *P.MenuId = FRecords[I]->Layout->Id;
    if (P.Dialog) {
      int DialogIndex = 0;
      for (int J = 1; J < I; ++J)
        if (FLayout.Controls[J].Kind == "opendialog" || FLayout.Controls[J].Kind == "savedialog") ++DialogIndex;
      *P.Dialog = FDialogs[DialogIndex].get();
    }
  }
  FPending.clear();
}

void TForm::Realign(int Index) {
  TControlRecord& C = *FRecords[Index];
  if (!C.Handle) return;
  RECT Rc;
  if (C.Layout->Kind == "pagecontrol") {
    GetClientRect(C.Handle, &Rc);
    SendMessageA(C.Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&Rc));
    for (int Child : C.Children)
      MoveWindow(FRecords[Child]->Handle, Rc.left, Rc.top, Rc.right - Rc.left, Rc.bottom - Rc.top, TRUE);
    return;
  }
  Rc = Index == 0 ? RECT{} : ContainerClientRect(C.Handle);
  if (Index == 0) GetClientRect(C.Handle, &Rc);
  std::vector<TAlignItem> Items;
  std::vector<int> Which;
  for (int Child : C.Children) {
    TControlRecord& R = *FRecords[Child];
    if (!R.Handle || R.Align == alNone || !(GetWindowLongPtrA(R.Handle, GWL_STYLE) & WS_VISIBLE)) continue;
    Items.push_back({R.Align, R.Design});
    Which.push_back(Child);
  }
  if (Items.empty()) return;
  AlignItems({Rc.left, Rc.top, Rc.right - Rc.left, Rc.bottom - Rc.top}, Items);
  for (size_t I = 0; I < Items.size(); ++I) {
    const TBounds& B = Items[I].Bounds;
    SetWindowPos(FRecords[Which[I]]->Handle, nullptr, B.Left, B.Top, B.Width, B.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TForm::SetControlColor(HWND Control, COLORREF Color) {
  if (TControlRecord* R = RecordOf(Control)) {
    DeleteObject(R->Brush);
    R->Color = Color;
    R->Brush = CreateSolidBrush(Color);
    InvalidateRect(Control, nullptr, TRUE);
  }
}

void TForm::SetFontColor(HWND Control, COLORREF Color) {
  if (TControlRecord* R = RecordOf(Control)) {
    R->FontColor = Color;
    InvalidateRect(Control, nullptr, TRUE);
  }
}

void TForm::SelectPage(HWND PageControl) {
  TControlRecord* R = RecordOf(PageControl);
  const int Selected = static_cast<int>(SendMessageA(PageControl, TCM_GETCURSEL, 0, 0));
  for (size_t I = 0; I < R->Children.size(); ++I)
    ShowWindow(FRecords[R->Children[I]]->Handle, static_cast<int>(I) == Selected ? SW_SHOW : SW_HIDE);
}

bool TForm::Dispatch(TEvent& E, const char* Event) {
  const std::string& Name = E.Sender->Layout->Prop(std::string("on.") + Event);
  if (Name.empty()) return false;
  const auto It = FHandlers.find(Name);
  if (It == FHandlers.end()) return false;
  It->second(E);
  return true;
}

bool TForm::Fire(TControlRecord& R, const char* Event, UINT Msg, WPARAM WParam, LPARAM LParam, TEvent* Out) {
  TEvent E{*this, &R, Msg, WParam, LParam};
  const bool Handled = Dispatch(E, Event);
  if (Out) {
    Out->Allow = E.Allow;
    Out->Result = E.Result;
  }
  return Handled;
}

namespace {

LRESULT CALLBACK InputSubclass(HWND W, UINT Msg, WPARAM WP, LPARAM LP, UINT_PTR, DWORD_PTR Data) {
  auto* R = reinterpret_cast<TControlRecord*>(Data);
  if (Msg == WM_CHAR && R->Layout->Props.count("on.keypress")) {
    char Key = static_cast<char>(WP);
    TEvent E{*R->Form, R, Msg, WP, LP};
    E.Key = &Key;
    R->Form->Dispatch(E, "keypress");
    if (!Key) return 0;
    WP = static_cast<unsigned char>(Key);
  } else if ((Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN) && R->Layout->Props.count("on.mousedown")) {
    // The control's own handling first (a list selects the row pressed), so
    // the handler sees its result and may arm a drag.
    const LRESULT Own = DefSubclassProc(W, Msg, WP, LP);
    TEvent E{*R->Form, R, Msg, WP, LP};
    R->Form->Dispatch(E, "mousedown");
    return Own;
  } else if (R->Form->Dragging(*R) && (Msg == WM_MOUSEMOVE || Msg == WM_LBUTTONUP)) {
    // While a drag is armed the control does not track the mouse itself.
    const POINT P{GET_X_LPARAM(LP), GET_Y_LPARAM(LP)};
    if (Msg == WM_MOUSEMOVE) {
      R->Form->DragMove(P);
      return 0;
    }
    R->Form->DragEnd(P, true);
  } else if (Msg == WM_CAPTURECHANGED && R->Form->Dragging(*R) && reinterpret_cast<HWND>(LP) != W) {
    R->Form->DragEnd(POINT{0, 0}, false);
  } else if (Msg == WM_NCDESTROY) {
    RemoveWindowSubclass(W, InputSubclass, 3);
  }
  return DefSubclassProc(W, Msg, WP, LP);
}

}  // namespace

void TForm::Destroy() {
  if (FHandle && IsWindow(FHandle)) DestroyWindow(FHandle);
  FHandlers.clear();
}

void TForm::Show() {
  const TLayoutControl& L = FLayout.Controls[0];
  const bool Maximized = L.Prop("state") == "maximized";
  // Centred when shown, not only when made: a creation handler may have sized
  // the window to its texts since.
  if (!Maximized && L.Prop("position") == "screencenter") {
    RECT Work, Rc;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &Work, 0);
    GetWindowRect(FHandle, &Rc);
    SetWindowPos(FHandle, nullptr, Work.left + (Work.right - Work.left - (Rc.right - Rc.left)) / 2,
                 Work.top + (Work.bottom - Work.top - (Rc.bottom - Rc.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(FHandle, Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  UpdateWindow(FHandle);
}

void TForm::ShowModal() {
  // The main window (and only it) is disabled meanwhile, as a modal dialog's
  // owner is; a WM_QUIT that arrives during the dialog ends it and is passed on.
  HWND Owner = TheMainForm && TheMainForm != this ? TheMainForm->Handle() : nullptr;
  const bool OwnerWasEnabled = Owner && IsWindowEnabled(Owner);
  if (OwnerWasEnabled) EnableWindow(Owner, FALSE);
  FModal = true;
  FModalDone = false;
  Show();
  SetActiveWindow(FHandle);
  MSG Msg;
  bool Quit = false;
  while (!FModalDone) {
    // Not GetMessage: a close from a sent message (a link callback) is run
    // inside it, and it would go on waiting for a posted message.
    if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!FModalDone) MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      continue;
    }
    if (Msg.message == WM_QUIT) {
      Quit = true;
      break;
    }
    if (!IsDialogMessageA(FHandle, &Msg)) {
      TranslateMessage(&Msg);
      DispatchMessageA(&Msg);
    }
  }
  FModal = false;
  if (OwnerWasEnabled) EnableWindow(Owner, TRUE);
  ShowWindow(FHandle, SW_HIDE);
  if (Owner) SetActiveWindow(Owner);
  if (Quit) PostQuitMessage(static_cast<int>(Msg.wParam));
}

void TForm::Close() { SendMessageA(FHandle, WM_CLOSE, 0, 0); }

LRESULT CALLBACK TForm::FormProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  if (Msg == WM_NCCREATE) {
    auto* Self = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTA*>(LP)->lpCreateParams);
    SetWindowLongPtrA(W, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Self));
    Self->FHandle = W;
  }
  auto* Self = reinterpret_cast<TForm*>(GetWindowLongPtrA(W, GWLP_USERDATA));
  return Self && !Self->FRecords.empty() ? Self->WindowProc(Msg, WP, LP) : DefWindowProcA(W, Msg, WP, LP);
}

LRESULT TForm::WindowProc(UINT Msg, WPARAM WP, LPARAM LP) {
  bool Handled = true;
  const LRESULT Own = HandleMessage(Msg, WP, LP, Handled);
  if (Handled) return Own;
  TControlRecord& Self = *FRecords[0];
  switch (Msg) {
    case WM_COMMAND: {
      if (LP == 0) {  // a menu item
        for (auto& R : FRecords)
          if (R->Layout->Kind == "menuitem" && R->Layout->Id == LOWORD(WP)) Fire(*R, "click", Msg, WP, LP);
        return 0;
      }
      TControlRecord* R = RecordOf(reinterpret_cast<HWND>(LP));
      if (!R) break;
      const std::string& Kind = R->Layout->Kind;
      const WORD Code = HIWORD(WP);
      if (Code == BN_CLICKED && (Kind == "button" || Kind == "checkbox" || Kind == "radiobutton" || Kind == "speedbutton"))
        Fire(*R, "click", Msg, WP, LP);
      else if ((Code == EN_CHANGE && Kind == "edit") || (Code == CBN_SELCHANGE && Kind == "combobox"))
        Fire(*R, "change", Msg, WP, LP);
      else if (Code == LBN_SELCHANGE && Kind == "listbox")
        Fire(*R, "click", Msg, WP, LP);
      else if (Code == LBN_DBLCLK && Kind == "listbox")
        Fire(*R, "dblclick", Msg, WP, LP);
      return 0;
    }
    case WM_NOTIFY: {
      const auto* N = reinterpret_cast<const NMHDR*>(LP);
      TControlRecord* R = RecordOf(N->hwndFrom);
      if (R && R->Layout->Kind == "pagecontrol" && N->code == static_cast<UINT>(TCN_SELCHANGE)) {
        SelectPage(N->hwndFrom);
        Fire(*R, "change", Msg, WP, LP);
      }
      break;
    }
    case WM_HSCROLL:
      if (TControlRecord* R = LP ? RecordOf(reinterpret_cast<HWND>(LP)) : nullptr) {
        Fire(*R, "change", Msg, WP, LP);
        return 0;
      }
      break;
    case WM_MEASUREITEM: {
      auto* M = reinterpret_cast<MEASUREITEMSTRUCT*>(LP);
      for (auto& R : FRecords)
        if (R->Layout->Id == static_cast<int>(M->CtlID) && R->Handle) {
          if (!Fire(*R, "measureitem", Msg, WP, LP)) M->itemHeight = 16;
          return TRUE;
        }
      break;
    }
    case WM_DRAWITEM: {
      auto* D = reinterpret_cast<DRAWITEMSTRUCT*>(LP);
      if (TControlRecord* R = RecordOf(D->hwndItem)) {
        if (!Fire(*R, "drawitem", Msg, WP, LP)) {
          // Until a window draws its list itself, rows show their text.
          FillRect(D->hDC, &D->rcItem, GetSysColorBrush(D->itemState & ODS_SELECTED ? COLOR_HIGHLIGHT : COLOR_WINDOW));
          char Text[256] = {};
          if (D->itemID != static_cast<UINT>(-1)) SendMessageA(D->hwndItem, LB_GETTEXT, D->itemID, reinterpret_cast<LPARAM>(Text));
          SetBkMode(D->hDC, TRANSPARENT);
          DrawTextA(D->hDC, Text, -1, &D->rcItem, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
        return TRUE;
      }
      break;
    }
    case WM_INITMENUPOPUP:
      if (HIWORD(LP) == FALSE) {
        // A pop-up of the menu bar opens: its item's click handler runs, so
        // it can enable the items first.
        const int Bar = FLayout.Find(FLayout.Controls[0].Prop("menu"));
        const int Count = GetMenuItemCount(FMenu);
        for (int I = 0; Bar >= 0 && I < Count && I < static_cast<int>(FRecords[Bar]->Children.size()); ++I)
          if (GetSubMenu(FMenu, I) == reinterpret_cast<HMENU>(WP)) Fire(*FRecords[FRecords[Bar]->Children[I]], "click", Msg, WP, LP);
      }
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (TControlRecord* R = RecordOf(reinterpret_cast<HWND>(LP))) {
        HDC Dc = reinterpret_cast<HDC>(WP);
        SetTextColor(Dc, R->FontColor);
        const bool Edit = Msg == WM_CTLCOLOREDIT || Msg == WM_CTLCOLORLISTBOX;
        if (Edit && R->Layout->Prop("color").empty() && R->Color == GetSysColor(COLOR_BTNFACE)) {
          SetBkColor(Dc, GetSysColor(COLOR_WINDOW));
          return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        SetBkColor(Dc, R->Color);
        return reinterpret_cast<LRESULT>(R->Brush);
      }
      break;
    case WM_ERASEBKGND: {
      RECT Rc;
      GetClientRect(FHandle, &Rc);
      FillRect(reinterpret_cast<HDC>(WP), &Rc, Self.Brush);
      return 1;
    }
    case WM_WINDOWPOSCHANGED:
      // Not WM_SHOWWINDOW: showing a window maximised does not send it.
      if (reinterpret_cast<const WINDOWPOS*>(LP)->flags & SWP_SHOWWINDOW) Fire(Self, "show", Msg, WP, LP);
      break;
    case WM_CLOSE: {
      TEvent E{*this, &Self, Msg, WP, LP};
      Dispatch(E, "closequery");
      if (!E.Allow) return 0;
      if (FModal) FModalDone = true;
      else if (TheMainForm == this) TerminateApplication();
      else ShowWindow(FHandle, SW_HIDE);
      return 0;
    }
    case WM_SIZE:
      Realign(0);
      Fire(Self, "resize", Msg, WP, LP);
      break;
    case WM_GETMINMAXINFO: {
      auto* Info = reinterpret_cast<MINMAXINFO*>(LP);
      Info->ptMinTrackSize.x = std::max<LONG>(Info->ptMinTrackSize.x, Self.Layout->IntProp("minwidth", 0));
      Info->ptMinTrackSize.y = std::max<LONG>(Info->ptMinTrackSize.y, Self.Layout->IntProp("minheight", 0));
      return 0;
    }
    case WM_SIZING: {
      auto* Rc = reinterpret_cast<RECT*>(LP);
      TEvent E{*this, &Self, Msg, WP, LP};
      E.NewWidth = Rc->right - Rc->left;
      E.NewHeight = Rc->bottom - Rc->top;
      if (Dispatch(E, "canresize") && !E.Allow) GetWindowRect(FHandle, Rc);
      return TRUE;
    }
    case WM_SETCURSOR:
      if (HourglassShown()) {
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_DESTROY:
      Fire(Self, "destroy", Msg, WP, LP);
      break;
  }
  return DefWindowProcA(FHandle, Msg, WP, LP);
}

void RunMessageLoop() {
  MSG Msg;
  while (GetMessageA(&Msg, nullptr, 0, 0) > 0) {
    // Tab and access keys work in every window of the layer, as in dialogs.
    HWND Root = Msg.hwnd ? GetAncestor(Msg.hwnd, GA_ROOT) : nullptr;
    if (Root && TForm::FromHandle(Root) && IsDialogMessageA(Root, &Msg)) continue;
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
}

void TerminateApplication() { PostQuitMessage(0); }
