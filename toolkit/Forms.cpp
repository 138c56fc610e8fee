#include "toolkit/Forms.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "toolkit/Dialogs.h"
#include "toolkit/OptionalApi.h"
#include "toolkit/Menus.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/Panel.h"
#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Edit.h"
#include "toolkit/Label.h"
#include "toolkit/Memo.h"
#include "toolkit/StaticText.h"

namespace {
TApplication g_application;
THelpHandler g_helpHandler;

std::map<std::string, TComponentFactory> &Factories() {
  static std::map<std::string, TComponentFactory> factories;
  return factories;
}
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
  ShowMessage(Format("Zum Hilfethema %d ist keine Hilfedatei vorhanden.", context));
}


void RegisterComponentClass(const std::string &className, TComponentFactory factory) {
  Factories()[className] = std::move(factory);
}

template <class T>
static void RegisterClassOf(const char *name) {
  RegisterComponentClass(name, [](TComponent *owner) -> TComponent * { return new T(owner); });
}

void RegisterStandardComponents() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterClassOf<TMemo>("TMemo");
  RegisterClassOf<TEdit>("TEdit");
  RegisterClassOf<TCheckBox>("TCheckBox");
  RegisterClassOf<TButton>("TButton");
  RegisterClassOf<TStaticText>("TStaticText");
  RegisterClassOf<TLabel>("TLabel");
  RegisterClassOf<TPanel>("TPanel");
  RegisterClassOf<TSpeedButton>("TSpeedButton");
  RegisterClassOf<TPopupMenu>("TPopupMenu");
  RegisterClassOf<TMenuItem>("TMenuItem");
  RegisterClassOf<TImageList>("TImageList");
}

// ---------------------------------------------------------------------------------------
// Form resources: a text of nested blocks
//   object Name: TClass          (a new component)
//   inherited Name: TClass       (one of the ancestor's, with changes)
//     Property = value           (number, 'text', Ident, [set], ('list' 'of' 'texts'))
//   end

namespace {

struct Token {
  enum Kind { End, Ident, Int, Str, Sym } kind = End;
  std::string text;
  long long value = 0;
  int line = 0;
};

class Lexer {
 public:
  Lexer(const std::string &text, std::string name) : s_(text), name_(std::move(name)) {}

  Token Next() {
    SkipBlanks();
    Token t;
    t.line = line_;
    if (p_ >= s_.size()) return t;
    char c = s_[p_];
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      size_t start = p_;
      while (p_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[p_])) || s_[p_] == '_' || s_[p_] == '.'))
        ++p_;
      t.kind = Token::Ident;
      t.text = s_.substr(start, p_ - start);
      return t;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '$') {
      bool neg = c == '-';
      if (neg) ++p_;
      long long v = 0;
      if (p_ < s_.size() && s_[p_] == '$') {
        ++p_;
        size_t start = p_;
        while (p_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[p_]))) ++p_;
        if (start == p_) Fail("Hexadezimalzahl erwartet");
        v = std::stoll(s_.substr(start, p_ - start), nullptr, 16);
      } else {
        size_t start = p_;
        while (p_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[p_]))) ++p_;
        if (start == p_) Fail("Zahl erwartet");
        v = std::stoll(s_.substr(start, p_ - start));
      }
      t.kind = Token::Int;
      t.value = neg ? -v : v;
      return t;
    }
    if (c == '\'' || c == '#') {
      t.kind = Token::Str;
      // 'text', #code and their concatenations, also across lines with "+".
      for (;;) {
        if (p_ < s_.size() && s_[p_] == '\'') {
          ++p_;
          for (;;) {
            if (p_ >= s_.size() || s_[p_] == '\n') Fail("Text ohne Ende");
            if (s_[p_] == '\'') {
              if (p_ + 1 < s_.size() && s_[p_ + 1] == '\'') {
                t.text += '\'';
                p_ += 2;
                continue;
              }
              ++p_;
              break;
            }
            t.text += s_[p_++];
          }
        } else if (p_ < s_.size() && s_[p_] == '#') {
          ++p_;
          size_t start = p_;
          while (p_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[p_]))) ++p_;
          if (start == p_) Fail("Zeichencode erwartet");
          t.text += char(std::stoi(s_.substr(start, p_ - start)));
        } else {
          size_t save = p_;
          int saveLine = line_;
          SkipBlanks();
          if (p_ < s_.size() && s_[p_] == '+') {
            ++p_;
            SkipBlanks();
            continue;
          }
          p_ = save;
          line_ = saveLine;
          break;
        }
      }
      return t;
    }
    t.kind = Token::Sym;
    t.text = std::string(1, c);
    ++p_;
    return t;
  }

  [[noreturn]] void Fail(const std::string &what) const { FailAt(line_, what); }
  [[noreturn]] void FailAt(int line, const std::string &what) const {
    throw EReadError(Format("Formularressource %s, Zeile %d: %s", name_.c_str(), line, what.c_str()));
  }

 private:
  void SkipBlanks() {
    while (p_ < s_.size()) {
      char c = s_[p_];
      if (c == '\n') {
        ++line_;
        ++p_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++p_;
      } else if (c == '/' && p_ + 1 < s_.size() && s_[p_ + 1] == '/') {
        while (p_ < s_.size() && s_[p_] != '\n') ++p_;
      } else {
        break;
      }
    }
  }

  const std::string &s_;
  std::string name_;
  size_t p_ = 0;
  int line_ = 1;
};

