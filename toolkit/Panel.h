// Panels: coloured areas that may hold other controls.
#pragma once
#include "toolkit/Controls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
 public:
  explicit TPanel(TComponent *AOwner);
  const char *ClassName() const override { return "TPanel"; }
  TBevelCut BevelOuter = bvRaised;
  TBevelCut BevelInner = bvNone;
  void SetProperty(const std::string &name, const TPropValue &value) override;

 protected:
  void CreateParams(TCreateParams &p) override;
  void Paint(TCanvas &canvas) override;
};
