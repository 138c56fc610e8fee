// The properties of a control as its form resource and its code set them: visibility,
// caption, font and colour (taken from the parent unless set), cursor, popup menu, tab
// order, scaling of the font, and the reading of them by name.
#include "toolkit/Controls.h"

#include <algorithm>

#include "toolkit/Menus.h"

void TControl::SetTabStop(bool v) {
  tabStop_ = v;
  if (!handle_) return;
  LONG style = GetWindowLongA(handle_, GWL_STYLE);
  // For a top-level window the same bit is the maximise box.
  if (style & WS_CHILD) SetWindowLongA(handle_, GWL_STYLE, v ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  if (handle_) ShowWindow(handle_, v ? SW_SHOWNA : SW_HIDE);
  if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  if (handle_) {
    EnableWindow(handle_, v);
    Invalidate();
  }
}

void TControl::SetCaption(const std::string &v) {
  // A window that shows the text already is not given it again, which would draw it again;
  // an edit control is, as that also puts its caret and scroll position back to the start.
  if (v == text_ && (!handle_ || !prevProc_ ||
                     (!(SendMessageA(handle_, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) &&
                      WindowText(handle_) == v)))
    return;
  text_ = v;
  if (handle_) {
    SetWindowTextA(handle_, text_.c_str());
    if (!prevProc_) Invalidate();
  }
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parent_ || !parentFont_) return;
  font_.Assign(parent_->font_);  // clears parentFont_ through OnChange ...
  parentFont_ = true;            // ... which a copy from the parent must not do
}

void TControl::FontChanged() { ApplyFont(); }

void TControl::ApplyFont() {
  if (handle_) {
    SendMessageA(handle_, WM_SETFONT, WPARAM(font_.Handle()), TRUE);
    Invalidate();
  }
}

void TControl::SetColor(TColor v) {
  parentColor_ = false;
  if (v == color_) return;
  color_ = v;
  brush_.Reset();
  Invalidate();
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parent_ || !parentColor_) return;
  if (color_ != parent_->color_) {
    color_ = parent_->color_;
    brush_.Reset();
    Invalidate();
  }
}

void TControl::SetCursor(TCursor v) { cursor_ = v; }

void TControl::SetPopupMenu(TPopupMenu *v) {
  popupMenu_ = v;
  if (v) v->FreeNotification(this);
}

void TControl::Notification(TComponent *AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == popupMenu_) popupMenu_ = nullptr;
}

int TControl::TabOrder() const {
  if (!parent_) return -1;
  auto &list = parent_->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TControl::SetTabOrder(int v) {
  static int sequence = 0;
  tabOrderValue_ = v;
  tabOrderSequence_ = ++sequence;
  if (!parent_) return;
  auto &list = parent_->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (v < 0) v = 0;
  if (size_t(v) > list.size()) v = int(list.size());
  list.insert(list.begin() + v, this);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

static TAnchors AnchorsFromSet(const TPropValue &v) {
  return TAnchors(SetToInt(v, {{"akLeft", akLeft}, {"akTop", akTop}, {"akRight", akRight}, {"akBottom", akBottom}}));
}

static TCursor CursorFromProp(const TPropValue &v) {
  if (v.kind == TPropValue::Int) return v.AsInt();
  return IdentToInt(v,
                    {{"crDefault", crDefault},
                     {"crArrow", crArrow},
                     {"crHandPoint", crHandPoint},
                     {"crHourGlass", crHourGlass},
                     {"crIBeam", crIBeam}},
                    "Unbekannter Mauszeiger");
}

void TControl::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "Left") SetLeft(value.AsInt());
  else if (name == "Top") SetTop(value.AsInt());
  else if (name == "Width") SetWidth(value.AsInt());
  else if (name == "Height") SetHeight(value.AsInt());
  else if (name == "Visible") SetVisible(value.AsBool());
  else if (name == "Enabled") SetEnabled(value.AsBool());
  else if (name == "Caption" || name == "Text") SetCaption(value.AsString());
  else if (name == "Hint") SetHint(value.AsString());
  else if (name == "ShowHint") SetShowHint(value.AsBool());
  else if (name == "ParentShowHint") SetParentShowHint(value.AsBool());
  else if (name == "Color") SetColor(ColorFromProp(value));
  else if (name == "ParentColor") SetParentColor(value.AsBool());
  else if (name == "ParentFont") SetParentFont(value.AsBool());
  else if (name == "Ctl3D") { ctl3D_ = value.AsBool(); parentCtl3D_ = false; }
  else if (name == "ParentCtl3D") parentCtl3D_ = value.AsBool();
  else if (name == "Cursor") SetCursor(CursorFromProp(value));
  else if (name == "TabOrder") SetTabOrder(value.AsInt());
  else if (name == "TabStop") SetTabStop(value.AsBool());
  else if (name == "Anchors") SetAnchors(AnchorsFromSet(value));
  else if (name == "Align") {
    SetAlign(TAlign(IdentToInt(value,
                               {{"alNone", alNone},
                                {"alTop", alTop},
                                {"alBottom", alBottom},
                                {"alLeft", alLeft},
                                {"alRight", alRight},
                                {"alClient", alClient}},
                               "Unbekannte Ausrichtung")));
  } else if (name.compare(0, 5, "Font.") == 0) {
    font_.SetProperty(name.substr(5), value);
  } else TComponent::SetProperty(name, value);
}

void TControl::SetEvent(const std::string &name, const TNotifyEvent &handler) {
  if (name == "OnClick") OnClick = handler;
  else if (name == "OnDblClick") OnDblClick = handler;
  else TComponent::SetEvent(name, handler);
}

void TControl::SetReference(const std::string &name, TComponent *target) {
  if (name == "PopupMenu") {
    auto *menu = dynamic_cast<TPopupMenu *>(target);
    if (target && !menu) throw EReadError(target->Name + " ist kein Popup-Menü");
    SetPopupMenu(menu);
  } else TComponent::SetReference(name, target);
}

std::vector<TControl *> TWinControl::TabList() const { return tabList_; }

void TWinControl::FixupTabOrder() {
  // Form resources give each control its final place; earlier controls may have been
  // given places beyond the list as it was while they were read.
  // Of two controls given the same place, the one given it last takes it.
  std::vector<TControl *> order = tabList_;
  auto key = [this](TControl *c) {
    int index = int(std::find(tabList_.begin(), tabList_.end(), c) - tabList_.begin());
    return c->tabOrderValue_ >= 0 ? c->tabOrderValue_ : index;
  };
  std::stable_sort(order.begin(), order.end(), [&key](TControl *a, TControl *b) {
    int ka = key(a), kb = key(b);
    if (ka != kb) return ka < kb;
    return a->tabOrderSequence_ > b->tabOrderSequence_;
  });
  tabList_ = order;
  for (TControl *c : controls_)
    if (auto *w = dynamic_cast<TWinControl *>(c)) w->FixupTabOrder();
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl *c : controls_) c->ParentFontChanged();
}

void TWinControl::ParentColorChanged() {
  TControl::ParentColorChanged();
  for (TControl *c : controls_) c->ParentColorChanged();
}
