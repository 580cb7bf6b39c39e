// What the files of TForm share among themselves and nobody else needs: the
// window class, the property that ties a window to its record, the first
// window, and the subclass procedures that creating a control installs.
#pragma once

#include <windows.h>

#include "form_win.h"

namespace form_detail {

extern const char* const FormClass;
// The first window created; closing it ends the run, and it owns every later one.
extern TForm* TheMainForm;

// Ties a created window to its record, so that messages find their control.
void SetRecordProp(HWND W, TControlRecord* R);
TControlRecord* RecordProp(HWND W);

// Installed on a control by its creation; the ids are the subclass ids.
// The tab control places its pages and passes their notifications on.
LRESULT CALLBACK ControlSubclass(HWND W, UINT Msg, WPARAM WP, LPARAM LP, UINT_PTR, DWORD_PTR Data);
const UINT_PTR ControlSubclassId = 1;
// Containers redo their alignment when a child appears or disappears.
LRESULT CALLBACK VisibilitySubclass(HWND W, UINT Msg, WPARAM WP, LPARAM LP, UINT_PTR, DWORD_PTR Data);
const UINT_PTR VisibilitySubclassId = 2;
// Edits and lists that bind keys or mouse presses report them.
LRESULT CALLBACK InputSubclass(HWND W, UINT Msg, WPARAM WP, LPARAM LP, UINT_PTR, DWORD_PTR Data);
const UINT_PTR InputSubclassId = 3;

}  // namespace form_detail
