#include "toolkit/ListControls.h"

#include <algorithm>

namespace {

// Keeps the item canvas pointer valid exactly while one item is painted.
class TCanvasScope {
 public:
  TCanvasScope(TCanvas *&slot, TCanvas &canvas) : slot_(slot) { slot_ = &canvas; }
  ~TCanvasScope() { slot_ = nullptr; }
  TCanvasScope(const TCanvasScope &) = delete;
  TCanvasScope &operator=(const TCanvasScope &) = delete;

 private:
  TCanvas *&slot_;
};

[[noreturn]] void RaiseIndexError(int index) {
  throw ERangeError(Format("Listenindex überschreitet das Maximum (%d)", index));
}

const TListItems::TMessages kListBoxMessages = {LB_GETCOUNT,     LB_GETTEXTLEN,  LB_GETTEXT,
                                               LB_GETITEMDATA,  LB_SETITEMDATA, LB_ADDSTRING,
                                               LB_INSERTSTRING, LB_RESETCONTENT};
const TListItems::TMessages kComboBoxMessages = {CB_GETCOUNT,     CB_GETLBTEXTLEN, CB_GETLBTEXT,
                                                 CB_GETITEMDATA,  CB_SETITEMDATA,  CB_ADDSTRING,
                                                 CB_INSERTSTRING, CB_RESETCONTENT};
// The two kinds answer with the same error values.
static_assert(LB_ERR == CB_ERR && LB_ERRSPACE == CB_ERRSPACE, "list and combo box errors differ");

bool TextLess(const std::string &a, const std::string &b) { return AnsiCompareText(a, b) < 0; }

}  // namespace

void PrepareItemCanvas(TCanvas &canvas, TControl &control, UINT state) {
  canvas.Font.Assign(control.Font());
  if (state & ODS_SELECTED) {
    canvas.BrushColor = clHighlight;
    canvas.Font.SetColor(clHighlightText);
  } else {
    canvas.BrushColor = control.Color();
  }
}

// --- TListItems ------------------------------------------------------------------------

int TListItems::Count(HWND h) const {
  return h ? int(SendMessageA(h, msg_.getCount, 0, 0)) : int(cache_.size());
}

std::string TListItems::Text(HWND h, int index) const {
  if (!h) {
    if (index < 0 || index >= int(cache_.size())) RaiseIndexError(index);
    return cache_[size_t(index)].text;
  }
  LRESULT n = SendMessageA(h, msg_.getTextLen, WPARAM(index), 0);
  if (n < 0) RaiseIndexError(index);
  std::string s(size_t(n) + 1, '\0');
  n = SendMessageA(h, msg_.getText, WPARAM(index), LPARAM(&s[0]));
  s.resize(size_t(std::max<LRESULT>(n, 0)));
  return s;
}

void *TListItems::Object(HWND h, int index) const {
  if (!h) {
    if (index < 0 || index >= int(cache_.size())) RaiseIndexError(index);
    return cache_[size_t(index)].object;
  }
  LRESULT r = SendMessageA(h, msg_.getItemData, WPARAM(index), 0);
  if (r == LB_ERR && (index < 0 || index >= Count(h))) RaiseIndexError(index);
  return reinterpret_cast<void *>(r);
}

int TListItems::Add(HWND h, const std::string &text, void *object, bool sorted) {
  if (h) {
    LRESULT pos = SendMessageA(h, msg_.addString, 0, LPARAM(text.c_str()));
    if (pos == LB_ERR || pos == LB_ERRSPACE) throw EInvalidOperation("Listeneintrag kann nicht eingefügt werden");
    if (object) SendMessageA(h, msg_.setItemData, WPARAM(pos), LPARAM(object));
    return int(pos);
  }
  auto at = cache_.end();
  if (sorted) {
    at = std::upper_bound(cache_.begin(), cache_.end(), text,
                          [](const std::string &t, const TItem &i) { return TextLess(t, i.text); });
  }
  return int(cache_.insert(at, TItem{text, object}) - cache_.begin());
}

