#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Edit.h"
#include "toolkit/Label.h"
#include "toolkit/Memo.h"
#include "toolkit/StaticText.h"

#include <algorithm>


// --- TMemoLines -------------------------------------------------------------------------

std::vector<std::string> TMemoLines::ToVector() const { return SplitLines(memo_.Text()); }

int TMemoLines::Count() const { return int(ToVector().size()); }

void TMemoLines::Assign(const std::vector<std::string> &lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    text += lines[i];
  }
  memo_.SetText(text);
}

void TMemoLines::Clear() { memo_.SetText(std::string()); }

std::string TMemoLines::Text() const {
  std::string t;
  for (auto &line : ToVector()) t += line + "\r\n";
  return t;
}

void TMemoLines::SetText(const std::string &text) { Assign(SplitLines(text)); }

void TMemoLines::LoadFromFile(const std::string &fileName) { SetText(ReadFileText(fileName)); }

void TMemoLines::BeginUpdate() {
  if (updating_++ == 0 && memo_.HandleAllocated()) SendMessageA(memo_.Handle(), WM_SETREDRAW, FALSE, 0);
}

void TMemoLines::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0 && memo_.HandleAllocated()) {
    SendMessageA(memo_.Handle(), WM_SETREDRAW, TRUE, 0);
    memo_.Invalidate();
  }
}

// --- TCustomEdit, TEdit, TMemo ----------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent *AOwner) : TWinControl(AOwner) {
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 121, 21);
}

std::string TCustomEdit::Text() const {
  return handle_ ? WindowText(handle_) : text_;
}

void TCustomEdit::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.ClassName = "EDIT";
  p.Style |= ES_AUTOHSCROLL | (readOnly_ ? ES_READONLY : 0) | (oemConvert_ ? ES_OEMCONVERT : 0);
  if (Ctl3D()) p.ExStyle |= WS_EX_CLIENTEDGE;
  else p.Style |= WS_BORDER;
}

void TCustomEdit::SetReadOnly(bool v) {
  readOnly_ = v;
  if (handle_) SendMessageA(handle_, EM_SETREADONLY, v, 0);
}

void TCustomEdit::SelectAll() {
  if (handle_) SendMessageA(handle_, EM_SETSEL, 0, -1);
}

bool TCustomEdit::Command(WORD notifyCode) {
  if (notifyCode == EN_CHANGE) {
    if (handle_) text_ = WindowText(handle_);
    if (OnChange) OnChange(this);
    return true;
  }
  return false;
}

void TCustomEdit::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "ReadOnly") SetReadOnly(value.AsBool());
  else if (name == "OEMConvert") oemConvert_ = value.AsBool();
  else if (name == "MaxLength" || name == "BorderStyle") {
  } else TWinControl::SetProperty(name, value);
}

void TCustomEdit::SetEvent(const std::string &name, const TNotifyEvent &handler) {
  if (name == "OnChange") OnChange = handler;
  else TWinControl::SetEvent(name, handler);
}

TEdit::TEdit(TComponent *AOwner) : TCustomEdit(AOwner) {}

TMemo::TMemo(TComponent *AOwner) : TCustomEdit(AOwner) { SetBounds(0, 0, 185, 89); }

void TMemo::CreateParams(TCreateParams &p) {
  TCustomEdit::CreateParams(p);
  p.Style &= ~DWORD(ES_AUTOHSCROLL);
  p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | (WantReturns ? ES_WANTRETURN : 0);
  if (!WordWrap || ScrollBars == ssHorizontal || ScrollBars == ssBoth) p.Style |= ES_AUTOHSCROLL;
  if (ScrollBars == ssVertical || ScrollBars == ssBoth) p.Style |= WS_VSCROLL;
  if (ScrollBars == ssHorizontal || ScrollBars == ssBoth) p.Style |= WS_HSCROLL;
}

void TMemo::ScrollToEnd() {
  if (!HandleAllocated()) return;
  LRESULT length = SendMessageA(Handle(), WM_GETTEXTLENGTH, 0, 0);
  SendMessageA(Handle(), EM_SETSEL, WPARAM(length), LPARAM(length));
  SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
}

bool TMemo::WantsKey(WORD key) const {
  if (key == VK_RETURN) return WantReturns && !readOnly_;
  if (key == VK_TAB) return WantTabs;
  return false;
}

void TMemo::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "ScrollBars") {
    ScrollBars = TScrollStyle(IdentToInt(
        value, {{"ssNone", ssNone}, {"ssHorizontal", ssHorizontal}, {"ssVertical", ssVertical}, {"ssBoth", ssBoth}},
        "Unbekannte Bildlaufleiste"));
  } else if (name == "WordWrap") WordWrap = value.AsBool();
  else if (name == "WantReturns") WantReturns = value.AsBool();
  else if (name == "WantTabs") WantTabs = value.AsBool();
  else if (name == "Lines.Strings") Lines().Assign(value.items);
  else TCustomEdit::SetProperty(name, value);
}

// --- TStaticText and TCustomLabel ------------------------------------------------------

static TAlignment AlignmentFromProp(const TPropValue &value) {
  return TAlignment(IdentToInt(
      value, {{"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}},
      "Unbekannte Textausrichtung"));
}

// --- TCheckBox --------------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent *AOwner) : TWinControl(AOwner) {
  SetParentColor(true);
  SetTabStop(true);
  SetBounds(0, 0, 97, 17);
}

void TCheckBox::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.ClassName = "BUTTON";
  p.Style |= BS_AUTOCHECKBOX;
}

