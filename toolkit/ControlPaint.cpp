// The control's painting: the toolkit's own classes drawn through the shared buffer, the
// brush of its colour for the system's classes, and asking for a new drawing.
#include "toolkit/Controls.h"
#include "toolkit/PaintBuffer.h"

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
  TPaintBuffer &buffer = SharedPaintBuffer();
  if (HDC shared = buffer.Take(dc, rc.right, rc.bottom)) {
    // Each drawing starts from the state of a new DC.
    int saved = SaveDC(shared);
    try {
      draw(shared);
    } catch (...) {
      RestoreDC(shared, saved);
      buffer.Give();
      throw;
    }
    RestoreDC(shared, saved);
    buffer.Give();
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
