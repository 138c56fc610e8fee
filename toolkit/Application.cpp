#include "toolkit/Application.h"

#include "toolkit/MessageBoxes.h"

namespace {
TApplication g_application;
THelpHandler g_helpHandler;
}  // namespace

TApplication *Application = &g_application;

void ApplicationHandleException() {
  try {
    throw;
  } catch (const std::exception &e) {
    Application->ShowException(e);
  } catch (...) {
    Application->ShowException(Exception("Unbekannte Ausnahme"));
  }
}

void TApplication::ShowException(const std::exception &e) {
  std::string text = e.what();
  if (!text.empty() && text.back() > '.' ) text += '.';
  TMessageBoxRequest r;
  r.kind = TMessageBoxRequest::Error;
  r.text = text;
  r.caption = Title;
  r.type = mtError;
  try {
    ShowMessageBox(r);
  } catch (...) {
    // Nothing is left to report a failing report with.
  }
}

THelpHandler SetHelpHandler(THelpHandler handler) {
  THelpHandler previous = std::move(g_helpHandler);
  g_helpHandler = std::move(handler);
  return previous;
}

void TApplication::HelpContext(int context) {
  if (g_helpHandler) {
    g_helpHandler(context);
    return;
  }
  TMessageBoxRequest r;
  r.kind = TMessageBoxRequest::Message;
  r.text = Format("Zum Hilfethema %d ist keine Hilfedatei vorhanden.", context);
  r.caption = Title;
  ShowMessageBox(r);
}