const std::set<std::string> kReferenceProperties = {
    "PopupMenu", "Images", "FocusControl", "ActiveControl", "FileList", "DirList", "DirLabel", "FileEdit"};

struct Fixup {
  TComponent *component;
  std::string property;
  std::string target;
  int line;
};

class Reader {
 public:
  Reader(TForm *form, const std::string &text, const std::string &name)
      : form_(form), lex_(text, name) {}

  void Read() {
    Advance();
    ReadObject(nullptr, true);
    if (tok_.kind != Token::End) lex_.Fail("Text nach dem Ende des Formulars");
    for (auto &f : fixups_) {
      TComponent *target = form_->FindComponent(f.target);
      if (!target && LowerCase(f.target) == "nil") target = nullptr;
      else if (!target) lex_.FailAt(f.line, "Unbekannte Komponente " + f.target);
      f.component->SetReference(f.property, target);
    }
    for (TComponent *c : touched_) c->Loaded();
    form_->FixupTabOrder();
  }

 private:
  void Advance() { tok_ = lex_.Next(); }

  std::string ExpectIdent() {
    if (tok_.kind != Token::Ident) lex_.Fail("Bezeichner erwartet");
    std::string s = tok_.text;
    Advance();
    return s;
  }

  void ExpectSym(char c) {
    if (tok_.kind != Token::Sym || tok_.text[0] != c) lex_.Fail(std::string("'") + c + "' erwartet");
    Advance();
  }

  void ReadObject(TComponent *enclosing, bool isRoot) {
    std::string keyword = ExpectIdent();
    bool inherited = keyword == "inherited";
    if (!inherited && keyword != "object") lex_.Fail("object oder inherited erwartet");
    std::string name = ExpectIdent();
    ExpectSym(':');
    std::string cls = ExpectIdent();
    TComponent *c = nullptr;
    if (isRoot) {
      c = form_;
      form_->Name = name;
    } else if (inherited) {
      c = form_->FindComponent(name);
      if (!c) lex_.Fail("Geerbte Komponente " + name + " fehlt");
    } else {
      auto it = Factories().find(cls);
      if (it == Factories().end()) lex_.Fail("Klasse " + cls + " nicht gefunden");
      if (form_->FindComponent(name)) lex_.Fail("Komponente " + name + " existiert bereits");
      c = it->second(form_);
      c->Name = name;
    }
    touched_.push_back(c);
    while (tok_.kind == Token::Ident && tok_.text != "end" && tok_.text != "object" &&
           tok_.text != "inherited") {
      int line = tok_.line;
      std::string prop = ExpectIdent();
      ExpectSym('=');
      TPropValue v = ReadValue();
      Assign(c, prop, v, line);
    }
    if (!inherited && !isRoot) Attach(c, enclosing);
    while (tok_.kind == Token::Ident && (tok_.text == "object" || tok_.text == "inherited"))
      ReadObject(c, false);
    if (tok_.kind != Token::Ident || tok_.text != "end") lex_.Fail("end erwartet");
    Advance();
  }

