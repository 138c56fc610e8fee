#include "toolkit/Controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <set>

#include "toolkit/Menus.h"
#include "toolkit/Screen.h"
#include "toolkit/OptionalApi.h"

namespace {

// Where the system cannot tell a window that the mouse has left it, the window looks.
constexpr UINT_PTR kMouseLeaveTimer = 0x7E4C;
constexpr UINT kMouseLeavePollMs = 100;

bool CursorOverWindow(HWND h) {
  POINT p;
  if (!GetCursorPos(&p)) return false;
  HWND under = WindowFromPoint(p);
  return under == h || (under && IsChild(h, under));
}

const char *const kNameProp = "TkName";
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

int ShiftState() {
  int s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= scCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= scAlt;
  return s;
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

HCURSOR CursorHandle(TCursor cursor) {
  const char *id = IDC_ARROW;
  switch (cursor) {
    case crHandPoint: id = IDC_HAND; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crIBeam: id = IDC_IBEAM; break;
    default: break;
  }
  HCURSOR h = LoadCursorA(nullptr, id);
  return h ? h : LoadCursorA(nullptr, IDC_ARROW);
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

void TControl::SetTabStop(bool v) {
  tabStop_ = v;
  if (!handle_) return;
  LONG style = GetWindowLongA(handle_, GWL_STYLE);
  // For a top-level window the same bit is the maximise box.
  if (style & WS_CHILD) SetWindowLongA(handle_, GWL_STYLE, v ? style | WS_TABSTOP : style & ~WS_TABSTOP);
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
  HWND h = CreateWindowExA(p.ExStyle, cls.c_str(), text_.empty() ? nullptr : text_.c_str(),
                           p.Style, left_, top_, width_,
                           height_, parentWnd, nullptr, ModuleInstance(),
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
      RemovePropA(h, kNameProp);
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

bool TControl::KeyboardMessage(UINT msg, WPARAM &w) {
  TCustomForm *form = GetParentForm();
  if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) {
    // The window's shortcuts first, then the control, then the window's dialog keys.
    WORD key = WORD(w);
    int shift = ShiftState();
    if (form && form->IsShortCut(key | shift)) return true;
    if (KeyDown(key, shift)) return true;
    return form && msg == WM_KEYDOWN && !WantsKey(key) && form->DialogKey(this, key, shift);
  }
  if (msg == WM_SYSCHAR) return form && form->DialogChar(char(w));
  // WM_CHAR: Tab, Enter and Escape belong to the window unless the control wants them.
  char key = char(w);
  if ((key == '\t' || key == '\r' || key == 27) && !WantsKey(key == '\t' ? VK_TAB : key == '\r' ? VK_RETURN : VK_ESCAPE)) {
    if (form && form->WantsDialogChar(this, key)) return true;
  }
  KeyPress(key);
  if (key == 0) return true;
  w = WPARAM(BYTE(key));
  return false;
}

bool TControl::MouseTrackingMessage(UINT msg, WPARAM w) {
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!mouseInside_) {
        mouseInside_ = true;
        TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, handle_, 0};
        // Without the system's leave notice, a timer looks where the mouse is.
        if (!OptionalApi().TrackMouseEvent || !OptionalApi().TrackMouseEvent(&tme))
          SetTimer(handle_, kMouseLeaveTimer, kMouseLeavePollMs, nullptr);
        MouseEnter();
      }
      return false;
    case WM_TIMER:
      if (w != kMouseLeaveTimer) return false;
      if (mouseInside_ && !CursorOverWindow(handle_)) {
        KillTimer(handle_, kMouseLeaveTimer);
        mouseInside_ = false;
        MouseLeave();
      } else if (!mouseInside_) {
        KillTimer(handle_, kMouseLeaveTimer);
      }
      return true;
    default:  // WM_MOUSELEAVE
      if (mouseInside_) {
        mouseInside_ = false;
        MouseLeave();
      }
      return false;
  }
}

bool TControl::ShowPopupMenu(LPARAM l) {
  if (!popupMenu_) return false;
  POINT pt = {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  if (l == -1) {  // from the keyboard: at the control's corner
    pt = {0, 0};
    ClientToScreen(handle_, &pt);
  }
  popupMenu_->PopupComponent = this;
  popupMenu_->Popup(pt.x, pt.y);
  return true;
}

namespace {
// The picture of the toolkit's own windows is drawn here and then copied to the screen.
// One for them all, made once and grown to the largest window drawn: a bitmap of the
// screen's kind costs the system a look at the display each time one is made or selected.
class TPaintBuffer {
 public:
  ~TPaintBuffer() {
    if (dc_) {
      if (original_) SelectObject(dc_, original_);
      DeleteDC(dc_);
    }
  }
  // The buffer's DC holding at least width x height, or null (in use, or not made).
  HDC Take(HDC screenDC, int width, int height) {
    if (busy_) return nullptr;
    if (!dc_) dc_ = CreateCompatibleDC(screenDC);
    if (!dc_) return nullptr;
    if (width > width_ || height > height_) {
      int w = std::max(width, width_), h = std::max(height, height_);
      HBITMAP b = CreateCompatibleBitmap(screenDC, w, h);
      if (!b) return nullptr;
      HGDIOBJ previous = SelectObject(dc_, b);
      if (!original_) original_ = previous;
      bitmap_.Reset(b);  // the one it replaces is no longer selected
      width_ = w;
      height_ = h;
    }
    busy_ = true;
    return dc_;
  }
  void Give() { busy_ = false; }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ original_ = nullptr;
  TGdiHandle<HBITMAP> bitmap_;
  int width_ = 0, height_ = 0;
  bool busy_ = false;
};
TPaintBuffer g_paintBuffer;
}  // namespace

void TControl::PaintBuffered(HDC dc) {
  RECT rc;
  GetClientRect(handle_, &rc);
  if (rc.right <= 0 || rc.bottom <= 0) return;
  auto draw = [&](HDC mem) {
    TCanvas canvas(mem);
    canvas.BrushColor = color_;
    canvas.Font.Assign(font_);
    canvas.FillRect(rc);
    Paint(canvas);
    BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
  };
  if (HDC shared = g_paintBuffer.Take(dc, rc.right, rc.bottom)) {
    // Each drawing starts from the state of a new DC.
    int saved = SaveDC(shared);
    try {
      draw(shared);
    } catch (...) {
      RestoreDC(shared, saved);
      g_paintBuffer.Give();
      throw;
    }
    RestoreDC(shared, saved);
    g_paintBuffer.Give();
    return;
  }
  // While the shared one is in use (a window drawn from another's drawing): one of its own.
  TMemoryDC mem(dc);
  TGdiHandle<HBITMAP> bmp(CreateCompatibleBitmap(dc, rc.right, rc.bottom));
  TSelectGuard sel(mem.Get(), bmp.Get());
  draw(mem.Get());
}

HBRUSH TControl::ColorBrush() {
  if (!brush_) brush_.Reset(CreateSolidBrush(ColorToRGB(color_)));
  return brush_.Get();
}

HBRUSH TControl::CtlColor(HDC dc) {
  SetTextColor(dc, ColorToRGB(enabled_ ? font_.Color() : clGrayText));
  SetBkColor(dc, ColorToRGB(color_));
  return ColorBrush();
}

void TControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TControl::Repaint() {
  if (handle_) {
    InvalidateRect(handle_, nullptr, TRUE);
    UpdateWindow(handle_);
  }
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

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  bool changed = ALeft != left_ || ATop != top_ || AWidth != width_ || AHeight != height_;
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  if (handle_ && changed)
    SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
  if (parent_ && !parent_->realigning_) {
    UpdateAnchorRules();
    if (align_ != alNone && changed) parent_->Realign();
  }
}

void TControl::UpdateAnchorRules() {
  if (!parent_) return;
  anchorRight_ = parent_->ClientWidth() - (left_ + width_);
  anchorBottom_ = parent_->ClientHeight() - (top_ + height_);
  anchorRulesValid_ = true;
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  if (handle_) ShowWindow(handle_, v ? SW_SHOWNA : SW_HIDE);
  if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  if (handle_) {
    EnableWindow(handle_, v);
    Invalidate();
  }
}

void TControl::SetAlign(TAlign v) {
  if (v == align_) return;
  align_ = v;
  if (parent_) parent_->Realign();
}

void TControl::SetAnchors(TAnchors v) {
  anchors_ = v;
  UpdateAnchorRules();
}

void TControl::SetCaption(const std::string &v) {
  // A window that shows the text already is not given it again, which would draw it again;
  // an edit control is, as that also puts its caret and scroll position back to the start.
  if (v == text_ && (!handle_ || !prevProc_ ||
                     (!(SendMessageA(handle_, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) &&
                      WindowText(handle_) == v)))
    return;
  text_ = v;
  if (handle_) {
    SetWindowTextA(handle_, text_.c_str());
    if (!prevProc_) Invalidate();
  }
}

void TControl::SetHint(const std::string &v) {
  hint_ = v;
  UpdateHintTool();
}

bool TControl::ShowHint() const {
  if (parentShowHint_ && parent_) return parent_->ShowHint();
  return showHint_;
}

void TControl::SetShowHint(bool v) {
  showHint_ = v;
  parentShowHint_ = false;
  UpdateHintTool();
}

void TControl::SetParentShowHint(bool v) {
  parentShowHint_ = v;
  UpdateHintTool();
}

void TControl::UpdateHintTool() {
  if (!handle_) return;
  TCustomForm *form = GetParentForm();
  if (!form || form == this) return;
  HWND tip = form->HintWindow();
  if (!tip) return;
  // A hint is what comes before a "|"; the rest would be for a status line.
  std::string text = hint_.substr(0, hint_.find('|'));
  TOOLINFOA ti = {};
  ti.cbSize = TTTOOLINFOA_V2_SIZE;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = form->Handle();
  ti.uId = UINT_PTR(handle_);
  ti.lpszText = const_cast<char *>(text.c_str());
  bool want = ShowHint() && !text.empty();
  if (want && !hintToolAdded_) {
    hintToolAdded_ = SendMessageA(tip, TTM_ADDTOOLA, 0, LPARAM(&ti)) != 0;
  } else if (want) {
    SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, LPARAM(&ti));
  } else if (hintToolAdded_) {
    SendMessageA(tip, TTM_DELTOOLA, 0, LPARAM(&ti));
    hintToolAdded_ = false;
  }
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parent_ || !parentFont_) return;
  font_.Assign(parent_->font_);  // clears parentFont_ through OnChange ...
  parentFont_ = true;            // ... which a copy from the parent must not do
}

void TControl::FontChanged() { ApplyFont(); }

void TControl::ApplyFont() {
  if (handle_) {
    SendMessageA(handle_, WM_SETFONT, WPARAM(font_.Handle()), TRUE);
    Invalidate();
  }
}

void TControl::SetColor(TColor v) {
  parentColor_ = false;
  if (v == color_) return;
  color_ = v;
  brush_.Reset();
  Invalidate();
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parent_ || !parentColor_) return;
  if (color_ != parent_->color_) {
    color_ = parent_->color_;
    brush_.Reset();
    Invalidate();
  }
}

