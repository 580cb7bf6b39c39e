// TForm: windows from layouts. See form_win.h for what it is for. The class is
// spread over files along its jobs: this one holds its life, its bindings and
// the lookups; form_create_win.cpp makes the window and its controls from the
// layout, form_align_win.cpp keeps aligned children in place,
// form_messages_win.cpp routes messages to the layout's handlers, and
// form_modal_win.cpp shows windows and runs the message loops.
#include "form_win.h"

#include <commctrl.h>

#include "form_internal_win.h"

namespace form_detail {

const char* const FormClass = "QVForm";
TForm* TheMainForm = nullptr;

namespace {
const char* const Prop = "QVRecord";
}  // namespace

void SetRecordProp(HWND W, TControlRecord* R) { SetPropA(W, Prop, R); }
TControlRecord* RecordProp(HWND W) { return static_cast<TControlRecord*>(GetPropA(W, Prop)); }

}  // namespace form_detail

using namespace form_detail;

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

TControlRecord* TForm::RecordOf(HWND Control) {
  TControlRecord* R = RecordProp(Control);
  return R && R->Form == this ? R : nullptr;
}

TControlRecord* TForm::RecordByName(const std::string& Name) {
  const int I = FLayout.Find(Name);
  return I < 0 ? nullptr : FRecords[I].get();
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

void TForm::Destroy() {
  if (FHandle && IsWindow(FHandle)) DestroyWindow(FHandle);
  FHandlers.clear();
}
