#include "toolkit/Screen.h"

namespace {
TScreen g_screen;
}  // namespace

TScreen *Screen = &g_screen;

int TScreen::PixelsPerInch() const {
  TScreenDC dc;
  return GetDeviceCaps(dc.Get(), LOGPIXELSY);
}

void TScreen::SetCursor(TCursor c) {
  if (c == cursor_) return;
  cursor_ = c;
  POINT pt;
  GetCursorPos(&pt);
  HWND under = WindowFromPoint(pt);
  if (c != crDefault) ::SetCursor(CursorHandle(c));
  else if (under) SendMessageA(under, WM_SETCURSOR, WPARAM(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}
