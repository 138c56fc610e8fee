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

std::string ItemTextOf(HWND h, UINT lenMsg, UINT textMsg, int index) {
  LRESULT n = SendMessageA(h, lenMsg, WPARAM(index), 0);
  if (n < 0) RaiseIndexError(index);
  std::string s(size_t(n) + 1, '\0');
  n = SendMessageA(h, textMsg, WPARAM(index), LPARAM(&s[0]));
  s.resize(size_t(std::max<LRESULT>(n, 0)));
  return s;
}

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

// --- TCustomListBox ---------------------------------------------------------------------

TCustomListBox::TCustomListBox(TComponent *AOwner) : TWinControl(AOwner) {
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  SetBounds(0, 0, 121, 97);
}

void TCustomListBox::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.ClassName = "LISTBOX";
  p.Style |= WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  if (sorted_) p.Style |= LBS_SORT;
  if (multiSelect_) p.Style |= LBS_EXTENDEDSEL;
  if (!integralHeight_) p.Style |= LBS_NOINTEGRALHEIGHT;
  if (Ctl3D()) p.ExStyle |= WS_EX_CLIENTEDGE;
  else p.Style |= WS_BORDER;
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  if (!handle_) return;
  // WM_MEASUREITEM came before the window was ours; the height is set from here on.
  SendMessageA(handle_, LB_SETITEMHEIGHT, 0, itemHeight_);
  if (integralHeight_)
    SetWindowPos(handle_, nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  std::vector<Item> items;
  items.swap(cache_);
  if (!items.empty()) {
    size_t bytes = 0;
    for (auto &it : items) bytes += it.text.size() + 1;
    ReserveItems(int(items.size()), bytes);
    BeginUpdate();
    for (auto &it : items) AddItem(it.text, it.object);
    EndUpdate();
  }
  if (cachedIndex_ >= 0) SetItemIndex(cachedIndex_);
}

void TCustomListBox::DestroyWnd() {
  if (handle_) {
    std::vector<Item> items;
    int n = Count();
    items.reserve(size_t(n));
    for (int i = 0; i < n; ++i) items.push_back({Items(i), Objects(i)});
    int index = ItemIndex();
    cache_.swap(items);
    cachedIndex_ = index;
  }
  TWinControl::DestroyWnd();
}

void TCustomListBox::RecreateWnd() {
  if (!handle_) return;
  DestroyWnd();
  CreateWnd();
}

int TCustomListBox::Count() const {
  if (handle_) return int(SendMessageA(handle_, LB_GETCOUNT, 0, 0));
  return int(cache_.size());
}

std::string TCustomListBox::Items(int index) const {
  if (handle_) return ItemTextOf(handle_, LB_GETTEXTLEN, LB_GETTEXT, index);
  if (index < 0 || index >= int(cache_.size())) RaiseIndexError(index);
  return cache_[size_t(index)].text;
}

void *TCustomListBox::Objects(int index) const {
  if (handle_) {
    LRESULT r = SendMessageA(handle_, LB_GETITEMDATA, WPARAM(index), 0);
    if (r == LB_ERR && (index < 0 || index >= Count())) RaiseIndexError(index);
    return reinterpret_cast<void *>(r);
  }
  if (index < 0 || index >= int(cache_.size())) RaiseIndexError(index);
  return cache_[size_t(index)].object;
}

void TCustomListBox::SetObjects(int index, void *object) {
  if (index < 0 || index >= Count()) RaiseIndexError(index);
  if (handle_) SendMessageA(handle_, LB_SETITEMDATA, WPARAM(index), LPARAM(object));
  else cache_[size_t(index)].object = object;
}

int TCustomListBox::CachedInsertPos(const std::string &text) const {
  if (!sorted_) return int(cache_.size());
  // After the equal ones, as the system list box places them.
  auto it = std::upper_bound(cache_.begin(), cache_.end(), text, [](const std::string &t, const Item &i) {
    return AnsiCompareText(t, i.text) < 0;
  });
  return int(it - cache_.begin());
}

int TCustomListBox::AddItem(const std::string &text, void *object) {
  if (handle_) {
    LRESULT pos = SendMessageA(handle_, LB_ADDSTRING, 0, LPARAM(text.c_str()));
    if (pos == LB_ERR || pos == LB_ERRSPACE) throw EInvalidOperation("Listeneintrag kann nicht eingefügt werden");
    if (object) SendMessageA(handle_, LB_SETITEMDATA, WPARAM(pos), LPARAM(object));
    return int(pos);
  }
  int pos = CachedInsertPos(text);
  cache_.insert(cache_.begin() + pos, Item{text, object});
  return pos;
}

void TCustomListBox::Clear() {
  if (handle_) SendMessageA(handle_, LB_RESETCONTENT, 0, 0);
  cache_.clear();
  cachedIndex_ = -1;
}

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
  if (!handle_) return cachedIndex_;
  if (multiSelect_) return int(SendMessageA(handle_, LB_GETCARETINDEX, 0, 0));
  LRESULT r = SendMessageA(handle_, LB_GETCURSEL, 0, 0);
  return r == LB_ERR ? -1 : int(r);
}

