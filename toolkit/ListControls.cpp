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

const TListKind kListBoxKind = {LB_GETCOUNT,     LB_GETTEXTLEN,   LB_GETTEXT,   LB_GETITEMDATA,
                                 LB_SETITEMDATA,  LB_ADDSTRING,    LB_INSERTSTRING, LB_RESETCONTENT,
                                 LB_GETCURSEL,    LB_SETCURSEL,    LB_INITSTORAGE,
                                 false,           0};
const TListKind kComboBoxKind = {CB_GETCOUNT,     CB_GETLBTEXTLEN, CB_GETLBTEXT,    CB_GETITEMDATA,
                                 CB_SETITEMDATA,  CB_ADDSTRING,    CB_INSERTSTRING, CB_RESETCONTENT,
                                 CB_GETCURSEL,    CB_SETCURSEL,    CB_INITSTORAGE,
                                 true,            ODS_NOFOCUSRECT};
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

// --- TCustomListControl -----------------------------------------------------------------

TCustomListControl::TCustomListControl(TComponent *AOwner, const TListKind &kind)
    : TWinControl(AOwner), kind_(kind) {
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
}

int TCustomListControl::Count() const {
  return handle_ ? int(SendMessageA(handle_, kind_.getCount, 0, 0)) : int(cache_.size());
}

std::string TCustomListControl::Items(int index) const {
  if (!handle_) {
    if (index < 0 || index >= int(cache_.size())) RaiseIndexError(index);
    return cache_[size_t(index)].text;
  }
  LRESULT n = SendMessageA(handle_, kind_.getTextLen, WPARAM(index), 0);
  if (n < 0) RaiseIndexError(index);
  std::string s(size_t(n) + 1, '\0');
  n = SendMessageA(handle_, kind_.getText, WPARAM(index), LPARAM(&s[0]));
  s.resize(size_t(std::max<LRESULT>(n, 0)));
  return s;
}

void *TCustomListControl::Objects(int index) const {
  if (!handle_) {
    if (index < 0 || index >= int(cache_.size())) RaiseIndexError(index);
    return cache_[size_t(index)].object;
  }
  LRESULT r = SendMessageA(handle_, kind_.getItemData, WPARAM(index), 0);
  if (r == LB_ERR && (index < 0 || index >= Count())) RaiseIndexError(index);
  return reinterpret_cast<void *>(r);
}

int TCustomListControl::AddItem(const std::string &text, void *object) {
  if (handle_) {
    LRESULT pos = SendMessageA(handle_, kind_.addString, 0, LPARAM(text.c_str()));
    if (pos == LB_ERR || pos == LB_ERRSPACE) throw EInvalidOperation("Listeneintrag kann nicht eingefügt werden");
    if (object) SendMessageA(handle_, kind_.setItemData, WPARAM(pos), LPARAM(object));
    return int(pos);
  }
  auto at = cache_.end();
  if (SortedItems()) {
    at = std::upper_bound(cache_.begin(), cache_.end(), text,
                          [](const std::string &t, const TItem &i) { return TextLess(t, i.text); });
  }
  return int(cache_.insert(at, TItem{text, object}) - cache_.begin());
}

int TCustomListControl::AppendItem(const std::string &text, void *object) {
  if (!handle_) {
    cache_.push_back(TItem{text, object});
    return int(cache_.size()) - 1;
  }
  // Inserting at position -1 puts the item last without the sorted list's own search.
  LRESULT pos = SendMessageA(handle_, kind_.insertString, WPARAM(-1), LPARAM(text.c_str()));
  if (pos == LB_ERR || pos == LB_ERRSPACE) throw EInvalidOperation("Listeneintrag kann nicht eingefügt werden");
  if (object) SendMessageA(handle_, kind_.setItemData, WPARAM(pos), LPARAM(object));
  return int(pos);
}

void TCustomListControl::Clear() {
  if (handle_) SendMessageA(handle_, kind_.resetContent, 0, 0);
  cache_.clear();
  cachedIndex_ = -1;
}

