// Message boxes.  Every box the module shows passes through one seam, so that tests can
// answer and record them; without a handler the real system message box is shown.
#pragma once
#include <functional>
#include <string>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbHelp };
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons Buttons(TMsgDlgBtn b) { return 1u << b; }
constexpr TMsgDlgButtons operator|(TMsgDlgBtn a, TMsgDlgBtn b) { return Buttons(a) | Buttons(b); }

// Shows Msg with an OK button.
void ShowMessage(const std::string &Msg);
// Shows Msg with the icon of DlgType and the given buttons; returns the mr value of the
// button pressed (mrYes, mrNo, ...), or mrCancel when the box was closed otherwise.
int MessageDlg(const std::string &Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);

struct TMessageBoxRequest {
  enum Kind { Message, Dialog, Error } kind = Message;
  std::string text;
  std::string caption;
  TMsgDlgType type = mtCustom;
  TMsgDlgButtons buttons = 0;
  int helpCtx = 0;
};
using TMessageBoxHandler = std::function<int(const TMessageBoxRequest &)>;
// Installs a handler for every message box; returns the previous one.  An empty handler
// restores the system's message boxes.
TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler);
int ShowMessageBox(const TMessageBoxRequest &request);