void TControl::SetCursor(TCursor v) { cursor_ = v; }

void TControl::SetPopupMenu(TPopupMenu *v) {
  popupMenu_ = v;
  if (v) v->FreeNotification(this);
}

void TControl::Notification(TComponent *AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == popupMenu_) popupMenu_ = nullptr;
}

int TControl::TabOrder() const {
  if (!parent_) return -1;
  auto &list = parent_->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TControl::SetTabOrder(int v) {
  static int sequence = 0;
  tabOrderValue_ = v;
  tabOrderSequence_ = ++sequence;
  if (!parent_) return;
  auto &list = parent_->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (v < 0) v = 0;
  if (size_t(v) > list.size()) v = int(list.size());
  list.insert(list.begin() + v, this);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::ScaleBy(int M, int D) { ChangeScale(M, D); }

void TControl::ChangeScale(int M, int D) {
  int l = MulDiv(left_, M, D), t = MulDiv(top_, M, D);
  int w = MulDiv(left_ + width_, M, D) - l, h = MulDiv(top_ + height_, M, D) - t;
  SetBounds(l, t, w, h);
  if (!parentFont_) {
    font_.SetHeight(MulDiv(font_.Height(), M, D));
  }
}

static TAnchors AnchorsFromSet(const TPropValue &v) {
  return TAnchors(SetToInt(v, {{"akLeft", akLeft}, {"akTop", akTop}, {"akRight", akRight}, {"akBottom", akBottom}}));
}

static TCursor CursorFromProp(const TPropValue &v) {
  if (v.kind == TPropValue::Int) return v.AsInt();
  return IdentToInt(v,
                    {{"crDefault", crDefault},
                     {"crArrow", crArrow},
                     {"crHandPoint", crHandPoint},
                     {"crHourGlass", crHourGlass},
                     {"crIBeam", crIBeam}},
                    "Unbekannter Mauszeiger");
}

void TControl::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "Left") SetLeft(value.AsInt());
  else if (name == "Top") SetTop(value.AsInt());
  else if (name == "Width") SetWidth(value.AsInt());
  else if (name == "Height") SetHeight(value.AsInt());
  else if (name == "Visible") SetVisible(value.AsBool());
  else if (name == "Enabled") SetEnabled(value.AsBool());
  else if (name == "Caption" || name == "Text") SetCaption(value.AsString());
  else if (name == "Hint") SetHint(value.AsString());
  else if (name == "ShowHint") SetShowHint(value.AsBool());
  else if (name == "ParentShowHint") SetParentShowHint(value.AsBool());
  else if (name == "Color") SetColor(ColorFromProp(value));
  else if (name == "ParentColor") SetParentColor(value.AsBool());
  else if (name == "ParentFont") SetParentFont(value.AsBool());
  else if (name == "Ctl3D") { ctl3D_ = value.AsBool(); parentCtl3D_ = false; }
  else if (name == "ParentCtl3D") parentCtl3D_ = value.AsBool();
  else if (name == "Cursor") SetCursor(CursorFromProp(value));
  else if (name == "TabOrder") SetTabOrder(value.AsInt());
  else if (name == "TabStop") SetTabStop(value.AsBool());
  else if (name == "Anchors") SetAnchors(AnchorsFromSet(value));
  else if (name == "Align") {
    SetAlign(TAlign(IdentToInt(value,
                               {{"alNone", alNone},
                                {"alTop", alTop},
                                {"alBottom", alBottom},
                                {"alLeft", alLeft},
                                {"alRight", alRight},
                                {"alClient", alClient}},
                               "Unbekannte Ausrichtung")));
  } else if (name.compare(0, 5, "Font.") == 0) {
    font_.SetProperty(name.substr(5), value);
  } else TComponent::SetProperty(name, value);
}

