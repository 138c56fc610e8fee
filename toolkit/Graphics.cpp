#include "toolkit/Graphics.h"

#include <map>
#include <tuple>

namespace {
HINSTANCE g_instance = nullptr;
}

HINSTANCE ModuleInstance() { return g_instance ? g_instance : GetModuleHandleA(nullptr); }
void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }

COLORREF ColorToRGB(TColor color) {
  if ((color & clSystemColor) == clSystemColor) return GetSysColor(color & 0xFF);
  return COLORREF(color & 0xFFFFFF);
}

TColor ColorFromProp(const TPropValue &value) {
  if (value.kind == TPropValue::Int) return TColor(value.i);
  return IdentToInt(value,
                    {{"clBlack", clBlack},         {"clMaroon", clMaroon},     {"clGreen", clGreen},
                     {"clOlive", clOlive},         {"clNavy", clNavy},         {"clPurple", clPurple},
                     {"clTeal", clTeal},           {"clGray", clGray},         {"clSilver", clSilver},
                     {"clRed", clRed},             {"clLime", clLime},         {"clYellow", clYellow},
                     {"clBlue", clBlue},           {"clFuchsia", clFuchsia},   {"clAqua", clAqua},
                     {"clWhite", clWhite},         {"clWindow", clWindow},     {"clWindowText", clWindowText},
                     {"clBtnFace", clBtnFace},     {"clBtnText", clBtnText},   {"clGrayText", clGrayText},
                     {"clHighlight", clHighlight}, {"clInfoBk", clInfoBk},     {"clNone", clNone}},
                    "Unbekannte Farbe");
}

// ---------------------------------------------------------------------------------------

TFont::TFont() = default;

void TFont::Changed() {
  handle_.Reset();
  if (OnChange) OnChange();
}

void TFont::SetName(const std::string &v) { if (v != name_) { name_ = v; Changed(); } }
void TFont::SetHeight(int v) { if (v != height_) { height_ = v; Changed(); } }
void TFont::SetColor(TColor v) { if (v != color_) { color_ = v; Changed(); } }
void TFont::SetStyle(int v) { if (v != style_) { style_ = v; Changed(); } }
void TFont::SetCharset(int v) { if (v != charset_) { charset_ = v; Changed(); } }

void TFont::Assign(const TFont &o) {
  if (o.name_ == name_ && o.height_ == height_ && o.color_ == color_ && o.style_ == style_ &&
      o.charset_ == charset_)
    return;
  name_ = o.name_;
  height_ = o.height_;
  color_ = o.color_;
  style_ = o.style_;
  charset_ = o.charset_;
  Changed();
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTA lf = {};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) != 0;
    lf.lfUnderline = (style_ & fsUnderline) != 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) != 0;
    lf.lfCharSet = BYTE(charset_);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    handle_.Reset(CreateFontIndirectA(&lf));
  }
  return handle_.Get();
}

void TFont::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "Name") SetName(value.AsString());
  else if (name == "Height") SetHeight(value.AsInt());
  else if (name == "Size") {
    TScreenDC dc;
    SetHeight(-MulDiv(value.AsInt(), GetDeviceCaps(dc.Get(), LOGPIXELSY), 72));
  } else if (name == "Color") SetColor(ColorFromProp(value));
  else if (name == "Charset") {
    if (value.kind == TPropValue::Int) SetCharset(value.AsInt());
    else
      SetCharset(IdentToInt(value,
                            {{"ANSI_CHARSET", ANSI_CHARSET},
                             {"OEM_CHARSET", OEM_CHARSET},
                             {"DEFAULT_CHARSET", DEFAULT_CHARSET}},
                            "Unbekannter Zeichensatz"));
  } else if (name == "Style") {
    SetStyle(SetToInt(value, {{"fsBold", fsBold}, {"fsItalic", fsItalic}, {"fsUnderline", fsUnderline},
                              {"fsStrikeOut", fsStrikeOut}}));
  } else if (name == "Pitch") {
    // fpDefault only; the face name decides.
  } else
    throw EReadError("Eigenschaft Font." + name + " existiert nicht");
}

// ---------------------------------------------------------------------------------------

