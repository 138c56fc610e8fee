// The screen the windows are shown on.
#pragma once
#include <windows.h>

#include "toolkit/Controls.h"

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
