#include "toolkit/Screen.h"

#include "toolkit/Graphics.h"

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
