// List box and drop-down list whose items the control paints itself, one fixed height
// for all items.  Each item is a text and an object pointer that the control does not
// own.  While no window exists the items wait in a cache and move into the window when
// it is made (and back out when it is destroyed).
#pragma once
#include <string>
#include <vector>

#include "toolkit/Controls.h"

// A system list box ("LISTBOX"), owner-drawn with fixed item height.
class TCustomListBox : public TWinControl {
 public:
  explicit TCustomListBox(TComponent *AOwner);
  const char *ClassName() const override { return "TCustomListBox"; }

  int Count() const;
  std::string Items(int index) const;
  void *Objects(int index) const;
  void SetObjects(int index, void *object);
  // Adds an item; in a sorted list at its sorted place (ignoring case).  Returns the
  // item's position.
  int AddItem(const std::string &text, void *object = nullptr);
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
  void SetSelected(int index, bool value);
  // Position of the item whose text equals text (ignoring case), searching from the item
  // after start and wrapping round; -1 when there is none.
  int FindExact(const std::string &text, int start = -1) const;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool v);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v);
  bool IntegralHeight() const { return integralHeight_; }
  void SetIntegralHeight(bool v);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int v);

  // Destroys the window and makes it anew (style changes need a new window).
  void RecreateWnd();

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

 private:
  struct Item {
    std::string text;
    void *object;
  };
  int CachedInsertPos(const std::string &text) const;
  std::vector<Item> cache_;
  int cachedIndex_ = -1;
  std::vector<bool> cachedSelected_;
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
  bool DroppedDown() const;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void RecreateWnd();

  TNotifyEvent OnChange;

 protected:
  virtual void PaintItem(int Index, RECT Rect, UINT State);
  TCanvas &Canvas() { return *canvas_; }

  void CreateParams(TCreateParams &p) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  bool Command(WORD notifyCode) override;
  void DrawItem(const DRAWITEMSTRUCT &dis) override;
  // Height of the window with its list dropped down.
  int DroppedHeight() const;

 private:
  struct Item {
    std::string text;
    void *object;
  };
  std::vector<Item> cache_;
  int cachedIndex_ = -1;
  int itemHeight_ = 16;
  TCanvas *canvas_ = nullptr;
};

// Sets brush and font of canvas for an owner-drawn item of control in the given state.
void PrepareItemCanvas(TCanvas &canvas, TControl &control, UINT state);