void TCanvas::FillRect(const RECT &r) {
  if (BrushStyle == bsClear) return;
  TGdiHandle<HBRUSH> brush(CreateSolidBrush(ColorToRGB(BrushColor)));
  ::FillRect(dc_, &r, brush.Get());
}

void TCanvas::TextOut(int x, int y, const std::string &text) {
  TSelectGuard font(dc_, Font.Handle());
  SetTextColor(dc_, ColorToRGB(Font.Color()));
  if (BrushStyle == bsClear) {
    SetBkMode(dc_, TRANSPARENT);
  } else {
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, ColorToRGB(BrushColor));
  }
  ::TextOutA(dc_, x, y, text.data(), int(text.size()));
}

SIZE TCanvas::TextExtent(const std::string &text) {
  TSelectGuard font(dc_, Font.Handle());
  SIZE s = {0, 0};
  GetTextExtentPoint32A(dc_, text.data(), int(text.size()), &s);
  return s;
}

void TCanvas::BrushCopy(const RECT &dest, const TBitmap &bitmap, const RECT &src, COLORREF transparent) {
  if (bitmap.Empty()) return;
  int w = src.right - src.left, h = src.bottom - src.top;
  int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  TMemoryDC imageDC(dc_), maskDC(dc_);
  TSelectGuard image(imageDC.Get(), bitmap.Handle());
  if (transparent == CLR_INVALID) transparent = GetPixel(imageDC.Get(), src.left, src.bottom - 1);
  // Mask: 1 where the picture has the transparent colour.
  TGdiHandle<HBITMAP> mask(CreateBitmap(w, h, 1, 1, nullptr));
  TSelectGuard maskSel(maskDC.Get(), mask.Get());
  SetBkColor(imageDC.Get(), transparent);
  BitBlt(maskDC.Get(), 0, 0, w, h, imageDC.Get(), src.left, src.top, SRCCOPY);
  if (dw == w && dh == h) {
    // The picture, then the brush where the mask is set: (D and not S) or (P and S).
    BitBlt(dc_, dest.left, dest.top, w, h, imageDC.Get(), src.left, src.top, SRCCOPY);
    TGdiHandle<HBRUSH> brush(CreateSolidBrush(ColorToRGB(BrushColor)));
    TSelectGuard brushSel(dc_, brush.Get());
    COLORREF bk = SetBkColor(dc_, RGB(255, 255, 255)), text = SetTextColor(dc_, RGB(0, 0, 0));
    BitBlt(dc_, dest.left, dest.top, w, h, maskDC.Get(), 0, 0, 0x00E20746);  // DSPDxax
    SetBkColor(dc_, bk);
    SetTextColor(dc_, text);
    return;
  }
  // Stretched: the picture with brush colour where the mask is set, made apart first.
  TMemoryDC workDC(dc_);
  TGdiHandle<HBITMAP> work(CreateCompatibleBitmap(dc_, w, h));
  TSelectGuard workSel(workDC.Get(), work.Get());
  BitBlt(workDC.Get(), 0, 0, w, h, imageDC.Get(), src.left, src.top, SRCCOPY);
  SetBkColor(workDC.Get(), RGB(255, 255, 255));
  SetTextColor(workDC.Get(), RGB(0, 0, 0));
  BitBlt(workDC.Get(), 0, 0, w, h, maskDC.Get(), 0, 0, 0x00220326);  // DSna: clear masked pixels
  {
    TGdiHandle<HBRUSH> brush(CreateSolidBrush(ColorToRGB(BrushColor)));
    TGdiHandle<HBITMAP> fill(CreateCompatibleBitmap(dc_, w, h));
    TMemoryDC fillDC(dc_);
    TSelectGuard fillSel(fillDC.Get(), fill.Get());
    RECT all = {0, 0, w, h};
    ::FillRect(fillDC.Get(), &all, brush.Get());
    SetBkColor(fillDC.Get(), RGB(255, 255, 255));
    SetTextColor(fillDC.Get(), RGB(0, 0, 0));
    BitBlt(fillDC.Get(), 0, 0, w, h, maskDC.Get(), 0, 0, SRCAND);  // brush where masked
    BitBlt(workDC.Get(), 0, 0, w, h, fillDC.Get(), 0, 0, SRCPAINT);
  }
  StretchBlt(dc_, dest.left, dest.top, dw, dh, workDC.Get(), 0, 0, w, h, SRCCOPY);
}

