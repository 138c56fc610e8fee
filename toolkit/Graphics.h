// Colours, fonts, canvases, bitmaps and image lists, and thin owners of the GDI handles
// and device contexts the controls draw with.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Classes.h"

// $00BBGGRR, or a system colour: clSystemColor | COLOR_xxx index.
using TColor = int;
constexpr TColor clSystemColor = int(0xFF000000);
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clNone = 0x1FFFFFFF;

COLORREF ColorToRGB(TColor color);
// Colour identifiers of form resources ("clWhite", "clWindowText", ...) or a number.
TColor ColorFromProp(const TPropValue &value);

// One GDI object, deleted with its owner.
template <class H>
class TGdiHandle {
 public:
  TGdiHandle() = default;
  explicit TGdiHandle(H h) : h_(h) {}
  ~TGdiHandle() { Reset(); }
  TGdiHandle(const TGdiHandle &) = delete;
  TGdiHandle &operator=(const TGdiHandle &) = delete;
  TGdiHandle(TGdiHandle &&o) noexcept : h_(o.h_) { o.h_ = nullptr; }
  TGdiHandle &operator=(TGdiHandle &&o) noexcept {
    if (this != &o) { Reset(); h_ = o.h_; o.h_ = nullptr; }
    return *this;
  }
  H Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  H Release() { H h = h_; h_ = nullptr; return h; }

 private:
  H h_ = nullptr;
};

// Selects a GDI object into a DC for one scope and restores the previous one.
class TSelectGuard {
 public:
  TSelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~TSelectGuard() { if (old_) SelectObject(dc_, old_); }
  TSelectGuard(const TSelectGuard &) = delete;
  TSelectGuard &operator=(const TSelectGuard &) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The screen's device context for one scope.
class TScreenDC {
 public:
  TScreenDC() : dc_(GetDC(nullptr)) {}
  ~TScreenDC() { if (dc_) ReleaseDC(nullptr, dc_); }
  TScreenDC(const TScreenDC &) = delete;
  TScreenDC &operator=(const TScreenDC &) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// A memory device context for one scope.
class TMemoryDC {
 public:
  explicit TMemoryDC(HDC compatible = nullptr) : dc_(CreateCompatibleDC(compatible)) {}
  ~TMemoryDC() { if (dc_) DeleteDC(dc_); }
  TMemoryDC(const TMemoryDC &) = delete;
  TMemoryDC &operator=(const TMemoryDC &) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A logical font; its handle is made on demand and remade after every change.
class TFont {
 public:
  TFont();
  std::string Name() const { return name_; }
  int Height() const { return height_; }
  TColor Color() const { return color_; }
  int Style() const { return style_; }
  int Charset() const { return charset_; }
  void SetName(const std::string &v);
  void SetHeight(int v);
  void SetColor(TColor v);
  void SetStyle(int v);
  void SetCharset(int v);
  void Assign(const TFont &other);
  HFONT Handle() const;
  // Called after every change.
  std::function<void()> OnChange;
  // Form resources: Name, Height, Size, Color, Style, Charset.
  void SetProperty(const std::string &name, const TPropValue &value);

 private:
  void Changed();
  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  TColor color_ = clWindowText;
  int style_ = 0;
  int charset_ = DEFAULT_CHARSET;
  mutable TGdiHandle<HFONT> handle_;
};

enum TBrushStyle { bsSolid, bsClear };

class TBitmap;

// Drawing on one device context with a brush colour and a font.
class TCanvas {
 public:
  explicit TCanvas(HDC dc) : dc_(dc) {}
  HDC Handle() const { return dc_; }
  TColor BrushColor = clWhite;
  TBrushStyle BrushStyle = bsSolid;
  TFont Font;

  void FillRect(const RECT &r);
  void TextOut(int x, int y, const std::string &text);
  SIZE TextExtent(const std::string &text);
  int TextWidth(const std::string &text) { return TextExtent(text).cx; }
  int TextHeight(const std::string &text) { return TextExtent(text).cy; }
  // Copies src of the bitmap to dest; its pixels of colour transparent (CLR_INVALID: the
  // colour of src's bottom-left pixel) take the brush.
  void BrushCopy(const RECT &dest, const TBitmap &bitmap, const RECT &src, COLORREF transparent);

 private:
  HDC dc_;
};

// An owned device-dependent bitmap.
class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(const TBitmap &) = delete;
  TBitmap &operator=(const TBitmap &) = delete;
  // Takes ownership of h.
  void SetHandle(HBITMAP h);
  HBITMAP Handle() const { return handle_.Get(); }
  bool Empty() const { return !handle_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // LoadBitmapA of the named resource of the module; an unknown name leaves it empty.
  void LoadFromResourceName(HINSTANCE instance, const std::string &name);
  // A blank bitmap of the given size filled with one colour.
  void SetSize(int width, int height, COLORREF fill);
  void Assign(const TBitmap &other);
  // Takes other's picture without copying it; other is left empty.
  void TakeFrom(TBitmap &other);
  void Clear() { SetHandle(nullptr); }
  COLORREF Pixel(int x, int y) const;
  // The colour of the bottom-left pixel, which the controls paint transparent.
  COLORREF TransparentColor() const { return Pixel(0, height_ - 1); }

 private:
  TGdiHandle<HBITMAP> handle_;
  int width_ = 0;
  int height_ = 0;
};

// Pictures of one size taken from a strip bitmap of the module's resources.
class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent *AOwner) : TComponent(AOwner) {}
  const char *ClassName() const override { return "TImageList"; }
  int Width = 16;
  int Height = 16;
  int Count() const { return images_ ? int(images_->size()) : 0; }
  // Cuts the strip into images of Width x Height.  The images of a strip are cut once and
  // shared by every list of the process that loads the same strip at the same size.
  void LoadStrip(HINSTANCE instance, const std::string &resourceName);
  // Copies image Index into bitmap (sized Width x Height); an index the list does not
  // hold gives a bitmap with no picture.
  void GetBitmap(int Index, TBitmap &bitmap) const;
  void SetProperty(const std::string &name, const TPropValue &value) override;

 private:
  using TImages = std::vector<std::unique_ptr<TBitmap>>;
  std::shared_ptr<const TImages> images_;
  std::string resource_;
};

HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);
