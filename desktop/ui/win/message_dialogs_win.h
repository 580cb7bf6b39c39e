// The three dialog kinds of the desktop program: plain message (the program's
// title as caption, no icon, OK), error dialog and confirmation (Yes as the
// default, No, Escape answers No, the close box gives neither answer). The
// captions and button texts are standard resource texts, so they follow the
// language module. Built on a dialog template made at run time because
// MessageBox shows the system's button texts, not the module's.
#pragma once

#include <string>

enum TConfirmAnswer { caYes, caNo, caNone };

void ShowPlainMessage(const std::string& Text);
void ShowErrorMessage(const std::string& Text);
TConfirmAnswer Confirm(const std::string& Text);
