// Keys, mouse and popup menu of a control: the window's shortcuts and dialog keys before
// the control's own keys, MouseEnter and MouseLeave from the system's leave notice or a
// polling timer, and the control's popup menu.
#include "toolkit/Controls.h"

#include <windowsx.h>

#include "toolkit/Menus.h"
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

int ShiftState() {
  int s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= scCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= scAlt;
  return s;
}

}  // namespace

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
