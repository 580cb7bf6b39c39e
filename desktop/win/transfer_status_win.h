// The step label of the read and write dialogs. The transfer runs on the
// user-interface thread and the label would otherwise only repaint when the
// transfer lets messages through, so it is repainted at once.
#pragma once

#include <windows.h>

#include <string>

void ShowTransferStatus(HWND Label, const std::string& Text);