void TCustomListControl::ReserveItems(int count, size_t textBytes) {
  if (handle_ && count > 0) SendMessageA(handle_, kind_.initStorage, WPARAM(count), LPARAM(textBytes));
}

void TCustomListControl::BeginUpdate() {
  if (updating_++ == 0 && handle_) SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
}

void TCustomListControl::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0 && handle_) {
    SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
    Invalidate();
  }
}

void TCustomListControl::SortCachedItems() {
  std::stable_sort(cache_.begin(), cache_.end(), [](const TItem &a, const TItem &b) { return TextLess(a.text, b.text); });
}

int TCustomListControl::ItemIndex() const { return handle_ ? WindowItemIndex() : cachedIndex_; }

void TCustomListControl::SetItemIndex(int index) {
  if (handle_) SetWindowItemIndex(index);
  else cachedIndex_ = index;
}

int TCustomListControl::WindowItemIndex() const {
  LRESULT r = SendMessageA(handle_, kind_.getCurSel, 0, 0);
  return r == LB_ERR ? -1 : int(r);
}

void TCustomListControl::SetWindowItemIndex(int index) {
  SendMessageA(handle_, kind_.setCurSel, WPARAM(index), 0);
}

void TCustomListControl::SetItemHeight(int v) {
  if (v <= 0 || v == itemHeight_) return;
  itemHeight_ = v;
  if (handle_) ItemHeightChanged();
}

void TCustomListControl::CreateWnd() {
  TWinControl::CreateWnd();  // measured with ItemHeight() while it is made
  if (handle_) RestoreItemsToWindow();
}

void TCustomListControl::DestroyWnd() {
  if (handle_) KeepItemsFromWindow();
  TWinControl::DestroyWnd();
}

void TCustomListControl::KeepItemsFromWindow() {
  std::vector<TItem> items;
  int n = Count();
  items.reserve(size_t(n));
  for (int i = 0; i < n; ++i) items.push_back({Items(i), Objects(i)});
  cachedIndex_ = ItemIndex();
  cache_.swap(items);
}

