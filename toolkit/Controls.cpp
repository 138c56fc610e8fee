// The control's window: the window classes, creation and destruction, the window
// procedure and its dispatch, reflection of the parent's notifications to the child that
// caused them (by the child's window, or by its control id where the message names no
// window), the binding of window and object.
#include "toolkit/Controls.h"

#include <algorithm>
#include <set>

#include "toolkit/Application.h"
#include "toolkit/ControlName.h"

namespace {

std::set<std::string> g_registeredClasses;

LRESULT CALLBACK OwnWindowProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  TControl *c = TControl::FromHandle(h);
  if (!c && msg == WM_NCCREATE) {
    auto *cs = reinterpret_cast<CREATESTRUCTA *>(l);
    c = static_cast<TControl *>(cs->lpCreateParams);
    SetWindowLongPtrA(h, GWLP_USERDATA, LONG_PTR(c));
  }
  if (!c) return DefWindowProcA(h, msg, w, l);
  return c->Dispatch(h, msg, w, l);
}

LRESULT CALLBACK SubclassWindowProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  TControl *c = TControl::FromHandle(h);
  if (!c) return DefWindowProcA(h, msg, w, l);
  return c->Dispatch(h, msg, w, l);
}

void EnsureClassRegistered(const std::string &name) {
  if (g_registeredClasses.count(name)) return;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = OwnWindowProc;
  wc.hInstance = ModuleInstance();
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = name.c_str();
  wc.style = CS_DBLCLKS;
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw EInvalidOperation("Fensterklasse " + name + " kann nicht registriert werden");
  g_registeredClasses.insert(name);
}

}  // namespace

void UnregisterToolkitWindowClasses() {
  for (auto &name : g_registeredClasses) UnregisterClassA(name.c_str(), ModuleInstance());
  g_registeredClasses.clear();
}

std::string WindowText(HWND h) {
  int n = GetWindowTextLengthA(h);
  std::string s(size_t(n) + 1, '\0');
  n = GetWindowTextA(h, &s[0], n + 1);
  s.resize(size_t(std::max(n, 0)));
  return s;
}

// ---------------------------------------------------------------------------------------

TControl::TControl(TComponent *AOwner) : TComponent(AOwner) {
  font_.OnChange = [this]() {
    parentFont_ = false;
    FontChanged();
  };
}

TControl::~TControl() {
  if (handle_) DestroyWnd();
  if (parent_) parent_->RemoveControl(this);
}

TControl *TControl::FromHandle(HWND h) {
  return h ? reinterpret_cast<TControl *>(GetWindowLongPtrA(h, GWLP_USERDATA)) : nullptr;
}

void TControl::BeginDestroy() {
  if (handle_) DestroyWnd();
}

void TControl::SetParent(TWinControl *AParent) {
  if (AParent == parent_) return;
  if (parent_) {
    if (handle_) DestroyWnd();
    parent_->RemoveControl(this);
  }
  if (AParent) {
    AParent->InsertControl(this);
    if (parentFont_) ParentFontChanged();
    if (parentColor_) ParentColorChanged();
    if (parentCtl3D_) ctl3D_ = AParent->ctl3D_;
    UpdateAnchorRules();
    if (AParent->HandleAllocated()) CreateWnd();
    if (align_ != alNone) AParent->Realign();
  }
}

void TControl::CreateParams(TCreateParams &params) {
  params.Style = WS_CHILD | WS_CLIPSIBLINGS;
}

HWND TControl::Handle() {
  if (!handle_) {
    if (parent_) parent_->Handle();  // creating the parent creates its children
    if (!handle_) CreateWnd();
  }
  return handle_;
}

