// Text in a window of its own: a caption that can be disabled and recoloured.
#pragma once

#include "toolkit/Controls.h"

// Text in a window of its own (a caption that can be disabled and recoloured).
class TStaticText : public TWinControl {
 public:
  explicit TStaticText(TComponent *AOwner);
  const char *ClassName() const override { return "TStaticText"; }
  bool AutoSize = true;
  bool ShowAccelChar = true;
  TAlignment Alignment = taLeftJustify;
  void SetProperty(const std::string &name, const TPropValue &value) override;

 protected:
  void CreateParams(TCreateParams &p) override;
};
