// The one seam every message box passes through, so that tests can answer and record them;
// without a handler the real system message box is shown.  The boxes themselves, with
// the application's title, are in Dialogs.h.
#pragma once
#include <functional>
#include <string>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbHelp };
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons Buttons(TMsgDlgBtn b) { return 1u << b; }
constexpr TMsgDlgButtons operator|(TMsgDlgBtn a, TMsgDlgBtn b) { return Buttons(a) | Buttons(b); }

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