// ---------------------------------------------------------------------------------------

void TBitmap::SetHandle(HBITMAP h) {
  handle_.Reset(h);
  width_ = height_ = 0;
  if (h) {
    BITMAP bm = {};
    GetObjectA(h, sizeof bm, &bm);
    width_ = bm.bmWidth;
    height_ = bm.bmHeight;
  }
}

void TBitmap::TakeFrom(TBitmap &other) {
  if (&other == this) return;
  handle_ = std::move(other.handle_);
  width_ = other.width_;
  height_ = other.height_;
  other.width_ = other.height_ = 0;
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string &name) {
  SetHandle(LoadBitmapA(instance, name.c_str()));
}

void TBitmap::SetSize(int width, int height, COLORREF fill) {
  TScreenDC screen;
  HBITMAP h = CreateCompatibleBitmap(screen.Get(), width, height);
  SetHandle(h);
  if (!h) return;
  TMemoryDC dc(screen.Get());
  TSelectGuard sel(dc.Get(), h);
  TGdiHandle<HBRUSH> brush(CreateSolidBrush(fill));
  RECT r = {0, 0, width, height};
  ::FillRect(dc.Get(), &r, brush.Get());
}

void TBitmap::Assign(const TBitmap &other) {
  if (other.Empty()) {
    Clear();
    return;
  }
  SetHandle(HBITMAP(CopyImage(other.Handle(), IMAGE_BITMAP, 0, 0, 0)));
}

COLORREF TBitmap::Pixel(int x, int y) const {
  if (!handle_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  TMemoryDC dc;
  TSelectGuard sel(dc.Get(), handle_.Get());
  return GetPixel(dc.Get(), x, y);
}

// ---------------------------------------------------------------------------------------

void TImageList::LoadStrip(HINSTANCE instance, const std::string &resourceName) {
  images_.reset();
  resource_ = resourceName;
  // Every window of a kind loads the same strips: they are cut once, and kept while the
  // module is loaded.
  using TKey = std::tuple<HINSTANCE, std::string, int, int>;
  static std::map<TKey, std::shared_ptr<const TImages>> cut;
  TKey key(instance, resourceName, Width, Height);
  auto found = cut.find(key);
  if (found != cut.end()) {
    images_ = found->second;
    return;
  }
  TBitmap strip;
  strip.LoadFromResourceName(instance, resourceName);
  if (strip.Empty() || Width <= 0 || Height <= 0) return;
  auto images = std::make_shared<TImages>();
  TScreenDC screen;
  TMemoryDC src(screen.Get()), dst(screen.Get());
  TSelectGuard srcSel(src.Get(), strip.Handle());
  for (int x = 0; x + Width <= strip.Width(); x += Width) {
    auto image = std::make_unique<TBitmap>();
    image->SetHandle(CreateCompatibleBitmap(screen.Get(), Width, Height));
    TSelectGuard dstSel(dst.Get(), image->Handle());
    BitBlt(dst.Get(), 0, 0, Width, Height, src.Get(), x, 0, SRCCOPY);
    images->push_back(std::move(image));
  }
  images_ = images;
  cut.emplace(key, images_);
}

void TImageList::GetBitmap(int Index, TBitmap &bitmap) const {
  if (Index < 0 || Index >= Count()) {
    // No picture: a blank image whose every pixel is the transparent colour.
    bitmap.SetSize(Width, Height, RGB(255, 0, 255));
    return;
  }
  bitmap.Assign(*(*images_)[size_t(Index)]);
}

void TImageList::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "Width") Width = value.AsInt();
  else if (name == "Height") Height = value.AsInt();
  else if (name == "Bitmap") LoadStrip(ModuleInstance(), value.AsString());
  else if (name == "BkColor" || name == "Masked" || name == "DrawingStyle") {
    // Pictures are drawn with the colour of their bottom-left pixel transparent.
  } else TComponent::SetProperty(name, value);
}