  // A new control goes into the nearest enclosing windowed control; a new menu item into
  // its menu.
  void Attach(TComponent *c, TComponent *enclosing) {
    if (auto *control = dynamic_cast<TControl *>(c)) {
      auto *parent = dynamic_cast<TWinControl *>(enclosing);
      control->SetParent(parent ? parent : form_);
    } else if (auto *item = dynamic_cast<TMenuItem *>(c)) {
      auto *menu = dynamic_cast<TPopupMenu *>(enclosing);
      if (!menu) lex_.Fail("Menüeintrag außerhalb eines Menüs");
      menu->Items.push_back(item);
    }
  }

  void Assign(TComponent *c, const std::string &prop, const TPropValue &v, int line) {
    try {
      if (prop.size() > 2 && prop[0] == 'O' && prop[1] == 'n' && std::isupper(static_cast<unsigned char>(prop[2]))) {
        TNotifyEvent handler = form_->FindMethod(v.AsString());
        if (!handler) lex_.FailAt(line, "Methode " + v.s + " nicht gefunden");
        c->SetEvent(prop, handler);
      } else if (kReferenceProperties.count(prop)) {
        fixups_.push_back({c, prop, v.AsString(), line});
      } else {
        c->SetProperty(prop, v);
      }
    } catch (const EReadError &e) {
      if (std::string(e.what()).rfind("Formularressource", 0) == 0) throw;
      lex_.FailAt(line, c->Name + "." + prop + ": " + e.what());
    }
  }

  TPropValue ReadValue() {
    TPropValue v;
    switch (tok_.kind) {
      case Token::Int:
        v.kind = TPropValue::Int;
        v.i = tok_.value;
        Advance();
        return v;
      case Token::Str:
        v.kind = TPropValue::Str;
        v.s = tok_.text;
        Advance();
        return v;
      case Token::Ident:
        v.kind = TPropValue::Ident;
        v.s = tok_.text;
        Advance();
        return v;
      case Token::Sym:
        if (tok_.text == "[") {
          v.kind = TPropValue::Set;
          Advance();
          while (!(tok_.kind == Token::Sym && tok_.text == "]")) {
            v.items.push_back(ExpectIdent());
            if (tok_.kind == Token::Sym && tok_.text == ",") Advance();
          }
          Advance();
          return v;
        }
        if (tok_.text == "(") {
          v.kind = TPropValue::List;
          Advance();
          while (!(tok_.kind == Token::Sym && tok_.text == ")")) {
            if (tok_.kind != Token::Str) lex_.Fail("Text erwartet");
            v.items.push_back(tok_.text);
            Advance();
          }
          Advance();
          return v;
        }
        break;
      default:
        break;
    }
    lex_.Fail("Wert erwartet");
  }

  TForm *form_;
  Lexer lex_;
  Token tok_;
  std::vector<Fixup> fixups_;
  std::vector<TComponent *> touched_;
};

std::string LoadFormResourceText(const std::string &name) {
  HMODULE module = ModuleInstance();
  HRSRC res = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!res) throw EReadError("Formularressource " + name + " nicht gefunden");
  HGLOBAL data = LoadResource(module, res);
  const char *p = data ? static_cast<const char *>(LockResource(data)) : nullptr;
  if (!p) throw EReadError("Formularressource " + name + " nicht lesbar");
  return std::string(p, SizeofResource(module, res));
}

}  // namespace

void ReadFormResource(TForm *form, const std::string &text, const std::string &resourceName) {
  Reader(form, text, resourceName).Read();
}