int TListItems::Append(HWND h, const std::string &text, void *object) {
  if (!h) {
    cache_.push_back(TItem{text, object});
    return int(cache_.size()) - 1;
  }
  // Inserting at position -1 puts the item last without the sorted list's own search.
  LRESULT pos = SendMessageA(h, msg_.insertString, WPARAM(-1), LPARAM(text.c_str()));
  if (pos == LB_ERR || pos == LB_ERRSPACE) throw EInvalidOperation("Listeneintrag kann nicht eingefügt werden");
  if (object) SendMessageA(h, msg_.setItemData, WPARAM(pos), LPARAM(object));
  return int(pos);
}

void TListItems::Clear(HWND h) {
  if (h) SendMessageA(h, msg_.resetContent, 0, 0);
  cache_.clear();
  cachedIndex = -1;
}

void TListItems::SortCache() {
  std::stable_sort(cache_.begin(), cache_.end(), [](const TItem &a, const TItem &b) { return TextLess(a.text, b.text); });
}

void TListItems::KeepFromWindow(HWND h, int selected) {
  std::vector<TItem> items;
  int n = Count(h);
  items.reserve(size_t(n));
  for (int i = 0; i < n; ++i) items.push_back({Text(h, i), Object(h, i)});
  cache_.swap(items);
  cachedIndex = selected;
}

std::vector<TListItems::TItem> TListItems::TakeCache() {
  std::vector<TItem> items;
  items.swap(cache_);
  return items;
}

// --- TCustomListBox ---------------------------------------------------------------------

TCustomListBox::TCustomListBox(TComponent *AOwner) : TWinControl(AOwner), items_(kListBoxMessages) {
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  SetBounds(0, 0, 121, 97);
}

void TCustomListBox::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.ClassName = "LISTBOX";
  p.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  if (sorted_) p.Style |= LBS_SORT;
  if (multiSelect_) p.Style |= LBS_EXTENDEDSEL;
  if (!integralHeight_) p.Style |= LBS_NOINTEGRALHEIGHT;
  if (Ctl3D()) p.ExStyle |= WS_EX_CLIENTEDGE;
  else p.Style |= WS_BORDER;
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  if (!handle_) return;
  // The window was made with the item height MeasureItem gave; one made without it (a
  // parent that is not ours) is given it now, and then its whole lines.
  if (SendMessageA(handle_, LB_GETITEMHEIGHT, 0, 0) != itemHeight_) {
    SendMessageA(handle_, LB_SETITEMHEIGHT, 0, itemHeight_);
    if (integralHeight_)
      SetWindowPos(handle_, nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  int selected = items_.cachedIndex;
  std::vector<TListItems::TItem> items = items_.TakeCache();
  if (!items.empty()) {
    size_t bytes = 0;
    for (auto &it : items) bytes += it.text.size() + 1;
    ReserveItems(int(items.size()), bytes);
    BeginUpdate();
    for (auto &it : items) AddItem(it.text, it.object);
    EndUpdate();
  }
  if (selected >= 0) SetItemIndex(selected);
}

void TCustomListBox::DestroyWnd() {
  if (handle_) items_.KeepFromWindow(handle_, ItemIndex());
  TWinControl::DestroyWnd();
}

int TCustomListBox::Count() const { return items_.Count(handle_); }

std::string TCustomListBox::Items(int index) const { return items_.Text(handle_, index); }

void *TCustomListBox::Objects(int index) const { return items_.Object(handle_, index); }

int TCustomListBox::AddItem(const std::string &text, void *object) {
  return items_.Add(handle_, text, object, sorted_);
}

int TCustomListBox::AppendItem(const std::string &text, void *object) {
  return items_.Append(handle_, text, object);
}

void TCustomListBox::Clear() { items_.Clear(handle_); }

void TCustomListBox::ReserveItems(int count, size_t textBytes) {
  if (handle_ && count > 0) SendMessageA(handle_, LB_INITSTORAGE, WPARAM(count), LPARAM(textBytes));
}

void TCustomListBox::BeginUpdate() {
  if (updating_++ == 0 && handle_) SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
}

void TCustomListBox::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0 && handle_) {
    SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
    Invalidate();
  }
}

int TCustomListBox::ItemIndex() const {
  if (!handle_) return items_.cachedIndex;
  if (multiSelect_) return int(SendMessageA(handle_, LB_GETCARETINDEX, 0, 0));
  LRESULT r = SendMessageA(handle_, LB_GETCURSEL, 0, 0);
  return r == LB_ERR ? -1 : int(r);
}

