// The keyboard handling of a dialog, which no host message loop does for a form: Tab,
// Enter and Escape, Alt with a letter, the shortcuts of popup menus, and the control that
// has the focus.
#include "toolkit/Form.h"

#include <algorithm>
#include <functional>

#include "toolkit/Button.h"
#include "toolkit/Label.h"
#include "toolkit/Menus.h"

void TForm::SetActiveControl(TControl *c) {
  activeControl_ = c;
  if (c && handle_ && IsWindowVisible(handle_) && c->CanFocus()) c->SetFocus();
}

bool TForm::IsShortCut(int shortCut) {
  TControl *c = TControl::FromHandle(GetFocus());
  if (!c || c->GetParentForm() != this) c = this;
  for (; c; c = c->Parent())
    if (c->PopupMenu() && c->PopupMenu()->IsShortCut(shortCut)) return true;
  return false;
}

void TForm::SelectNext(TControl *current, bool forward) {
  // Every focusable tab stop of the window, in tab order, depth first.
  std::vector<TControl *> order;
  std::function<void(TWinControl *)> collect = [&](TWinControl *p) {
    for (TControl *c : p->TabList()) {
      if (!c->Visible() || !c->Enabled()) continue;
      if (c->TabStop()) order.push_back(c);
      if (auto *w = dynamic_cast<TWinControl *>(c)) collect(w);
    }
  };
  collect(this);
  if (order.empty()) return;
  auto it = std::find(order.begin(), order.end(), current);
  size_t i;
  if (it == order.end()) i = forward ? 0 : order.size() - 1;
  else {
    size_t pos = size_t(it - order.begin());
    i = forward ? (pos + 1) % order.size() : (pos + order.size() - 1) % order.size();
  }
  order[i]->SetFocus();
}

bool TForm::DialogKey(TControl *from, WORD key, int shift) {
  if (key == VK_TAB && !(shift & (scCtrl | scAlt))) {
    SelectNext(from, !(shift & scShift));
    return true;
  }
  if (key == VK_RETURN) {
    // A focused button is the one Enter presses; elsewhere the default button is.
    auto *button = dynamic_cast<TButton *>(from);
    if (!button) button = DefaultButton;
    if (button && button->Showing() && button->Enabled()) {
      button->Click();
      return true;
    }
  }
  if (key == VK_ESCAPE && CancelButton && CancelButton->Showing() && CancelButton->Enabled()) {
    CancelButton->Click();
    return true;
  }
  return false;
}

bool TForm::DialogChar(char key) {
  char wanted = UpCase(key);
  if (!wanted) return false;
  std::function<bool(TWinControl *)> search = [&](TWinControl *parent) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      TControl *c = parent->Controls(i);
      if (!c->Visible() || !c->Enabled()) continue;
      if (auto *label = dynamic_cast<TCustomLabel *>(c)) {
        TControl *target = label->FocusControl();
        if (target && label->Accelerator() == wanted && target->CanFocus()) {
          target->SetFocus();
          return true;
        }
      } else if (auto *button = dynamic_cast<TButton *>(c)) {
        if (AcceleratorChar(button->Caption()) == wanted) {
          button->SetFocus();
          button->Click();
          return true;
        }
      }
      if (auto *w = dynamic_cast<TWinControl *>(c); w && search(w)) return true;
    }
    return false;
  };
  return search(this);
}

bool TForm::WantsDialogChar(TControl *, char key) {
  if (key == '\t') return true;
  if (key == '\r') return DefaultButton != nullptr;
  if (key == 27) return CancelButton != nullptr;
  return false;
}