// ---------------------------------------------------------------------------------------

TForm::TForm(TComponent *AOwner) : TCustomForm(AOwner) {
  visible_ = false;
  SetColor(clBtnFace);
  Font().SetName("MS Sans Serif");
}

TForm::~TForm() {
  if (hintWindow_) DestroyWindow(hintWindow_);
  if (icon_) DestroyIcon(icon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
}

void TForm::BeginDestroy() {
  visible_ = false;
  TWinControl::BeginDestroy();
}

void TForm::RegisterMethod(const std::string &name, TNotifyEvent method) {
  methods_[name] = std::move(method);
}

TNotifyEvent TForm::FindMethod(const std::string &name) const {
  auto it = methods_.find(name);
  return it == methods_.end() ? TNotifyEvent() : it->second;
}

void TForm::InitForm() {
  RegisterStandardComponents();
  RegisterMethods();
  // The resources are read before any window exists, so that each window is made once,
  // in its final place and with its final frame, instead of being changed as it is read.
  for (const std::string &res : FormResources())
    ReadFormResource(this, LoadFormResourceText(res), res);
  BindComponents();
  Handle();
  // Form resources are laid out for PixelsPerInch; the screen may have more or fewer.
  int ppi = Screen->PixelsPerInch();
  if (Scaled && ppi != PixelsPerInch) ScaleBy(ppi, PixelsPerInch);
  if (OnCreate) {
    try {
      OnCreate(this);
    } catch (...) {
      ApplicationHandleException();
      CreateFailed();
    }
  }
}

void TForm::CreateParams(TCreateParams &p) {
  p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_CAPTION;
  p.ExStyle = 0;
  switch (borderStyle_) {
    case bsNone: p.Style = WS_POPUP | WS_CLIPCHILDREN; break;
    case bsSingle: case bsToolWindow: p.Style |= WS_BORDER; break;
    case bsSizeable: case bsSizeToolWin: p.Style |= WS_THICKFRAME; break;
    case bsDialog: p.Style |= DS_MODALFRAME; p.ExStyle |= WS_EX_DLGMODALFRAME; break;
  }
  if (borderStyle_ != bsNone) {
    if (borderIcons_ & biSystemMenu) p.Style |= WS_SYSMENU;
    if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
      if (borderIcons_ & biMinimize) p.Style |= WS_MINIMIZEBOX;
      if (borderIcons_ & biMaximize) p.Style |= WS_MAXIMIZEBOX;
    }
  }
  if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) p.ExStyle |= WS_EX_TOOLWINDOW;
}

void TForm::CreateWnd() {
  // Setting the width re-reads both client sizes from the new window: take them first.
  int cw = clientWidth_, ch = clientHeight_;
  if (cw && ch) {
    // Made with the frame around the client size it is to have, so that it is not resized
    // (and its controls laid out again) right after it is made.
    TCreateParams p;
    CreateParams(p);
    RECT r = {0, 0, cw, ch};
    if (AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle)) {
      width_ = r.right - r.left;
      height_ = r.bottom - r.top;
    }
  }
  TWinControl::CreateWnd();
  if (!handle_) return;
  if (cw) SetClientWidth(cw);
  if (ch) SetClientHeight(ch);
  if (icon_) {
    SendMessageA(handle_, WM_SETICON, ICON_BIG, LPARAM(icon_));
    SendMessageA(handle_, WM_SETICON, ICON_SMALL, LPARAM(smallIcon_ ? smallIcon_ : icon_));
  }
}

void TForm::ApplyFrame() {
  if (!handle_) return;
  int cw = ClientWidth(), ch = ClientHeight();
  TCreateParams p;
  CreateParams(p);
  DWORD keep = GetWindowLongA(handle_, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED);
  SetWindowLongA(handle_, GWL_STYLE, LONG(p.Style | keep));
  SetWindowLongA(handle_, GWL_EXSTYLE, LONG(p.ExStyle));
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  SetClientWidth(cw);
  SetClientHeight(ch);
}

void TForm::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  ApplyFrame();
}