void TCustomListBox::SetItemIndex(int index) {
  if (!handle_) {
    items_.cachedIndex = index;
    return;
  }
  if (multiSelect_) {
    SendMessageA(handle_, LB_SETSEL, FALSE, -1);
    if (index >= 0) {
      SendMessageA(handle_, LB_SETSEL, TRUE, index);
      SendMessageA(handle_, LB_SETCARETINDEX, WPARAM(index), FALSE);
    }
  } else {
    SendMessageA(handle_, LB_SETCURSEL, WPARAM(index), 0);
  }
}

bool TCustomListBox::Selected(int index) const {
  if (index < 0 || index >= Count()) RaiseIndexError(index);
  if (!handle_) return index == items_.cachedIndex;
  return SendMessageA(handle_, LB_GETSEL, WPARAM(index), 0) > 0;
}

void TCustomListBox::SetSorted(bool v) {
  if (v == sorted_) return;
  sorted_ = v;
  if (sorted_ && !handle_) items_.SortCache();
  RecreateWnd();  // the window re-adds its items in sorted order
}

void TCustomListBox::SetMultiSelect(bool v) {
  if (v == multiSelect_) return;
  multiSelect_ = v;
  RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool v) {
  if (v == integralHeight_) return;
  integralHeight_ = v;
  RecreateWnd();
}

void TCustomListBox::SetItemHeight(int v) {
  if (v <= 0 || v == itemHeight_) return;
  itemHeight_ = v;
  if (handle_) {
    SendMessageA(handle_, LB_SETITEMHEIGHT, 0, v);
    if (integralHeight_)
      SetWindowPos(handle_, nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
  }
}

bool TCustomListBox::Command(WORD notifyCode) {
  switch (notifyCode) {
    case LBN_SELCHANGE:
      Click();
      return true;
    case LBN_DBLCLK:
      DblClick();
      return true;
    default:
      return false;
  }
}

bool TCustomListBox::MeasureItem(MEASUREITEMSTRUCT &mis) {
  mis.itemHeight = UINT(itemHeight_);
  return true;
}

void TCustomListBox::DrawItem(const DRAWITEMSTRUCT &dis) {
  RECT rc = dis.rcItem;
  if (dis.itemID == UINT(-1) || dis.itemAction == ODA_FOCUS) {
    // Only the focus rectangle changes; it is drawn by XOR, so drawing it again removes it.
    if (dis.itemID == UINT(-1) && !(dis.itemState & ODS_FOCUS)) return;
    DrawFocusRect(dis.hDC, &rc);
    return;
  }
  TCanvas canvas(dis.hDC);
  PrepareItemCanvas(canvas, *this, dis.itemState);
  {
    TCanvasScope scope(canvas_, canvas);
    PaintItem(int(dis.itemID), rc, dis.itemState);
  }
  if (dis.itemState & ODS_FOCUS) DrawFocusRect(dis.hDC, &rc);
}

void TCustomListBox::PaintItem(int Index, RECT Rect, UINT State) {
  Canvas().FillRect(Rect);
  Canvas().TextOut(Rect.left + 2, Rect.top, Items(Index));
}

// --- TCustomComboBox --------------------------------------------------------------------

TCustomComboBox::TCustomComboBox(TComponent *AOwner) : TWinControl(AOwner), items_(kComboBoxMessages) {
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  SetBounds(0, 0, 145, 21);
}

void TCustomComboBox::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.ClassName = "COMBOBOX";
  p.Style |= WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
}

int TCustomComboBox::DroppedHeight() const {
  return itemHeight_ + 8 + itemHeight_ * std::max(DropDownCount, 1) + 2;
}

void TCustomComboBox::CreateWnd() {
  TWinControl::CreateWnd();  // made with WindowHeight(), the list dropped down
  if (!handle_) return;
  // Each height given resizes the box and its list: only those MeasureItem has not given
  // (the field's, which the system measures with its frame).
  if (SendMessageA(handle_, CB_GETITEMHEIGHT, WPARAM(-1), 0) != itemHeight_)
    SendMessageA(handle_, CB_SETITEMHEIGHT, WPARAM(-1), itemHeight_);
  if (SendMessageA(handle_, CB_GETITEMHEIGHT, 0, 0) != itemHeight_)
    SendMessageA(handle_, CB_SETITEMHEIGHT, 0, itemHeight_);
  RECT r;
  GetWindowRect(handle_, &r);
  height_ = r.bottom - r.top;
  int selected = items_.cachedIndex;
  for (auto &it : items_.TakeCache()) AddItem(it.text, it.object);
  if (selected >= 0) SetItemIndex(selected);
}