void TControl::CreateWnd() {
  if (handle_) return;
  TCreateParams p;
  CreateParams(p);
  if (p.Style & WS_CHILD) p.Style = tabStop_ ? p.Style | WS_TABSTOP : p.Style & ~WS_TABSTOP;
  if (visible_) p.Style |= WS_VISIBLE;
  if (!enabled_) p.Style |= WS_DISABLED;
  HWND parentWnd = nullptr;
  if (p.Style & WS_CHILD) {
    if (!parent_) return;
    parentWnd = parent_->Handle();
    if (!parentWnd) return;
  }
  std::string cls = p.ClassName ? p.ClassName : ClassName();
  if (!p.ClassName) EnsureClassRegistered(cls);
  // A child window carries its control id where a top-level window has its menu.
  HMENU idOrMenu = parentWnd ? reinterpret_cast<HMENU>(UINT_PTR(controlId_)) : nullptr;
  HWND h = CreateWindowExA(p.ExStyle, cls.c_str(), text_.empty() ? nullptr : text_.c_str(), p.Style,
                           left_, top_, width_, WindowHeight(), parentWnd, idOrMenu, ModuleInstance(),
                           p.ClassName ? nullptr : this);
  if (!h) throw EInvalidOperation("Fenster " + Name + " kann nicht erzeugt werden");
  if (p.ClassName) {
    SetWindowLongPtrA(h, GWLP_USERDATA, LONG_PTR(this));
    prevProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(h, GWLP_WNDPROC, LONG_PTR(SubclassWindowProc)));
  }
  handle_ = h;
  PublishName();
  // The system's classes draw with the font they are given, before they are first drawn;
  // the toolkit's own classes draw with Font() and need no message.
  if (prevProc_) SendMessageA(h, WM_SETFONT, WPARAM(font_.Handle()), FALSE);
  // Controls made later lie above those made earlier.  A new child window goes below its
  // siblings: the parent makes its children's windows from the last to the first, so that
  // they need not be moved.
  if (parent_ && !parent_->creatingChildren_)
    SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  UpdateHintTool();
}

void TControl::RecreateWnd() {
  if (!handle_) return;
  DestroyWnd();
  CreateWnd();
}

void TControl::DestroyWnd() {
  HWND h = handle_;
  if (!h) return;
  // Dispatch unhooks the window at its WM_NCDESTROY and clears handle_ there; a window
  // whose procedure never reached us is forgotten here.
  DestroyWindow(h);
  handle_ = nullptr;
}

LRESULT TControl::Dispatch(HWND h, UINT msg, WPARAM w, LPARAM l) {
  TDispatchGuard guard;
  if (!handle_ && msg == WM_NCCREATE) handle_ = h;
  LRESULT result = 0;
  try {
    result = WndProc(msg, w, l);
  } catch (...) {
    ApplicationHandleException();
  }
  if (msg == WM_NCDESTROY) {
    HWND h = handle_;
    if (h) {
      RemovePropA(h, kControlNameProperty);
      SetWindowLongPtrA(h, GWLP_USERDATA, 0);
      if (prevProc_) SetWindowLongPtrA(h, GWLP_WNDPROC, LONG_PTR(prevProc_));
    }
    prevProc_ = nullptr;
    handle_ = nullptr;
    hintToolAdded_ = false;
    mouseInside_ = false;
  }
  return result;
}

LRESULT TControl::DefaultHandler(UINT msg, WPARAM w, LPARAM l) {
  if (prevProc_) return CallWindowProcA(prevProc_, handle_, msg, w, l);
  return DefWindowProcA(handle_, msg, w, l);
}

LRESULT TControl::WndProc(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
    case WM_CHAR:
      if (KeyboardMessage(msg, w)) return 0;
      break;
    case WM_MOUSEMOVE:
    case WM_TIMER:
    case WM_MOUSELEAVE:
      if (MouseTrackingMessage(msg, w)) return 0;
      break;
    case WM_SETCURSOR:
      if (LOWORD(l) == HTCLIENT && HWND(w) == handle_) {
        TCursor c = Screen->Cursor() != crDefault ? Screen->Cursor() : cursor_;
        if (c != crDefault) {
          ::SetCursor(CursorHandle(c));
          return TRUE;
        }
      }
      break;
    case WM_CONTEXTMENU:
      if (ShowPopupMenu(l)) return 0;
      break;
    case WM_SETFOCUS: {
      TCustomForm *form = GetParentForm();
      if (form && form != this) form->ControlFocused(this);
      break;
    }
    // The toolkit's own window classes paint themselves, double-buffered; the system's
    // classes keep their own painting and double clicks.
    case WM_ERASEBKGND:
      if (!prevProc_) return 1;
      break;
    case WM_PAINT:
      if (!prevProc_) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(handle_, &ps);
        PaintBuffered(dc);
        EndPaint(handle_, &ps);
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      if (!prevProc_) {
        PaintBuffered(HDC(w));
        return 0;
      }
      break;
    case WM_LBUTTONDBLCLK:
      if (!prevProc_) DblClick();
      break;
    default:
      break;
  }
  return DefaultHandler(msg, w, l);
}