void TControl::Loaded() {
  PublishName();
  UpdateAnchorRules();
}

void TControl::PublishName() {
  // The window property holds the control's own copy: Name may change after the window
  // exists (the form reader names a component once it is made).
  publishedName_ = Name;
  if (handle_) SetPropA(handle_, kNameProp, HANDLE(publishedName_.c_str()));
}

void TControl::SetEvent(const std::string &name, const TNotifyEvent &handler) {
  if (name == "OnClick") OnClick = handler;
  else if (name == "OnDblClick") OnDblClick = handler;
  else TComponent::SetEvent(name, handler);
}

void TControl::SetReference(const std::string &name, TComponent *target) {
  if (name == "PopupMenu") {
    auto *menu = dynamic_cast<TPopupMenu *>(target);
    if (target && !menu) throw EReadError(target->Name + " ist kein Popup-Menü");
    SetPopupMenu(menu);
  } else TComponent::SetReference(name, target);
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
  controls_.push_back(c);
  // Controls that never take the focus (speed buttons, labels) have no place in the tab
  // order; counting them would shift the places that form resources give the others.
  if (dynamic_cast<TWinControl *>(c)) tabList_.push_back(c);
  c->parent_ = this;
}

void TWinControl::RemoveControl(TControl *c) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), c), tabList_.end());
  c->parent_ = nullptr;
}