int TForm::ClientWidth() const {
  if (!handle_) return clientWidth_;
  RECT r;
  GetClientRect(handle_, &r);
  return r.right;
}

int TForm::ClientHeight() const {
  if (!handle_) return clientHeight_;
  RECT r;
  GetClientRect(handle_, &r);
  return r.bottom;
}

void TForm::SetClientWidth(int v) {
  clientWidth_ = v;
  if (!handle_ || ClientWidth() == v) return;
  RECT wr;
  GetWindowRect(handle_, &wr);
  int extra = (wr.right - wr.left) - ClientWidth();
  SetBounds(left_, top_, v + extra, height_);
}

void TForm::SetClientHeight(int v) {
  clientHeight_ = v;
  if (!handle_ || ClientHeight() == v) return;
  RECT wr;
  GetWindowRect(handle_, &wr);
  int extra = (wr.bottom - wr.top) - ClientHeight();
  SetBounds(left_, top_, width_, v + extra);
}

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  if (handle_) {
    SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    GetClientRect(handle_, &r);
    clientWidth_ = r.right;
    clientHeight_ = r.bottom;
  }
}

void TForm::ChangeScale(int M, int D) {
  DisableAlign();
  int cw = MulDiv(ClientWidth(), M, D), ch = MulDiv(ClientHeight(), M, D);
  for (TControl *c : std::vector<TControl *>(controls_)) c->ChangeScale(M, D);
  Font().SetHeight(MulDiv(Font().Height(), M, D));
  SetClientWidth(cw);
  SetClientHeight(ch);
  for (TControl *c : controls_) c->UpdateAnchorRules();
  EnableAlign();
}

void TForm::SetCaption(const std::string &v) {
  text_ = v;
  if (handle_) SetWindowTextA(handle_, v.c_str());
}

void TForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TForm::SetVisible(bool v) {
  if (v == visible_ && (!handle_ || bool(IsWindowVisible(handle_)) == v)) {
    if (v && handle_) {
      // Shown and in front: a minimised window is restored first.
      if (IsIconic(handle_)) ShowWindow(handle_, SW_RESTORE);
      SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      SetForegroundWindow(handle_);
    }
    return;
  }
  visible_ = v;
  if (!handle_) return;
  if (v) {
    DoShow();
    if (!handle_ || !visible_) return;  // OnShow may have closed the window
    if (Position == poScreenCenter) {
      SetBounds(Screen->Width() / 2 - width_ / 2, Screen->Height() / 2 - height_ / 2, width_, height_);
    }
    ShowWindow(handle_, SW_SHOW);
    // Showing has usually brought it to the front already.
    if (GetWindow(handle_, GW_HWNDPREV))
      SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (GetForegroundWindow() != handle_) SetForegroundWindow(handle_);
  } else {
    ShowWindow(handle_, SW_HIDE);
  }
}

void TForm::Close() {
  if (inModal_) {
    ModalResult = mrCancel;
    return;
  }
  Hide();
}

namespace {
struct DisabledWindows {
  HWND except;
  std::vector<HWND> list;
};

BOOL CALLBACK DisableThreadWindow(HWND h, LPARAM l) {
  auto *d = reinterpret_cast<DisabledWindows *>(l);
  if (h != d->except && IsWindowVisible(h) && IsWindowEnabled(h)) {
    d->list.push_back(h);
    EnableWindow(h, FALSE);
  }
  return TRUE;
}
}  // namespace