void TCustomListControl::RestoreItemsToWindow() {
  int selected = cachedIndex_;
  std::vector<TItem> items;
  items.swap(cache_);
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

bool TCustomListControl::MeasureItem(MEASUREITEMSTRUCT &mis) {
  mis.itemHeight = UINT(itemHeight_);  // a drop-down list's field (item -1) as high as the items
  return true;
}

void TCustomListControl::DrawItem(const DRAWITEMSTRUCT &dis) {
  RECT rc = dis.rcItem;
  bool noItem = dis.itemID == UINT(-1);
  if (dis.itemAction == ODA_FOCUS || (noItem && !kind_.paintsEmptyField)) {
    // Only the focus rectangle changes; it is drawn by XOR, so drawing it again removes it.
    if (noItem && !kind_.paintsEmptyField && !(dis.itemState & ODS_FOCUS)) return;
    DrawFocusRect(dis.hDC, &rc);
    return;
  }
  TCanvas canvas(dis.hDC);
  PrepareItemCanvas(canvas, *this, dis.itemState);
  if (noItem) {
    canvas.FillRect(rc);
  } else {
    TCanvasScope scope(canvas_, canvas);
    PaintItem(int(dis.itemID), rc, dis.itemState);
  }
  if ((dis.itemState & ODS_FOCUS) && !(dis.itemState & kind_.noFocusRectState)) DrawFocusRect(dis.hDC, &rc);
}

void TCustomListControl::PaintItem(int Index, RECT Rect, UINT State) {
  Canvas().FillRect(Rect);
  Canvas().TextOut(Rect.left + 2, Rect.top, Items(Index));
}

// --- TCustomListBox ---------------------------------------------------------------------

TCustomListBox::TCustomListBox(TComponent *AOwner) : TCustomListControl(AOwner, kListBoxKind) {
  SetBounds(0, 0, 121, 97);
}

void TCustomListBox::CreateParams(TCreateParams &p) {
  TCustomListControl::CreateParams(p);
  p.ClassName = "LISTBOX";
  p.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  if (sorted_) p.Style |= LBS_SORT;
  if (multiSelect_) p.Style |= LBS_EXTENDEDSEL;
  if (!integralHeight_) p.Style |= LBS_NOINTEGRALHEIGHT;
  if (Ctl3D()) p.ExStyle |= WS_EX_CLIENTEDGE;
  else p.Style |= WS_BORDER;
}

int TCustomListBox::WindowItemIndex() const {
  if (multiSelect_) return int(SendMessageA(handle_, LB_GETCARETINDEX, 0, 0));
  return TCustomListControl::WindowItemIndex();
}

void TCustomListBox::SetWindowItemIndex(int index) {
  if (!multiSelect_) {
    TCustomListControl::SetWindowItemIndex(index);
    return;
  }
  SendMessageA(handle_, LB_SETSEL, FALSE, -1);
  if (index >= 0) {
    SendMessageA(handle_, LB_SETSEL, TRUE, index);
    SendMessageA(handle_, LB_SETCARETINDEX, WPARAM(index), FALSE);
  }
}

bool TCustomListBox::Selected(int index) const {
  if (index < 0 || index >= Count()) RaiseIndexError(index);
  if (!handle_) return index == ItemIndex();
  return SendMessageA(handle_, LB_GETSEL, WPARAM(index), 0) > 0;
}

void TCustomListBox::SetSorted(bool v) {
  if (v == sorted_) return;
  sorted_ = v;
  if (sorted_ && !handle_) SortCachedItems();
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

void TCustomListBox::ItemHeightChanged() {
  SendMessageA(handle_, LB_SETITEMHEIGHT, 0, ItemHeight());
  if (IntegralHeight())
    SetWindowPos(handle_, nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
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

// --- TCustomComboBox --------------------------------------------------------------------

TCustomComboBox::TCustomComboBox(TComponent *AOwner) : TCustomListControl(AOwner, kComboBoxKind) {
  SetBounds(0, 0, 145, 21);
}

void TCustomComboBox::CreateParams(TCreateParams &p) {
  TCustomListControl::CreateParams(p);
  p.ClassName = "COMBOBOX";
  p.Style |= WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
}

int TCustomComboBox::DroppedHeight() const {
  return ItemHeight() + 8 + ItemHeight() * std::max(DropDownCount, 1) + 2;
}

void TCustomComboBox::CreateWnd() {
  TCustomListControl::CreateWnd();  // made with WindowHeight(), the list dropped down
  if (!handle_) return;
  // The system measures the field with its frame around the height the window was told:
  // the field alone is given its height again, which resizes the box.
  if (SendMessageA(handle_, CB_GETITEMHEIGHT, WPARAM(-1), 0) != ItemHeight())
    SendMessageA(handle_, CB_SETITEMHEIGHT, WPARAM(-1), ItemHeight());
  TakeFieldHeight();
}

void TCustomComboBox::TakeFieldHeight() {
  RECT r;
  GetWindowRect(handle_, &r);
  height_ = r.bottom - r.top;
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomListControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (handle_) {
    // The system takes the window height for the dropped-down list and sizes the field
    // from the item height itself.
    SetWindowPos(handle_, nullptr, left_, top_, width_, DroppedHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
    TakeFieldHeight();
  }
}

void TCustomComboBox::LayoutApplied() {
  if (handle_) TakeFieldHeight();
}

void TCustomComboBox::ItemHeightChanged() {
  SendMessageA(handle_, CB_SETITEMHEIGHT, WPARAM(-1), ItemHeight());
  SendMessageA(handle_, CB_SETITEMHEIGHT, 0, ItemHeight());
  SetBounds(left_, top_, width_, height_);
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