void TCheckBox::CreateWnd() {
  TWinControl::CreateWnd();
  if (handle_) SendMessageA(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::Checked() const {
  if (handle_) checked_ = SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return checked_;
}

void TCheckBox::SetChecked(bool v) {
  checked_ = v;
  if (handle_) SendMessageA(handle_, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::Command(WORD notifyCode) {
  if (notifyCode == BN_CLICKED) {
    checked_ = Checked();
    Click();
    return true;
  }
  return false;
}

void TCheckBox::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "Checked") SetChecked(value.AsBool());
  else TWinControl::SetProperty(name, value);
}

// --- TButton ----------------------------------------------------------------------------

TButton::TButton(TComponent *AOwner) : TWinControl(AOwner) {
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.ClassName = "BUTTON";
  p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool v) {
  default_ = v;
  if (TCustomForm *f = GetParentForm()) {
    if (v) f->DefaultButton = this;
    else if (f->DefaultButton == this) f->DefaultButton = nullptr;
  }
  if (handle_) SendMessageA(handle_, BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::SetCancel(bool v) {
  cancel_ = v;
  if (TCustomForm *f = GetParentForm()) {
    if (v) f->CancelButton = this;
    else if (f->CancelButton == this) f->CancelButton = nullptr;
  }
}

void TButton::Click() {
  if (TCustomForm *f = GetParentForm(); f && ModalResult != 0) f->ModalResult = ModalResult;
  TWinControl::Click();
}

bool TButton::Command(WORD notifyCode) {
  if (notifyCode == BN_CLICKED) {
    Click();
    return true;
  }
  return false;
}

void TButton::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "Default") SetDefault(value.AsBool());
  else if (name == "Cancel") SetCancel(value.AsBool());
  else if (name == "ModalResult") ModalResult = value.AsInt();
  else TWinControl::SetProperty(name, value);
}

// --- TStaticText ------------------------------------------------------------------------

TStaticText::TStaticText(TComponent *AOwner) : TWinControl(AOwner) {
  SetParentColor(true);
  SetBounds(0, 0, 65, 17);
}

void TStaticText::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.ClassName = "STATIC";
  p.Style |= (Alignment == taCenter ? SS_CENTER : Alignment == taRightJustify ? SS_RIGHT : SS_LEFT) |
             (ShowAccelChar ? 0 : SS_NOPREFIX);
}

void TStaticText::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "AutoSize") AutoSize = value.AsBool();
  else if (name == "ShowAccelChar") ShowAccelChar = value.AsBool();
  else if (name == "Alignment") {
    Alignment = AlignmentFromProp(value);
  } else if (name == "BorderStyle") {
  } else TWinControl::SetProperty(name, value);
}

// --- TCustomLabel -----------------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent *AOwner) : TControl(AOwner) {
  SetParentColor(true);
  SetBounds(0, 0, 65, 17);
}

TCanvas &TCustomLabel::Canvas() {
  if (!measureCanvas_) {
    measureDC_ = std::make_unique<TMemoryDC>();
    measureCanvas_ = std::make_unique<TCanvas>(measureDC_->Get());
  }
  measureCanvas_->Font.Assign(Font());
  return *measureCanvas_;
}

void TCustomLabel::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustBounds();
}

void TCustomLabel::SetCaption(const std::string &v) {
  TControl::SetCaption(v);
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::AdjustBounds() {
  if (!autoSize_ || WordWrap) return;
  std::string text = text_.empty() ? std::string(" ") : text_;
  if (ShowAccelChar) text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  SIZE s = Canvas().TextExtent(text);
  SetBounds(left_, top_, s.cx, s.cy);
}

char TCustomLabel::Accelerator() const { return ShowAccelChar ? AcceleratorChar(text_) : 0; }

void TCustomLabel::Paint(TCanvas &canvas) {
  RECT r = ClientRect();
  if (Transparent) canvas.BrushColor = Parent() ? Parent()->Color() : Color();
  canvas.FillRect(r);
  UINT format = (WordWrap ? DT_WORDBREAK : DT_SINGLELINE) | (ShowAccelChar ? 0 : DT_NOPREFIX) |
                (Alignment == taCenter ? DT_CENTER : Alignment == taRightJustify ? DT_RIGHT : DT_LEFT);
  TSelectGuard font(canvas.Handle(), Font().Handle());
  SetBkMode(canvas.Handle(), TRANSPARENT);
  SetTextColor(canvas.Handle(), ColorToRGB(Enabled() ? Font().Color() : clGrayText));
  DrawTextA(canvas.Handle(), text_.c_str(), int(text_.size()), &r, format);
}

LRESULT TCustomLabel::WndProc(UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  return TControl::WndProc(msg, w, l);
}

void TCustomLabel::SetFocusControl(TControl *c) {
  focusControl_ = c;
  if (c) c->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent *AComponent, TOperation Operation) {
  TControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::SetReference(const std::string &name, TComponent *target) {
  if (name == "FocusControl") SetFocusControl(dynamic_cast<TControl *>(target));
  else TControl::SetReference(name, target);
}

void TCustomLabel::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "AutoSize") SetAutoSize(value.AsBool());
  else if (name == "WordWrap") WordWrap = value.AsBool();
  else if (name == "ShowAccelChar") ShowAccelChar = value.AsBool();
  else if (name == "Transparent") Transparent = value.AsBool();
  else if (name == "Alignment") {
    Alignment = AlignmentFromProp(value);
  } else TControl::SetProperty(name, value);
}
