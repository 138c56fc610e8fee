// Speed buttons: flat image buttons that take no focus.
#pragma once
#include "toolkit/Controls.h"

class TSpeedButton : public TControl {
 public:
  explicit TSpeedButton(TComponent *AOwner);
  const char *ClassName() const override { return "TSpeedButton"; }

  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  // The picture; with NumGlyphs 2 its right half is shown while the button is disabled.
  TBitmap &Glyph() { return glyph_; }
  // Takes the picture without copying it; an empty one clears it.
  void SetGlyph(TBitmap &&bitmap);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v);
  bool Hot() const { return mouseInside(); }
  void SetProperty(const std::string &name, const TPropValue &value) override;

 protected:
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
  void Paint(TCanvas &canvas) override;
  void MouseEnter() override { Invalidate(); }
  void MouseLeave() override { Invalidate(); }

 private:
  bool flat_ = false;
  int numGlyphs_ = 1;
  TBitmap glyph_;
  TBitmap disabledGlyph_;  // made from a one-picture glyph when first needed
  bool pressed_ = false;
  const TBitmap &DisabledGlyph();
};