int TForm::ShowModal() {
  if (inModal_ || Showing()) throw EInvalidOperation("Ein sichtbares Fenster kann nicht modal gemacht werden");
  HWND previous = GetActiveWindow();
  HWND self = Handle();
  DisabledWindows disabled{self, {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableThreadWindow, LPARAM(&disabled));
  inModal_ = true;
  ModalResult = mrNone;
  int result = mrNone;
  try {
    Show();
    if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
    MSG msg;
    while (ModalResult == mrNone && handle_) {
      BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got == 0) {
        PostQuitMessage(int(msg.wParam));
        ModalResult = mrCancel;
        break;
      }
      if (got < 0) break;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    result = ModalResult;
  } catch (...) {
    inModal_ = false;
    for (HWND h : disabled.list) EnableWindow(h, TRUE);
    throw;
  }
  inModal_ = false;
  for (HWND h : disabled.list) EnableWindow(h, TRUE);
  Hide();
  if (previous && IsWindow(previous)) SetActiveWindow(previous);
  return result;
}

void TForm::SetActiveControl(TControl *c) {
  activeControl_ = c;
  if (c && handle_ && IsWindowVisible(handle_) && c->CanFocus()) c->SetFocus();
}

bool TForm::IsShortCut(int shortCut) {
  TControl *c = TControl::FromHandle(GetFocus());
  if (!c || c->GetParentForm() != this) c = this;
  for (; c; c = c->Parent())
    if (c->PopupMenu() && c->PopupMenu()->IsShortCut(shortCut)) return true;
  return false;
}

void TForm::SelectNext(TControl *current, bool forward) {
  // Every focusable tab stop of the window, in tab order, depth first.
  std::vector<TControl *> order;
  std::function<void(TWinControl *)> collect = [&](TWinControl *p) {
    for (TControl *c : p->TabList()) {
      if (!c->Visible() || !c->Enabled()) continue;
      if (c->TabStop()) order.push_back(c);
      if (auto *w = dynamic_cast<TWinControl *>(c)) collect(w);
    }
  };
  collect(this);
  if (order.empty()) return;
  auto it = std::find(order.begin(), order.end(), current);
  size_t i;
  if (it == order.end()) i = forward ? 0 : order.size() - 1;
  else {
    size_t pos = size_t(it - order.begin());
    i = forward ? (pos + 1) % order.size() : (pos + order.size() - 1) % order.size();
  }
  order[i]->SetFocus();
}

bool TForm::DialogKey(TControl *from, WORD key, int shift) {
  if (key == VK_TAB && !(shift & (scCtrl | scAlt))) {
    SelectNext(from, !(shift & scShift));
    return true;
  }
  if (key == VK_RETURN) {
    // A focused button is the one Enter presses; elsewhere the default button is.
    auto *button = dynamic_cast<TButton *>(from);
    if (!button) button = DefaultButton;
    if (button && button->Showing() && button->Enabled()) {
      button->Click();
      return true;
    }
  }
  if (key == VK_ESCAPE && CancelButton && CancelButton->Showing() && CancelButton->Enabled()) {
    CancelButton->Click();
    return true;
  }
  return false;
}

bool TForm::DialogChar(char key) {
  char wanted = UpCase(key);
  if (!wanted) return false;
  std::function<bool(TWinControl *)> search = [&](TWinControl *parent) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      TControl *c = parent->Controls(i);
      if (!c->Visible() || !c->Enabled()) continue;
      if (auto *label = dynamic_cast<TCustomLabel *>(c)) {
        TControl *target = label->FocusControl();
        if (target && label->Accelerator() == wanted && target->CanFocus()) {
          target->SetFocus();
          return true;
        }
      } else if (auto *button = dynamic_cast<TButton *>(c)) {
        if (AcceleratorChar(button->Caption()) == wanted) {
          button->SetFocus();
          button->Click();
          return true;
        }
      }
      if (auto *w = dynamic_cast<TWinControl *>(c); w && search(w)) return true;
    }
    return false;
  };
  return search(this);
}

bool TForm::WantsDialogChar(TControl *, char key) {
  if (key == '\t') return true;
  if (key == '\r') return DefaultButton != nullptr;
  if (key == 27) return CancelButton != nullptr;
  return false;
}

HWND TForm::HintWindow() {
  if (!hintWindow_ && handle_) {
    InitToolTipClass();
    hintWindow_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                  WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle_, nullptr,
                                  ModuleInstance(), nullptr);
    if (hintWindow_) SendMessageA(hintWindow_, TTM_SETMAXTIPWIDTH, 0, 300);
  }
  return hintWindow_;
}