void TControl::BringToFront() {
  if (handle_) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool TControl::Showing() const {
  for (const TControl *c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

bool TControl::CanFocus() const {
  for (const TControl *c = this; c; c = c->parent_)
    if (!c->visible_ || !c->enabled_) return false;
  return true;
}

void TControl::SetFocus() {
  if (HWND h = Handle()) ::SetFocus(h);
}

TCustomForm *TControl::GetParentForm() {
  TControl *c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TCustomForm *>(c);
}

void TControl::Loaded() {
  PublishName();
  UpdateAnchorRules();
}

void TControl::PublishName() {
  // The window property holds the control's own copy: Name may change after the window
  // exists (the form reader names a component once it is made).
  publishedName_ = Name;
  if (handle_) SetPropA(handle_, kControlNameProperty, HANDLE(publishedName_.c_str()));
}

// ---------------------------------------------------------------------------------------

TWinControl::~TWinControl() {
  // Children first, while this control is still whole.
  while (!controls_.empty()) {
    TControl *c = controls_.back();
    if (c->Owner()) {
      c->SetParent(nullptr);
    } else {
      delete c;
    }
  }
}

void TWinControl::InsertControl(TControl *c) {
  // A child's id is one no other child of the parent has (the sixteen bits a command
  // notification carries).
  do lastControlId_ = lastControlId_ % 0xFFFF + 1;
  while (ChildById(lastControlId_));
  c->controlId_ = lastControlId_;
  controls_.push_back(c);
  // Controls that never take the focus (speed buttons, labels) have no place in the tab
  // order; counting them would shift the places that form resources give the others.
  if (dynamic_cast<TWinControl *>(c)) tabList_.push_back(c);
  c->parent_ = this;
}

TControl *TWinControl::ChildById(UINT id) const {
  if (id == 0) return nullptr;  // menus and windows made by others
  for (TControl *c : controls_)
    if (c->controlId_ == id) return c;
  return nullptr;
}

void TWinControl::RemoveControl(TControl *c) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), c), tabList_.end());
  c->parent_ = nullptr;
  c->controlId_ = 0;
}

void TWinControl::CreateWnd() {
  TControl::CreateWnd();
  if (!handle_) return;
  std::vector<TControl *> children(controls_.rbegin(), controls_.rend());
  creatingChildren_ = true;
  try {
    for (TControl *c : children)
      if (!c->handle_) c->CreateWnd();
  } catch (...) {
    creatingChildren_ = false;
    throw;
  }
  creatingChildren_ = false;
  Realign();
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_COMMAND:
      if (l) {
        if (TControl *c = FromHandle(HWND(l)); c && c != this) {
          if (c->Command(HIWORD(w))) return 0;
        }
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (TControl *c = FromHandle(HWND(l)); c && c != this) return LRESULT(c->CtlColor(HDC(w)));
      break;
    case WM_MEASUREITEM:
      // Sent while the child's window is being made, before it is bound to its control:
      // the id names the child.
      if (TControl *c = ChildById(reinterpret_cast<MEASUREITEMSTRUCT *>(l)->CtlID);
          c && c->MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT *>(l)))
        return TRUE;
      break;
    case WM_DRAWITEM: {
      auto *dis = reinterpret_cast<DRAWITEMSTRUCT *>(l);
      if (TControl *c = FromHandle(dis->hwndItem); c && c != this) {
        c->DrawItem(*dis);
        return TRUE;
      }
      break;
    }
    case WM_SIZE:
      if (w != SIZE_MINIMIZED) {
        LRESULT r = TControl::WndProc(msg, w, l);
        Realign();
        return r;
      }
      break;
    default:
      break;
  }
  return TControl::WndProc(msg, w, l);
}
