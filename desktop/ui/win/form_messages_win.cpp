// TForm: routing the window's and its controls' messages to the handlers the
// layout names for them.
#include "form_win.h"

#include <commctrl.h>

#include <algorithm>

#include "controls_win.h"
#include "cursor_win.h"
#include "form_internal_win.h"

namespace form_detail {

// The tab control places its pages and passes their notifications on to the
// window, which routes them like those of its own children.
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
      RemoveWindowSubclass(W, ControlSubclass, ControlSubclassId);
      break;
  }
  return DefSubclassProc(W, Msg, WP, LP);
}

// The edits and lists that bind keys or mouse presses report them.
LRESULT CALLBACK InputSubclass(HWND W, UINT Msg, WPARAM WP, LPARAM LP, UINT_PTR, DWORD_PTR Data) {
  auto* R = reinterpret_cast<TControlRecord*>(Data);
  if (Msg == WM_CHAR && R->Layout->Props.count("on.keypress")) {
    char Key = static_cast<char>(WP);
    TEvent E{*R->Form, R, Msg, WP, LP};
    E.Key = &Key;
    R->Form->Dispatch(E, "keypress");
    if (!Key) return 0;
    WP = static_cast<unsigned char>(Key);
  } else if ((Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDOWN || Msg == WM_RBUTTONDBLCLK) &&
             R->Layout->Props.count("on.mousedown")) {
    // The second press of a double click is a press as well.
    TEvent E{*R->Form, R, Msg, WP, LP};
    R->Form->Dispatch(E, "mousedown");
  } else if (Msg == WM_NCDESTROY) {
    RemoveWindowSubclass(W, InputSubclass, InputSubclassId);
  }
  return DefSubclassProc(W, Msg, WP, LP);
}

}  // namespace form_detail

using namespace form_detail;

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
