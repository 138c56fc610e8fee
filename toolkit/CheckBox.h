// Check boxes.
#pragma once

#include "toolkit/Controls.h"

class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent *AOwner);
  const char *ClassName() const override { return "TCheckBox"; }
  bool Checked() const;
  void SetChecked(bool v);
  void SetProperty(const std::string &name, const TPropValue &value) override;

 protected:
  void CreateParams(TCreateParams &p) override;
  void CreateWnd() override;
  bool Command(WORD notifyCode) override;

 private:
  mutable bool checked_ = false;
};
