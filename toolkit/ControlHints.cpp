// Hints: each control with a hint is a tool of its form's tooltip window.
#include "toolkit/Controls.h"

#include <commctrl.h>

void TControl::SetHint(const std::string &v) {
  hint_ = v;
  UpdateHintTool();
}

bool TControl::ShowHint() const {
  if (parentShowHint_ && parent_) return parent_->ShowHint();
  return showHint_;
}

void TControl::SetShowHint(bool v) {
  showHint_ = v;
  parentShowHint_ = false;
  UpdateHintTool();
}

void TControl::SetParentShowHint(bool v) {
  parentShowHint_ = v;
  UpdateHintTool();
}

void TControl::UpdateHintTool() {
  if (!handle_) return;
  TCustomForm *form = GetParentForm();
  if (!form || form == this) return;
  // A hint is what comes before a "|"; the rest would be for a status line.
  std::string text = hint_.substr(0, hint_.find('|'));
  bool want = ShowHint() && !text.empty();
  // The hint window is made for the first control that has a hint to show.
  if (!want && !hintToolAdded_) return;
  HWND tip = form->HintWindow();
  if (!tip) return;
  TOOLINFOA ti = {};
  ti.cbSize = TTTOOLINFOA_V2_SIZE;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = form->Handle();
  ti.uId = UINT_PTR(handle_);
  ti.lpszText = const_cast<char *>(text.c_str());
  if (want && !hintToolAdded_) {
    hintToolAdded_ = SendMessageA(tip, TTM_ADDTOOLA, 0, LPARAM(&ti)) != 0;
  } else if (want) {
    SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, LPARAM(&ti));
  } else if (hintToolAdded_) {
    SendMessageA(tip, TTM_DELTOOLA, 0, LPARAM(&ti));
    hintToolAdded_ = false;
  }
}