void TCustomListBox::SetItemIndex(int index) {
  if (!handle_) {
    cachedIndex_ = index;
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
  if (!handle_) return index == cachedIndex_;
  return SendMessageA(handle_, LB_GETSEL, WPARAM(index), 0) > 0;
}

void TCustomListBox::SetSelected(int index, bool value) {
  if (index < 0 || index >= Count()) RaiseIndexError(index);
  if (!handle_) {
    if (value) cachedIndex_ = index;
    else if (cachedIndex_ == index) cachedIndex_ = -1;
    return;
  }
  if (multiSelect_) SendMessageA(handle_, LB_SETSEL, value, index);
  else SendMessageA(handle_, LB_SETCURSEL, value ? WPARAM(index) : WPARAM(-1), 0);
}

int TCustomListBox::FindExact(const std::string &text, int start) const {
  if (handle_) {
    LRESULT r = SendMessageA(handle_, LB_FINDSTRINGEXACT, WPARAM(start), LPARAM(text.c_str()));
    return r == LB_ERR ? -1 : int(r);
  }
  int n = int(cache_.size());
  for (int k = 1; k <= n; ++k) {
    int i = ((start < 0 ? -1 : start) + k) % n;
    if (AnsiCompareText(cache_[size_t(i)].text, text) == 0) return i;
  }
  return -1;
}

void TCustomListBox::SetSorted(bool v) {
  if (v == sorted_) return;
  sorted_ = v;
  if (sorted_ && !handle_) {
    std::stable_sort(cache_.begin(), cache_.end(),
                     [](const Item &a, const Item &b) { return AnsiCompareText(a.text, b.text) < 0; });
  }
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

TCustomComboBox::TCustomComboBox(TComponent *AOwner) : TWinControl(AOwner) {
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  SetBounds(0, 0, 145, 21);
}

void TCustomComboBox::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.ClassName = "COMBOBOX";
  p.Style |= WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
}

int TCustomComboBox::DroppedHeight() const {
  return itemHeight_ + 8 + itemHeight_ * std::max(DropDownCount, 1) + 2;
}

void TCustomComboBox::CreateWnd() {
  // The height given at creation is the height with the list dropped down.
  int fieldHeight = height_;
  height_ = DroppedHeight();
  try {
    TWinControl::CreateWnd();
  } catch (...) {
    height_ = fieldHeight;
    throw;
  }
  height_ = fieldHeight;
  if (!handle_) return;
  SendMessageA(handle_, CB_SETITEMHEIGHT, WPARAM(-1), itemHeight_);
  SendMessageA(handle_, CB_SETITEMHEIGHT, 0, itemHeight_);
  RECT r;
  GetWindowRect(handle_, &r);
  height_ = r.bottom - r.top;
  std::vector<Item> items;
  items.swap(cache_);
  for (auto &it : items) AddItem(it.text, it.object);
  if (cachedIndex_ >= 0) SetItemIndex(cachedIndex_);
}

void TCustomComboBox::DestroyWnd() {
  if (handle_) {
    std::vector<Item> items;
    for (int i = 0, n = Count(); i < n; ++i) items.push_back({Items(i), Objects(i)});
    int index = ItemIndex();
    cache_.swap(items);
    cachedIndex_ = index;
  }
  TWinControl::DestroyWnd();
}

void TCustomComboBox::RecreateWnd() {
  if (!handle_) return;
  DestroyWnd();
  CreateWnd();
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

int TCustomComboBox::Count() const {
  if (handle_) return int(SendMessageA(handle_, CB_GETCOUNT, 0, 0));
  return int(cache_.size());
}

std::string TCustomComboBox::Items(int index) const {
  if (handle_) return ItemTextOf(handle_, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
  if (index < 0 || index >= int(cache_.size())) RaiseIndexError(index);
  return cache_[size_t(index)].text;
}

void *TCustomComboBox::Objects(int index) const {
  if (handle_) {
    LRESULT r = SendMessageA(handle_, CB_GETITEMDATA, WPARAM(index), 0);
    if (r == CB_ERR && (index < 0 || index >= Count())) RaiseIndexError(index);
    return reinterpret_cast<void *>(r);
  }
  if (index < 0 || index >= int(cache_.size())) RaiseIndexError(index);
  return cache_[size_t(index)].object;
}

int TCustomComboBox::AddItem(const std::string &text, void *object) {
  if (handle_) {
    LRESULT pos = SendMessageA(handle_, CB_ADDSTRING, 0, LPARAM(text.c_str()));
    if (pos == CB_ERR || pos == CB_ERRSPACE) throw EInvalidOperation("Listeneintrag kann nicht eingefügt werden");
    SendMessageA(handle_, CB_SETITEMDATA, WPARAM(pos), LPARAM(object));
    return int(pos);
  }
  cache_.push_back({text, object});
  return int(cache_.size()) - 1;
}

void TCustomComboBox::Clear() {
  if (handle_) SendMessageA(handle_, CB_RESETCONTENT, 0, 0);
  cache_.clear();
  cachedIndex_ = -1;
}

int TCustomComboBox::ItemIndex() const {
  if (!handle_) return cachedIndex_;
  LRESULT r = SendMessageA(handle_, CB_GETCURSEL, 0, 0);
  return r == CB_ERR ? -1 : int(r);
}

void TCustomComboBox::SetItemIndex(int index) {
  if (handle_) SendMessageA(handle_, CB_SETCURSEL, WPARAM(index), 0);
  else cachedIndex_ = index;
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
  return false;
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
