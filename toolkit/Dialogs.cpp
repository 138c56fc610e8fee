#include "toolkit/Dialogs.h"

#include "toolkit/Application.h"

void ShowMessage(const std::string &Msg) {
  TMessageBoxRequest r;
  r.kind = TMessageBoxRequest::Message;
  r.text = Msg;
  r.caption = Application->Title;
  ShowMessageBox(r);
}

int MessageDlg(const std::string &Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  static const char *const captions[] = {"Warnung", "Fehler", "Information", "Bestätigen",
                                         ""};
  TMessageBoxRequest r;
  r.kind = TMessageBoxRequest::Dialog;
  r.text = Msg;
  r.caption = DlgType == mtCustom ? Application->Title : captions[DlgType];
  r.type = DlgType;
  r.buttons = Buttons;
  r.helpCtx = HelpCtx;
  return ShowMessageBox(r);
}
