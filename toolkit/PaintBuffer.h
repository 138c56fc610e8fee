// The picture of the toolkit's own windows is drawn into a buffer and then copied to the
// screen.  One buffer serves them all, made once and grown to the largest window drawn: a
// bitmap of the screen's kind costs the system a look at the display each time one is
// made or selected.
#pragma once
#include <windows.h>

#include "toolkit/Graphics.h"

class TPaintBuffer {
 public:
  TPaintBuffer() = default;
  ~TPaintBuffer();
  TPaintBuffer(const TPaintBuffer &) = delete;
  TPaintBuffer &operator=(const TPaintBuffer &) = delete;
  // The buffer's DC holding at least width x height, or null (in use, or not made).
  HDC Take(HDC screenDC, int width, int height);
  void Give() { busy_ = false; }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ original_ = nullptr;
  TGdiHandle<HBITMAP> bitmap_;
  int width_ = 0, height_ = 0;
  bool busy_ = false;
};

// The buffer the windows of this module share.
TPaintBuffer &SharedPaintBuffer();
