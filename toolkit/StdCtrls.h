// The standard controls: memo, edit box, check box, push button, static text and label.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Controls.h"

class TStringList;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// The accelerator of a caption: the character after a single "&", upper case, or 0.
char AcceleratorChar(const std::string &caption);

class TMemo;

// The lines of a memo, read from and written to its window text.
class TMemoLines {
 public:
  explicit TMemoLines(TMemo &memo) : memo_(memo) {}
  int Count() const;
  std::string operator[](int i) const;
  std::string Strings(int i) const { return (*this)[i]; }
  int Add(const std::string &line);
  void Clear();
  std::string Text() const;             // every line followed by CR LF
  void SetText(const std::string &text);  // line breaks of any kind become CR LF
  std::vector<std::string> ToVector() const;
  void Assign(const std::vector<std::string> &lines);
  // Raises EFOpenError; the memo keeps what it had.
  void LoadFromFile(const std::string &fileName);
  // Every line followed by CR LF; raises EFCreateError.
  void SaveToFile(const std::string &fileName) const;
  void BeginUpdate();
  void EndUpdate();

 private:
  TMemo &memo_;
  int updating_ = 0;
};

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

class TMemo : public TCustomEdit {
 public:
  explicit TMemo(TComponent *AOwner);
  const char *ClassName() const override { return "TMemo"; }
  TMemoLines &Lines() { return lines_; }
  TScrollStyle ScrollBars = ssNone;
  bool WordWrap = true;
  bool WantReturns = true;
  bool WantTabs = false;
  void SetProperty(const std::string &name, const TPropValue &value) override;

 protected:
  void CreateParams(TCreateParams &p) override;
  bool WantsKey(WORD key) const override;

 private:
  TMemoLines lines_{*this};
};

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
