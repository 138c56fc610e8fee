// Memos: edit boxes of many lines, and their lines as a list.
#pragma once

#include <string>
#include <vector>

#include "toolkit/Edit.h"

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo;

// The lines of a memo, read from and written to its window text.
class TMemoLines {
 public:
  explicit TMemoLines(TMemo &memo) : memo_(memo) {}
  int Count() const;
  void Clear();
  std::string Text() const;             // every line followed by CR LF
  void SetText(const std::string &text);  // line breaks of any kind become CR LF
  std::vector<std::string> ToVector() const;
  void Assign(const std::vector<std::string> &lines);
  // Raises EFOpenError; the memo keeps what it had.
  void LoadFromFile(const std::string &fileName);
  void BeginUpdate();
  void EndUpdate();

 private:
  TMemo &memo_;
  int updating_ = 0;
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
  // Puts the caret after the last character and scrolls the last line into view.
  void ScrollToEnd();

 protected:
  void CreateParams(TCreateParams &p) override;
  bool WantsKey(WORD key) const override;

 private:
  TMemoLines lines_{*this};
};
