// Edit boxes: one line of text the user may type.
#pragma once

#include <string>

#include "toolkit/Controls.h"

class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent *AOwner);
  const char *ClassName() const override { return "TCustomEdit"; }
  std::string Text() const;
  void SetText(const std::string &v) { SetCaption(v); }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  void SelectAll();
  void Clear() { SetText(std::string()); }
  TNotifyEvent OnChange;
  void SetProperty(const std::string &name, const TPropValue &value) override;
  void SetEvent(const std::string &name, const TNotifyEvent &handler) override;

 protected:
  void CreateParams(TCreateParams &p) override;
  bool Command(WORD notifyCode) override;
  bool readOnly_ = false;
  bool oemConvert_ = false;
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent *AOwner);
  const char *ClassName() const override { return "TEdit"; }
};
