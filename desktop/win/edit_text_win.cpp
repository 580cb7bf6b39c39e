#include "edit_text_win.h"

std::string EditText(HWND Edit) {
  std::string Text(static_cast<size_t>(GetWindowTextLengthA(Edit)) + 1, '\0');
  Text.resize(static_cast<size_t>(GetWindowTextA(Edit, &Text[0], static_cast<int>(Text.size()))));
  return Text;
}
