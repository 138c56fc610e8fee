#include "toolkit/Form.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "toolkit/Button.h"
#include "toolkit/ComponentClasses.h"
#include "toolkit/FormReader.h"
#include "toolkit/Label.h"
#include "toolkit/Menus.h"
#include "toolkit/OptionalApi.h"
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

void TForm::InitForm(const RECT *bounds) {
  RegisterStandardComponents();
  RegisterMethods();
  // The resources are read before any window exists, so that each window is made once,
  // in its final place and with its final frame, instead of being changed as it is read.
  for (const std::string &res : FormResources())
    ReadFormResource(this, LoadFormResourceText(res), res);
  BindComponents();
  // Form resources are laid out for PixelsPerInch; the screen may have more or fewer.
  int ppi = Screen->PixelsPerInch();
  bool scale = Scaled && ppi != PixelsPerInch;
  if (bounds && !scale) PlaceBeforeCreation(*bounds);
  Handle();
  if (scale) ScaleBy(ppi, PixelsPerInch);
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
  // Made where it will be shown, so that showing it need not move it.
  if (Position == poScreenCenter) {
    left_ = Screen->Width() / 2 - width_ / 2;
    top_ = Screen->Height() / 2 - height_ / 2;
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

void TForm::PlaceBeforeCreation(const RECT &bounds) {
  if (handle_) return;
  TCreateParams p;
  CreateParams(p);
  RECT frame = {0, 0, 0, 0};
  if (!AdjustWindowRectEx(&frame, p.Style, FALSE, p.ExStyle)) return;
  int cw = (bounds.right - bounds.left) - (frame.right - frame.left);
  int ch = (bounds.bottom - bounds.top) - (frame.bottom - frame.top);
  if (cw <= 0 || ch <= 0) return;  // left to the move after the window is made
  left_ = bounds.left;
  top_ = bounds.top;
  clientWidth_ = cw;
  clientHeight_ = ch;
  Realign();
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
  if (handle_ && v == text_ && WindowText(handle_) == v) return;  // shown already
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
      int left = Screen->Width() / 2 - width_ / 2, top = Screen->Height() / 2 - height_ / 2;
      if (left != left_ || top != top_) SetBounds(left, top, width_, height_);
    }
    ShowWindow(handle_, SW_SHOW);
    // Showing has usually brought it to the front already.  Windows that stay on top (its
    // hints among them) lie above every other and are passed over.
    HWND above = GetWindow(handle_, GW_HWNDPREV);
    if (!(GetWindowLongA(handle_, GWL_EXSTYLE) & WS_EX_TOPMOST))
      while (above && (GetWindowLongA(above, GWL_EXSTYLE) & WS_EX_TOPMOST))
        above = GetWindow(above, GW_HWNDPREV);
    if (above) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
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

// For the time a window is modal: the other windows of the thread disabled, and the
// window owned by the one that was active, so that it stays above it and has no taskbar
// button of its own.
class TModalScope {
 public:
  TModalScope(HWND self, HWND active) : self_(self), disabled_{self, {}} {
    if (active && active != self && !GetWindow(self, GW_OWNER)) {
      owner_ = active;
      SetWindowLongPtrA(self, GWLP_HWNDPARENT, LONG_PTR(owner_));
    }
    EnumThreadWindows(GetCurrentThreadId(), DisableThreadWindow, LPARAM(&disabled_));
  }
  ~TModalScope() {
    EnableOthers();
    if (owner_ && IsWindow(self_)) SetWindowLongPtrA(self_, GWLP_HWNDPARENT, 0);
  }
  // The other windows usable again, before the modal one hides, so that the system has
  // one to activate.
  void EnableOthers() {
    for (HWND h : disabled_.list) EnableWindow(h, TRUE);
    disabled_.list.clear();
  }
  TModalScope(const TModalScope &) = delete;
  TModalScope &operator=(const TModalScope &) = delete;

 private:
  HWND self_;
  HWND owner_ = nullptr;
  DisabledWindows disabled_;
};

int TForm::ShowModal() {
  if (inModal_ || Showing()) throw EInvalidOperation("Ein sichtbares Fenster kann nicht modal gemacht werden");
  HWND previous = GetActiveWindow();
  int result = mrNone;
  {
    TModalScope scope(Handle(), previous);
    inModal_ = true;
    ModalResult = mrNone;
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
      throw;
    }
    inModal_ = false;
    scope.EnableOthers();
    Hide();
  }
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
    Position = TPosition(
        IdentToInt(value, {{"poScreenCenter", poScreenCenter}, {"poDesigned", poDesigned}}, "Unbekannte Position"));
  } else if (name == "BorderStyle") {
    SetBorderStyle(TBorderStyle(IdentToInt(value,
                                           {{"bsNone", bsNone},
                                            {"bsSingle", bsSingle},
                                            {"bsSizeable", bsSizeable},
                                            {"bsDialog", bsDialog},
                                            {"bsToolWindow", bsToolWindow},
                                            {"bsSizeToolWin", bsSizeToolWin}},
                                           "Unbekannter Rahmen")));
  } else if (name == "BorderIcons") {
    borderIcons_ = unsigned(SetToInt(
        value, {{"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize}, {"biMaximize", biMaximize}}));
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
