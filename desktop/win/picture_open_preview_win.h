// The preview of the picture editor's open dialog: beside the file list, the
// chosen picture scaled to fit a square with its size in pixels below it,
// for every kind the dialog lists (bitmaps and JPEG files as the editor
// loads them, icons and enhanced metafiles through GDI). A file that cannot
// be shown leaves the preview empty.
#pragma once

#include <windows.h>
#include <commdlg.h>

// The hook to give the picture-open dialog (TFileDialog::Hook).
UINT_PTR CALLBACK PicturePreviewHook(HWND Child, UINT Msg, WPARAM WParam, LPARAM LParam);

// The class of the preview control, for tests that find it; its text is the
// picture's size ("640 x 480") or empty.
extern const char* const PicturePreviewClass;
