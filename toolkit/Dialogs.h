// Message boxes with the application's title.  Every box passes through the seam of
// MessageBoxes.h, so that tests can answer and record them.
#pragma once
#include <string>

#include "toolkit/MessageBoxes.h"

// Shows Msg with an OK button.
void ShowMessage(const std::string &Msg);
// Shows Msg with the icon of DlgType and the given buttons; returns the mr value of the
// button pressed (mrYes, mrNo, ...), or mrCancel when the box was closed otherwise.
int MessageDlg(const std::string &Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
