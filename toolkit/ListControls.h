// List box and drop-down list whose items the control paints itself, one fixed height
// for all items.  Each item is a text and an object pointer that the control does not
// own.  Both are one implementation, TCustomListControl, told apart by the messages of
// their system control; while no window exists the items wait in a cache and move into
// the window when it is made (and back out when it is destroyed).
#pragma once
#include <string>
#include <vector>

#include "toolkit/Controls.h"

// What tells the system's list box and combo box apart for the items: their messages,
// and whether the control paints the field that shows no item.
struct TListKind {
  UINT getCount, getTextLen, getText, getItemData, setItemData, addString, insertString,
      resetContent, getCurSel, setCurSel, initStorage;
  // Item -1: true, the selection field of a drop-down list, painted empty; false, an empty
  // list, which shows only its focus rectangle.
  bool paintsEmptyField;
  // The item state in which the focus rectangle is left out (0: always drawn).
  UINT noFocusRectState;
};

// An owner-drawn system list with fixed item height: its items (in the window while it
// has one, in a private cache while it has none), the selection, the item height and the
// painting of items.
class TCustomListControl : public TWinControl {
 public:
  int Count() const;
  // Raise ERangeError for a position that has no item.
  std::string Items(int index) const;
  void *Objects(int index) const;
  // Adds an item; in a sorted list at its sorted place (ignoring case; in the cache after
  // its equals, a window placing equal texts as its own search finds them).  Returns the
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

  // The height of every item: what the window is told when it measures its items while
  // it is made, and what SetItemHeight gives a window that exists.
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int v);
  // The items and the selection come through into the new window.
  using TControl::RecreateWnd;

 protected:
  TCustomListControl(TComponent *AOwner, const TListKind &kind);

  // Paints one item on Canvas(), whose brush and font are already set for the item's
  // state (ODS_SELECTED ...).  The default fills the rectangle and writes the text.
  virtual void PaintItem(int Index, RECT Rect, UINT State);
  // The canvas of the item being painted; valid only inside PaintItem.
  TCanvas &Canvas() { return *canvas_; }

  // Whether an item added goes to its sorted place.
  virtual bool SortedItems() const { return false; }
  // The selection of the window.
  virtual int WindowItemIndex() const;
  virtual void SetWindowItemIndex(int index);
  // Gives the window the new ItemHeight().
  virtual void ItemHeightChanged() = 0;
  // Orders the cached items (ignoring case), equal ones as they came.
  void SortCachedItems();

  void CreateWnd() override;
  void DestroyWnd() override;
  void DrawItem(const DRAWITEMSTRUCT &dis) override;
  bool MeasureItem(MEASUREITEMSTRUCT &mis) override;

 private:
  struct TItem {
    std::string text;
    void *object;
  };
  // The recreation pair: the window's items and selection into the cache before the
  // window goes, and out of it into the new window.
  void KeepItemsFromWindow();
  void RestoreItemsToWindow();

  const TListKind &kind_;
  std::vector<TItem> cache_;
  int cachedIndex_ = -1;  // the selection while there is no window (-1: none)
  int itemHeight_ = 16;
  int updating_ = 0;
  TCanvas *canvas_ = nullptr;
};

// A system list box ("LISTBOX"), owner-drawn with fixed item height.
class TCustomListBox : public TCustomListControl {
 public:
  explicit TCustomListBox(TComponent *AOwner);
  const char *ClassName() const override { return "TCustomListBox"; }

  bool Selected(int index) const;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool v);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v);
  bool IntegralHeight() const { return integralHeight_; }
  void SetIntegralHeight(bool v);

 protected:
  void CreateParams(TCreateParams &p) override;
  bool Command(WORD notifyCode) override;
  bool SortedItems() const override { return sorted_; }
  int WindowItemIndex() const override;
  void SetWindowItemIndex(int index) override;
  void ItemHeightChanged() override;

 private:
  bool sorted_ = false;
  bool multiSelect_ = false;
  bool integralHeight_ = false;
};

// A system drop-down list ("COMBOBOX", CBS_DROPDOWNLIST), owner-drawn with fixed item
// height for the selection field and the items.  OnChange is fired by descendants only:
// the control itself never calls it.
class TCustomComboBox : public TCustomListControl {
 public:
  explicit TCustomComboBox(TComponent *AOwner);
  const char *ClassName() const override { return "TCustomComboBox"; }

  int DropDownCount = 8;
  // Whether the list is open below the field.
  bool DroppedDown() const;

  // The window takes the height with the list dropped down, the control the height of
  // its field.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  int WindowHeight() const override { return DroppedHeight(); }
  void LayoutApplied() override;

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams &p) override;
  void CreateWnd() override;
  bool Command(WORD notifyCode) override;
  bool KeyDown(WORD key, int shift) override;
  void ItemHeightChanged() override;
  // Height of the window with its list dropped down.
  int DroppedHeight() const;

 private:
  // The control's height: that of the field the system has sized.
  void TakeFieldHeight();
  int droppedIndex_ = -1;  // the item chosen when the list opened
};

// Sets brush and font of canvas for an owner-drawn item of control in the given state.
void PrepareItemCanvas(TCanvas &canvas, TControl &control, UINT state);
