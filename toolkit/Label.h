// Labels: text painted by the control itself, with an accelerator that moves the focus
// to another control.
#pragma once

#include <memory>
#include <string>

#include "toolkit/Controls.h"

// Text painted by the control itself; descendants may change the painting.
class TCustomLabel : public TControl {
 public:
  explicit TCustomLabel(TComponent *AOwner);
  const char *ClassName() const override { return "TCustomLabel"; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool WordWrap = false;
  bool ShowAccelChar = true;
  bool Transparent = false;
  TAlignment Alignment = taLeftJustify;
  TControl *FocusControl() const { return focusControl_; }
  void SetFocusControl(TControl *c);
  void SetCaption(const std::string &v) override;
  // The canvas the label measures its text on (the screen, in the label's font).
  TCanvas &Canvas();
  void SetProperty(const std::string &name, const TPropValue &value) override;
  void SetReference(const std::string &name, TComponent *target) override;
  void Notification(TComponent *AComponent, TOperation Operation) override;
  // The accelerator character of the caption ('&X'), upper case, or 0.
  char Accelerator() const;

 protected:
  void Paint(TCanvas &canvas) override;
  void AdjustBounds();
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;

 private:
  bool autoSize_ = true;
  TControl *focusControl_ = nullptr;
  std::unique_ptr<TMemoryDC> measureDC_;
  std::unique_ptr<TCanvas> measureCanvas_;
};

class TLabel : public TCustomLabel {
 public:
  explicit TLabel(TComponent *AOwner) : TCustomLabel(AOwner) {}
  const char *ClassName() const override { return "TLabel"; }
};
