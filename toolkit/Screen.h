// The screen the windows are shown on, and the mouse cursors.
#pragma once
#include <windows.h>

using TCursor = int;
constexpr TCursor crDefault = 0, crArrow = -2, crIBeam = -4, crHourGlass = -11,
                  crHandPoint = -21;
HCURSOR CursorHandle(TCursor cursor);

// The screen: its resolution and the application-wide cursor.
class TScreen {
 public:
  int PixelsPerInch() const;
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c);

 private:
  TCursor cursor_ = crDefault;
};

extern TScreen *Screen;
