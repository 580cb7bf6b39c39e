// The text of an edit control, whatever its length: the settings page and
// the entry editor check and store what the user typed from it.
#pragma once

#include <windows.h>

#include <string>

std::string EditText(HWND Edit);
