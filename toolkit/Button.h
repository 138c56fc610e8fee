// Push buttons, with the modal result they give a form and the Enter and Escape roles.
#pragma once

#include "toolkit/Controls.h"

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent *AOwner);
  const char *ClassName() const override { return "TButton"; }
  int ModalResult = 0;
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v);
  // Sets the form's modal result, then runs OnClick.
  void Click() override;
  void SetProperty(const std::string &name, const TPropValue &value) override;

 protected:
  void CreateParams(TCreateParams &p) override;
  bool Command(WORD notifyCode) override;
  bool WantsKey(WORD key) const override { return false; }

 private:
  bool default_ = false;
  bool cancel_ = false;
};
