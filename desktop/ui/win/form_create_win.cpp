// TForm: making the window and its controls from the layout. The notes say
// why the less obvious parts are built as they are.
#include "form_win.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "controls_win.h"
#include "form_internal_win.h"
#include "resource_source_win.h"
#include "scroll_box_win.h"
#include "style.h"

using namespace form_detail;

namespace {

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

}  // namespace

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
  SetRecordProp(FHandle, FRecords[0].get());
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
  SetRecordProp(R.Handle, &R);
  if (L.Kind == "pagecontrol") SetWindowSubclass(R.Handle, ControlSubclass, ControlSubclassId, reinterpret_cast<DWORD_PTR>(&R));
  if (L.Kind == "panel" || L.Kind == "pagecontrol" || L.Kind == "groupbox")
    SetWindowSubclass(R.Handle, VisibilitySubclass, VisibilitySubclassId, reinterpret_cast<DWORD_PTR>(&R));
  if (L.Props.count("on.keypress") || L.Props.count("on.mousedown"))
    SetWindowSubclass(R.Handle, InputSubclass, InputSubclassId, reinterpret_cast<DWORD_PTR>(&R));
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