void TCustomComboBox::DestroyWnd() {
  if (handle_) items_.KeepFromWindow(handle_, ItemIndex());
  TWinControl::DestroyWnd();
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (handle_) {
    // The system takes the window height for the dropped-down list and sizes the field
    // from the item height itself.
    SetWindowPos(handle_, nullptr, left_, top_, width_, DroppedHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    GetWindowRect(handle_, &r);
    height_ = r.bottom - r.top;
  }
}

void TCustomComboBox::LayoutApplied() {
  if (!handle_) return;
  RECT r;
  GetWindowRect(handle_, &r);
  height_ = r.bottom - r.top;
}

int TCustomComboBox::Count() const { return items_.Count(handle_); }

std::string TCustomComboBox::Items(int index) const { return items_.Text(handle_, index); }

void *TCustomComboBox::Objects(int index) const { return items_.Object(handle_, index); }

int TCustomComboBox::AddItem(const std::string &text, void *object) {
  return items_.Add(handle_, text, object, false);
}

void TCustomComboBox::Clear() { items_.Clear(handle_); }

int TCustomComboBox::ItemIndex() const {
  if (!handle_) return items_.cachedIndex;
  LRESULT r = SendMessageA(handle_, CB_GETCURSEL, 0, 0);
  return r == CB_ERR ? -1 : int(r);
}

void TCustomComboBox::SetItemIndex(int index) {
  if (handle_) SendMessageA(handle_, CB_SETCURSEL, WPARAM(index), 0);
  else items_.cachedIndex = index;
}

void TCustomComboBox::SetItemHeight(int v) {
  if (v <= 0 || v == itemHeight_) return;
  itemHeight_ = v;
  if (handle_) {
    SendMessageA(handle_, CB_SETITEMHEIGHT, WPARAM(-1), v);
    SendMessageA(handle_, CB_SETITEMHEIGHT, 0, v);
    SetBounds(left_, top_, width_, height_);
  }
}

bool TCustomComboBox::DroppedDown() const {
  return handle_ && SendMessageA(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

bool TCustomComboBox::Command(WORD notifyCode) {
  if (notifyCode == CBN_SELCHANGE) {
    Click();
    return true;
  }
  if (notifyCode == CBN_DROPDOWN) droppedIndex_ = ItemIndex();
  return false;
}

bool TCustomComboBox::KeyDown(WORD key, int shift) {
  if ((key != VK_RETURN && key != VK_ESCAPE) || !DroppedDown()) return false;
  // An open list takes Enter and Escape for itself, not for the window: both only close
  // it, Enter keeping the item it shows, Escape going back to the one chosen before.
  SendMessageA(handle_, CB_SHOWDROPDOWN, FALSE, 0);
  if (key == VK_ESCAPE && ItemIndex() != droppedIndex_) {
    SetItemIndex(droppedIndex_);
    Click();
  }
  return true;
}

bool TCustomComboBox::MeasureItem(MEASUREITEMSTRUCT &mis) {
  mis.itemHeight = UINT(itemHeight_);  // the field (item -1) as high as the items
  return true;
}

void TCustomComboBox::DrawItem(const DRAWITEMSTRUCT &dis) {
  RECT rc = dis.rcItem;
  if (dis.itemAction == ODA_FOCUS) {
    DrawFocusRect(dis.hDC, &rc);
    return;
  }
  TCanvas canvas(dis.hDC);
  PrepareItemCanvas(canvas, *this, dis.itemState);
  if (dis.itemID == UINT(-1)) {
    canvas.FillRect(rc);
  } else {
    TCanvasScope scope(canvas_, canvas);
    PaintItem(int(dis.itemID), rc, dis.itemState);
  }
  if ((dis.itemState & ODS_FOCUS) && !(dis.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dis.hDC, &rc);
}

void TCustomComboBox::PaintItem(int Index, RECT Rect, UINT State) {
  Canvas().FillRect(Rect);
  Canvas().TextOut(Rect.left + 2, Rect.top, Items(Index));
}
