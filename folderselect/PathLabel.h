// A label that shows a path shortened to its width.
#pragma once

#include "toolkit/Label.h"

// A label that shows its caption, a path, shortened with "...\" to its own width.  It
// keeps the size it is given, never wraps and shows "&" literally.
class TPathLabel : public TCustomLabel {
 public:
  explicit TPathLabel(TComponent *AOwner);
  const char *ClassName() const override { return "TPathLabel"; }

 protected:
  void Paint(TCanvas &canvas) override;
};
