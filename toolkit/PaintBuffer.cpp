#include "toolkit/PaintBuffer.h"

#include <algorithm>

TPaintBuffer::~TPaintBuffer() {
  if (dc_) {
    if (original_) SelectObject(dc_, original_);
    DeleteDC(dc_);
  }
}

HDC TPaintBuffer::Take(HDC screenDC, int width, int height) {
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

TPaintBuffer &SharedPaintBuffer() {
  static TPaintBuffer buffer;
  return buffer;
}
