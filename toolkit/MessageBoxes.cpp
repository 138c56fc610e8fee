#include "toolkit/MessageBoxes.h"

#include <windows.h>

namespace {
TMessageBoxHandler g_handler;

int SystemMessageBox(const TMessageBoxRequest &r) {
  UINT flags = MB_TASKMODAL;
  switch (r.kind) {
    case TMessageBoxRequest::Message: flags |= MB_OK; break;
    case TMessageBoxRequest::Error: flags |= MB_OK | MB_ICONERROR; break;
    case TMessageBoxRequest::Dialog: {
      auto has = [&r](TMsgDlgBtn b) { return (r.buttons & Buttons(b)) != 0; };
      if (has(mbYes) && has(mbNo)) flags |= has(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
      else if (has(mbRetry)) flags |= MB_RETRYCANCEL;
      else if (has(mbAbort)) flags |= MB_ABORTRETRYIGNORE;
      else flags |= has(mbCancel) ? MB_OKCANCEL : MB_OK;
      switch (r.type) {
        case mtWarning: flags |= MB_ICONWARNING; break;
        case mtError: flags |= MB_ICONERROR; break;
        case mtInformation: flags |= MB_ICONINFORMATION; break;
        case mtConfirmation: flags |= MB_ICONQUESTION; break;
        default: break;
      }
      break;
    }
  }
  HWND owner = GetActiveWindow();
  int result = MessageBoxA(owner, r.text.c_str(), r.caption.c_str(), flags);
  return result > 0 ? result : IDCANCEL;
}
}  // namespace

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler) {
  TMessageBoxHandler previous = std::move(g_handler);
  g_handler = std::move(handler);
  return previous;
}

int ShowMessageBox(const TMessageBoxRequest &request) {
  if (g_handler) return g_handler(request);
  return SystemMessageBox(request);
}
