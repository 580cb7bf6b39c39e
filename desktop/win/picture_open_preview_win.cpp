// The open dialog's picture preview, see picture_open_preview_win.h.
#include "picture_open_preview_win.h"

#include <algorithm>
#include <exception>
#include <string>

#include "picture_bitmap_win.h"
#include "picture_loader.h"

const char* const PicturePreviewClass = "QVPicturePreview";

namespace {

constexpr int PreviewSide = 180, PreviewMargin = 8, SizeLineHeight = 16;
const char* const PreviewProp = "QVPreviewWindow";

// What the preview shows: one of a bitmap, an icon or a metafile.
struct TPreview {
  HBITMAP Bitmap = nullptr;
  HICON Icon = nullptr;
  HENHMETAFILE Metafile = nullptr;
  SIZE Size{0, 0};
  void Clear() {
    if (Bitmap) DeleteObject(Bitmap);
    if (Icon) DestroyIcon(Icon);
    if (Metafile) DeleteEnhMetaFile(Metafile);
    *this = TPreview{};
  }
};

TPreview* PreviewOf(HWND W) { return reinterpret_cast<TPreview*>(GetWindowLongPtrA(W, GWLP_USERDATA)); }

// The largest rectangle of the picture's proportions inside Box, centred;
// small pictures are not enlarged.
RECT Fit(const RECT& Box, SIZE Size) {
  const int BoxW = Box.right - Box.left, BoxH = Box.bottom - Box.top;
  int W = Size.cx, H = Size.cy;
  if (W > BoxW || H > BoxH) {
    if (static_cast<int64_t>(W) * BoxH > static_cast<int64_t>(H) * BoxW) {
      H = static_cast<int>(std::max<int64_t>(1, static_cast<int64_t>(H) * BoxW / W));
      W = BoxW;
    } else {
      W = static_cast<int>(std::max<int64_t>(1, static_cast<int64_t>(W) * BoxH / H));
      H = BoxH;
    }
  }
  const int L = Box.left + (BoxW - W) / 2, T = Box.top + (BoxH - H) / 2;
  return {L, T, L + W, T + H};
}

void PaintPreview(HWND W) {
  PAINTSTRUCT Ps;
  HDC Dc = BeginPaint(W, &Ps);
  RECT Client;
  GetClientRect(W, &Client);
  FillRect(Dc, &Client, GetSysColorBrush(COLOR_BTNFACE));
  RECT Box{0, 0, Client.right, Client.bottom - SizeLineHeight};
  DrawEdge(Dc, &Box, EDGE_SUNKEN, BF_RECT);
  InflateRect(&Box, -2, -2);
  if (TPreview* P = PreviewOf(W)) {
    const RECT Area = Fit(Box, P->Size);
    if (P->Bitmap) {
      HDC Mem = CreateCompatibleDC(Dc);
      HGDIOBJ Old = SelectObject(Mem, P->Bitmap);
      SetStretchBltMode(Dc, HALFTONE);
      StretchBlt(Dc, Area.left, Area.top, Area.right - Area.left, Area.bottom - Area.top, Mem, 0, 0, P->Size.cx,
                 P->Size.cy, SRCCOPY);
      SelectObject(Mem, Old);
      DeleteDC(Mem);
    } else if (P->Icon) {
      DrawIconEx(Dc, Area.left, Area.top, P->Icon, Area.right - Area.left, Area.bottom - Area.top, 0, nullptr, DI_NORMAL);
    } else if (P->Metafile) {
      PlayEnhMetaFile(Dc, P->Metafile, &Area);
    }
  }
  char Text[64] = {};
  GetWindowTextA(W, Text, sizeof Text);
  RECT Line{0, Client.bottom - SizeLineHeight, Client.right, Client.bottom};
  SetBkMode(Dc, TRANSPARENT);
  HGDIOBJ OldFont = SelectObject(Dc, GetStockObject(DEFAULT_GUI_FONT));
  DrawTextA(Dc, Text, -1, &Line, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(Dc, OldFont);
  EndPaint(W, &Ps);
}

LRESULT CALLBACK PreviewProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  switch (Msg) {
    case WM_PAINT:
      PaintPreview(W);
      return 0;
    case WM_NCDESTROY:
      if (TPreview* P = PreviewOf(W)) {
        P->Clear();
        delete P;
        SetWindowLongPtrA(W, GWLP_USERDATA, 0);
      }
      break;
  }
  return DefWindowProcA(W, Msg, WP, LP);
}

HWND CreatePreview(HWND Dialog) {
  static bool Registered = false;
  if (!Registered) {
    WNDCLASSA Wc{};
    Wc.lpfnWndProc = PreviewProc;
    Wc.hInstance = GetModuleHandleA(nullptr);
    Wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    Wc.lpszClassName = PicturePreviewClass;
    RegisterClassA(&Wc);
    Registered = true;
  }
  // The dialog grows to the right by the preview's width.
  RECT Outer, Client;
  GetWindowRect(Dialog, &Outer);
  GetClientRect(Dialog, &Client);
  const int Grow = PreviewSide + 2 * PreviewMargin;
  SetWindowPos(Dialog, nullptr, 0, 0, Outer.right - Outer.left + Grow, Outer.bottom - Outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  HWND Preview = CreateWindowExA(0, PicturePreviewClass, "", WS_CHILD | WS_VISIBLE, Client.right + PreviewMargin,
                                 PreviewMargin, PreviewSide, PreviewSide + SizeLineHeight, Dialog, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(Preview, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TPreview));
  return Preview;
}

TPreview Load(const std::string& File) {
  TPreview P;
  switch (PictureKindOf(File)) {
    case TPictureKind::Bitmap:
    case TPictureKind::Jpeg:
      try {
        const TSourceImage Image = LoadPictureFile(File, [](TProgressStage, int) {});
        P.Bitmap = CreateSourceBitmap(Image);
        P.Size = {Image.Width, Image.Height};
      } catch (const std::exception&) {
        // Not a picture the editor can load: nothing to show.
      }
      break;
    case TPictureKind::Icon:
      P.Icon = static_cast<HICON>(LoadImageA(nullptr, File.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
      if (P.Icon) P.Size = {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
      break;
    case TPictureKind::EnhancedMetafile:
    case TPictureKind::Metafile: {
      P.Metafile = GetEnhMetaFileA(File.c_str());
      ENHMETAHEADER Header{};
      if (P.Metafile && GetEnhMetaFileHeader(P.Metafile, sizeof(Header), &Header))
        P.Size = {Header.rclBounds.right - Header.rclBounds.left + 1, Header.rclBounds.bottom - Header.rclBounds.top + 1};
      break;
    }
    default:
      break;
  }
  return P;
}

void Show(HWND Preview, const std::string& File) {
  TPreview* P = PreviewOf(Preview);
  P->Clear();
  *P = Load(File);
  const bool Shown = P->Bitmap || P->Icon || P->Metafile;
  const std::string Size = Shown ? std::to_string(P->Size.cx) + " x " + std::to_string(P->Size.cy) : "";
  SetWindowTextA(Preview, Size.c_str());
  InvalidateRect(Preview, nullptr, FALSE);
}

}  // namespace

UINT_PTR CALLBACK PicturePreviewHook(HWND Child, UINT Msg, WPARAM, LPARAM LParam) {
  if (Msg != WM_NOTIFY) return 0;
  const auto* N = reinterpret_cast<const OFNOTIFYA*>(LParam);
  HWND Dialog = GetParent(Child);
  if (N->hdr.code == CDN_INITDONE) {
    SetPropA(Child, PreviewProp, CreatePreview(Dialog));
  } else if (N->hdr.code == CDN_SELCHANGE) {
    HWND Preview = static_cast<HWND>(GetPropA(Child, PreviewProp));
    char Path[MAX_PATH] = {};
    if (Preview && SendMessageA(Dialog, CDM_GETFILEPATH, MAX_PATH, reinterpret_cast<LPARAM>(Path)) > 0) Show(Preview, Path);
  }
  return 0;
}
