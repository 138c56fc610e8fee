#include "toolkit/SpeedButton.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

TSpeedButton::TSpeedButton(TComponent *AOwner) : TControl(AOwner) {
  SetParentColor(true);
  SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetFlat(bool v) {
  flat_ = v;
  Invalidate();
}

void TSpeedButton::SetGlyph(TBitmap &&bitmap) {
  glyph_.TakeFrom(bitmap);
  disabledGlyph_.Clear();
  Invalidate();
}

const TBitmap &TSpeedButton::DisabledGlyph() {
  // A glyph without a picture of its own for the disabled state is shown washed out in
  // grey, so that a disabled button looks disabled.
  if (disabledGlyph_.Empty() && !glyph_.Empty()) {
    COLORREF transparent = glyph_.TransparentColor();
    disabledGlyph_.Assign(glyph_);
    TMemoryDC dc;
    TSelectGuard sel(dc.Get(), disabledGlyph_.Handle());
    for (int y = 0; y < glyph_.Height(); ++y)
      for (int x = 0; x < glyph_.Width(); ++x) {
        COLORREF c = GetPixel(dc.Get(), x, y);
        if (c == transparent) continue;
        int lum = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
        int grey = 140 + lum * 100 / 255;
        SetPixel(dc.Get(), x, y, RGB(grey, grey, grey));
      }
  }
  return disabledGlyph_;
}

void TSpeedButton::SetNumGlyphs(int v) {
  numGlyphs_ = v < 1 ? 1 : v;
  Invalidate();
}

LRESULT TSpeedButton::WndProc(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = true;
      SetCapture(handle_);
      Invalidate();
      return 0;
    case WM_LBUTTONUP: {
      if (!pressed_) break;
      pressed_ = false;
      ReleaseCapture();
      Invalidate();
      POINT pt = {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
      RECT r = ClientRect();
      if (PtInRect(&r, pt) && Enabled()) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (pressed_) {
        pressed_ = false;
        Invalidate();
      }
      break;
    default:
      break;
  }
  return TControl::WndProc(msg, w, l);
}

void TSpeedButton::Paint(TCanvas &canvas) {
  RECT r = ClientRect();
  HDC dc = canvas.Handle();
  bool down = pressed_ && mouseInside();
  if (!flat_) {
    DrawEdge(dc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
  } else if (Enabled() && (mouseInside() || down)) {
    DrawEdge(dc, &r, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  int offset = down ? 1 : 0;
  // The glyph, then the caption beside it; both centred as one block.
  int gw = 0, gh = 0;
  RECT src = {0, 0, 0, 0};
  if (!glyph_.Empty()) {
    gw = glyph_.Width() / numGlyphs_;
    gh = glyph_.Height();
    int index = (!Enabled() && numGlyphs_ > 1) ? 1 : 0;
    src = {index * gw, 0, index * gw + gw, gh};
  }
  std::string text = Caption();
  SIZE ts = {0, 0};
  if (!text.empty()) ts = canvas.TextExtent(text);
  int spacing = (gw && !text.empty()) ? 4 : 0;
  int total = gw + spacing + ts.cx;
  // Centred; a caption too long for the button is cut at the right, never the glyph.
  int x = std::max(2, int(r.right - total) / 2) + offset;
  if (gw) {
    int y = (r.bottom - gh) / 2 + offset;
    RECT dest = {x, y, x + gw, y + gh};
    canvas.BrushColor = Color();
    const TBitmap &picture = (!Enabled() && numGlyphs_ == 1) ? DisabledGlyph() : glyph_;
    canvas.BrushCopy(dest, picture, src, CLR_INVALID);  // transparent: src's bottom-left
  }
  if (!text.empty()) {
    RECT tr = {x + gw + spacing, offset, r.right, r.bottom + offset};
    TSelectGuard font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    if (!Enabled()) {
      RECT shadow = tr;
      OffsetRect(&shadow, 1, 1);
      SetTextColor(dc, ColorToRGB(clBtnHighlight));
      DrawTextA(dc, text.c_str(), int(text.size()), &shadow, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
      SetTextColor(dc, ColorToRGB(clBtnShadow));
    } else {
      SetTextColor(dc, ColorToRGB(Font().Color()));
    }
    DrawTextA(dc, text.c_str(), int(text.size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  }
}

void TSpeedButton::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "Flat") SetFlat(value.AsBool());
  else if (name == "NumGlyphs") SetNumGlyphs(value.AsInt());
  else if (name == "Glyph") {
    TBitmap b;
    b.LoadFromResourceName(ModuleInstance(), value.AsString());
    if (b.Empty()) throw EReadError("Bild " + value.s + " nicht gefunden");
    SetGlyph(std::move(b));
  } else if (name == "Layout" || name == "Spacing" || name == "Margin") {
  } else TControl::SetProperty(name, value);
}