std::vector<TControl *> TWinControl::TabList() const { return tabList_; }

void TWinControl::FixupTabOrder() {
  // Form resources give each control its final place; earlier controls may have been
  // given places beyond the list as it was while they were read.
  // Of two controls given the same place, the one given it last takes it.
  std::vector<TControl *> order = tabList_;
  auto key = [this](TControl *c) {
    int index = int(std::find(tabList_.begin(), tabList_.end(), c) - tabList_.begin());
    return c->tabOrderValue_ >= 0 ? c->tabOrderValue_ : index;
  };
  std::stable_sort(order.begin(), order.end(), [&key](TControl *a, TControl *b) {
    int ka = key(a), kb = key(b);
    if (ka != kb) return ka < kb;
    return a->tabOrderSequence_ > b->tabOrderSequence_;
  });
  tabList_ = order;
  for (TControl *c : controls_)
    if (auto *w = dynamic_cast<TWinControl *>(c)) w->FixupTabOrder();
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

void TWinControl::EnableAlign() {
  if (alignLock_ > 0 && --alignLock_ == 0) Realign();
}

void TWinControl::Realign() {
  if (alignLock_ > 0 || realigning_) return;
  realigning_ = true;
  try {
    RECT area = ClientRect();
    for (TAlign which : {alTop, alBottom, alLeft, alRight, alClient}) AlignControls(which, area);
    ApplyAnchors();
  } catch (...) {
    realigning_ = false;
    throw;
  }
  realigning_ = false;
}

void TWinControl::AlignControls(TAlign which, RECT &area) {
  std::vector<TControl *> list;
  for (TControl *c : controls_)
    if (c->align_ == which && c->visible_) list.push_back(c);
  // Top and left ones stack in the order of their position, bottom and right ones backwards.
  std::stable_sort(list.begin(), list.end(), [which](TControl *a, TControl *b) {
    switch (which) {
      case alTop: return a->top_ < b->top_;
      case alBottom: return a->top_ + a->height_ > b->top_ + b->height_;
      case alLeft: return a->left_ < b->left_;
      case alRight: return a->left_ + a->width_ > b->left_ + b->width_;
      default: return false;
    }
  });
  for (TControl *c : list) {
    int w = area.right - area.left, h = area.bottom - area.top;
    switch (which) {
      case alTop:
        c->SetBounds(area.left, area.top, w, c->height_);
        area.top += c->height_;
        break;
      case alBottom:
        c->SetBounds(area.left, area.bottom - c->height_, w, c->height_);
        area.bottom -= c->height_;
        break;
      case alLeft:
        c->SetBounds(area.left, area.top, c->width_, h);
        area.left += c->width_;
        break;
      case alRight:
        c->SetBounds(area.right - c->width_, area.top, c->width_, h);
        area.right -= c->width_;
        break;
      case alClient:
        c->SetBounds(area.left, area.top, w, h);
        break;
      default:
        break;
    }
  }
}

void TWinControl::ApplyAnchors() {
  int pw = ClientWidth(), ph = ClientHeight();
  for (TControl *c : controls_) {
    if (c->align_ != alNone || !c->anchorRulesValid_) continue;
    // Anchored to both sides a control stretches; to the far side only, it moves.
    int l = c->left_, t = c->top_, w = c->width_, h = c->height_;
    if (c->anchors_ & akRight) {
      if (c->anchors_ & akLeft) w = std::max(0, pw - l - c->anchorRight_);
      else l = pw - w - c->anchorRight_;
    }
    if (c->anchors_ & akBottom) {
      if (c->anchors_ & akTop) h = std::max(0, ph - t - c->anchorBottom_);
      else t = ph - h - c->anchorBottom_;
    }
    c->SetBounds(l, t, w, h);
  }
}

void TWinControl::ChangeScale(int M, int D) {
  DisableAlign();
  TControl::ChangeScale(M, D);
  for (TControl *c : std::vector<TControl *>(controls_)) c->ChangeScale(M, D);
  for (TControl *c : controls_) c->UpdateAnchorRules();
  EnableAlign();
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl *c : controls_) c->ParentFontChanged();
}

void TWinControl::ParentColorChanged() {
  TControl::ParentColorChanged();
  for (TControl *c : controls_) c->ParentColorChanged();
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

char AcceleratorChar(const std::string &caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return UpCase(caption[i + 1]);
  }
  return 0;
}
