// The rows of the main window's list boxes, as the commands and the drag
// read them.
#pragma once

#include <windows.h>

#include <string>

inline int SelectedRow(HWND List) { return static_cast<int>(SendMessageA(List, LB_GETCURSEL, 0, 0)); }
inline int RowCount(HWND List) { return static_cast<int>(SendMessageA(List, LB_GETCOUNT, 0, 0)); }

// The text of an existing row.
inline std::string ItemText(HWND List, int Row) {
  std::string Text(static_cast<size_t>(SendMessageA(List, LB_GETTEXTLEN, Row, 0)) + 1, '\0');
  Text.resize(static_cast<size_t>(SendMessageA(List, LB_GETTEXT, Row, reinterpret_cast<LPARAM>(&Text[0]))));
  return Text;
}

// The row at X, Y of the list's client area; -1 outside the client area and
// below the last row.
inline int RowAt(HWND List, int X, int Y) {
  const LRESULT Hit = SendMessageA(List, LB_ITEMFROMPOINT, 0, MAKELPARAM(X, Y));
  return HIWORD(Hit) ? -1 : LOWORD(Hit);
}
