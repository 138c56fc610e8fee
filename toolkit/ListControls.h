// List box and drop-down list whose items the control paints itself, one fixed height
// for all items.  Each item is a text and an object pointer that the control does not
// own.  While no window exists the items wait in a cache and move into the window when
// it is made (and back out when it is destroyed).
#pragma once
#include <string>
#include <vector>

#include "toolkit/Controls.h"

// The items of an owner-drawn list or combo box: in the system control while it has a
// window, in a cache while it has none.  Each control hands over its window (nullptr
// when there is none) and the messages of its kind.
class TListItems {
 public:
  struct TMessages {
    UINT getCount, getTextLen, getText, getItemData, setItemData, addString, insertString, resetContent;
  };
  struct TItem {
    std::string text;
    void *object;
  };
  explicit TListItems(const TMessages &messages) : msg_(messages) {}

  int Count(HWND h) const;
  // Raise ERangeError for a position that has no item.
  std::string Text(HWND h, int index) const;
  void *Object(HWND h, int index) const;
  // Adds an item at the end or, when sorted, at its place ignoring case (in the cache
  // after its equals; a window places equal texts as its own search finds them); returns
  // its position.
  int Add(HWND h, const std::string &text, void *object, bool sorted);
  // Adds an item after the last, in a sorted list too; returns its position.
  int Append(HWND h, const std::string &text, void *object);
  void Clear(HWND h);
  // Orders the cached items (ignoring case), equal ones as they came.
  void SortCache();
  // Moves the window's items and selection into the cache before the window goes.
  void KeepFromWindow(HWND h, int selected);
  // The cached items, leaving the cache empty, for the control's new window.
  std::vector<TItem> TakeCache();

  // The selection while there is no window (-1: none).
  int cachedIndex = -1;

 private:
  const TMessages &msg_;
  std::vector<TItem> cache_;
};

// A system list box ("LISTBOX"), owner-drawn with fixed item height.
class TCustomListBox : public TWinControl {
 public:
  explicit TCustomListBox(TComponent *AOwner);
  const char *ClassName() const override { return "TCustomListBox"; }

  int Count() const;
  std::string Items(int index) const;
  void *Objects(int index) const;
  // Adds an item; in a sorted list at its sorted place (ignoring case).  Returns the
  // item's position.
  int AddItem(const std::string &text, void *object = nullptr);
  // Adds an item after the last, in a sorted list too: for items that come in their
  // sorted order (ignoring case), which a sorted list would otherwise look up one by one
  // among all it holds.  Returns the item's position.
  int AppendItem(const std::string &text, void *object = nullptr);
  void Clear();
  // Space for count more items of about textBytes characters in all, ahead of a bulk add.
  void ReserveItems(int count, size_t textBytes);
  // No repainting between BeginUpdate and the matching EndUpdate.
  void BeginUpdate();
  void EndUpdate();

  // The selected item (the focused one with MultiSelect), -1 for none.
  int ItemIndex() const;
  void SetItemIndex(int index);
  bool Selected(int index) const;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool v);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v);
  bool IntegralHeight() const { return integralHeight_; }
  void SetIntegralHeight(bool v);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int v);
  // The items and the selection come through into the new window.
  using TControl::RecreateWnd;

 protected:
  // Paints one item on Canvas(), whose brush and font are already set for the item's
  // state (ODS_SELECTED ...).  The default fills the rectangle and writes the text.
  virtual void PaintItem(int Index, RECT Rect, UINT State);
  // The canvas of the item being painted; valid only inside PaintItem.
  TCanvas &Canvas() { return *canvas_; }

  void CreateParams(TCreateParams &p) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  bool Command(WORD notifyCode) override;
  void DrawItem(const DRAWITEMSTRUCT &dis) override;
  bool MeasureItem(MEASUREITEMSTRUCT &mis) override;

 private:
  TListItems items_;
  bool sorted_ = false;
  bool multiSelect_ = false;
  bool integralHeight_ = false;
  int itemHeight_ = 16;
  int updating_ = 0;
  TCanvas *canvas_ = nullptr;
};

// A system drop-down list ("COMBOBOX", CBS_DROPDOWNLIST), owner-drawn with fixed item
// height for the selection field and the items.  OnChange is fired by descendants only:
// the control itself never calls it.
class TCustomComboBox : public TWinControl {
 public:
  explicit TCustomComboBox(TComponent *AOwner);
  const char *ClassName() const override { return "TCustomComboBox"; }

  int Count() const;
  std::string Items(int index) const;
  void *Objects(int index) const;
  int AddItem(const std::string &text, void *object = nullptr);
  void Clear();
  int ItemIndex() const;
  void SetItemIndex(int index);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int v);
  int DropDownCount = 8;
  // Whether the list is open below the field.
  bool DroppedDown() const;

  // The window takes the height with the list dropped down, the control the height of
  // its field.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  int WindowHeight() const override { return DroppedHeight(); }
  void LayoutApplied() override;
  // The items and the selection come through into the new window.
  using TControl::RecreateWnd;

  TNotifyEvent OnChange;

 protected:
  virtual void PaintItem(int Index, RECT Rect, UINT State);
  TCanvas &Canvas() { return *canvas_; }

  void CreateParams(TCreateParams &p) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  bool Command(WORD notifyCode) override;
  bool KeyDown(WORD key, int shift) override;
  void DrawItem(const DRAWITEMSTRUCT &dis) override;
  bool MeasureItem(MEASUREITEMSTRUCT &mis) override;
  // Height of the window with its list dropped down.
  int DroppedHeight() const;

 private:
  TListItems items_;
  int droppedIndex_ = -1;  // the item chosen when the list opened
  int itemHeight_ = 16;
  TCanvas *canvas_ = nullptr;
};

// Sets brush and font of canvas for an owner-drawn item of control in the given state.
void PrepareItemCanvas(TCanvas &canvas, TControl &control, UINT state);