void TForm::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "ClientWidth") SetClientWidth(value.AsInt());
  else if (name == "ClientHeight") SetClientHeight(value.AsInt());
  else if (name == "PixelsPerInch") PixelsPerInch = value.AsInt();
  else if (name == "Scaled") Scaled = value.AsBool();
  else if (name == "HelpContext") HelpContext = value.AsInt();
  else if (name == "OldCreateOrder" || name == "TextHeight") {
    // The create handler always runs before the form is handed out.
  } else if (name == "Position") {
    if (value.AsString() == "poScreenCenter") Position = poScreenCenter;
    else if (value.AsString() == "poDesigned") Position = poDesigned;
    else throw EReadError("Unbekannte Position " + value.s);
  } else if (name == "BorderStyle") {
    static const char *names[] = {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"};
    for (int i = 0; i < 6; ++i)
      if (value.AsString() == names[i]) { SetBorderStyle(TBorderStyle(i)); return; }
    throw EReadError("Unbekannter Rahmen " + value.s);
  } else if (name == "BorderIcons") {
    unsigned icons = 0;
    if (value.Has("biSystemMenu")) icons |= biSystemMenu;
    if (value.Has("biMinimize")) icons |= biMinimize;
    if (value.Has("biMaximize")) icons |= biMaximize;
    borderIcons_ = icons;
    ApplyFrame();
  } else if (name == "Icon") {
    if (icon_) DestroyIcon(icon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
    icon_ = HICON(LoadImageA(ModuleInstance(), value.AsString().c_str(), IMAGE_ICON, 32, 32, 0));
    smallIcon_ = HICON(LoadImageA(ModuleInstance(), value.AsString().c_str(), IMAGE_ICON, 16, 16, 0));
    if (!icon_) throw EReadError("Symbol " + value.s + " nicht gefunden");
    if (handle_) {
      SendMessageA(handle_, WM_SETICON, ICON_BIG, LPARAM(icon_));
      SendMessageA(handle_, WM_SETICON, ICON_SMALL, LPARAM(smallIcon_ ? smallIcon_ : icon_));
    }
  } else TWinControl::SetProperty(name, value);
}

void TForm::SetEvent(const std::string &name, const TNotifyEvent &handler) {
  if (name == "OnCreate") OnCreate = handler;
  else if (name == "OnShow") OnShow = handler;
  else TWinControl::SetEvent(name, handler);
}

void TForm::SetReference(const std::string &name, TComponent *target) {
  if (name == "ActiveControl") activeControl_ = dynamic_cast<TControl *>(target);
  else TWinControl::SetReference(name, target);
}

void TForm::Notification(TComponent *AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == activeControl_) activeControl_ = nullptr;
  if (AComponent == DefaultButton) DefaultButton = nullptr;
  if (AComponent == CancelButton) CancelButton = nullptr;
}

LRESULT TForm::WndProc(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(handle_, &r);
      FillRect(HDC(w), &r, ColorBrush());
      return 1;
    }
    case WM_PAINT:
      return DefaultHandler(msg, w, l);
    case WM_WINDOWPOSCHANGED: {
      auto *wp = reinterpret_cast<WINDOWPOS *>(l);
      if (!IsIconic(handle_)) {
        if (!(wp->flags & SWP_NOMOVE)) {
          left_ = wp->x;
          top_ = wp->y;
        }
        if (!(wp->flags & SWP_NOSIZE)) {
          width_ = wp->cx;
          height_ = wp->cy;
        }
      }
      break;
    }
    case WM_SHOWWINDOW:
      // Hidden or shown by the system (or a host), not through Visible.
      if (!l) visible_ = w != 0;
      break;
    case WM_ACTIVATE:
      if (LOWORD(w) != WA_INACTIVE) {
        LRESULT r = DefaultHandler(msg, w, l);
        if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
        else SelectNext(nullptr, true);
        return r;
      }
      break;
    default:
      break;
  }
  return TWinControl::WndProc(msg, w, l);
}
