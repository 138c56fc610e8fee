// Controls: every control of the toolkit is a window of its own.  A TControl owns its
// window and destroys it in its destructor; a TWinControl also lays out its children by
// Align and Anchors.  Window procedures never let a C++ exception escape: they report it
// through Application::ShowException.
//
// The members are defined by concern: Controls.cpp the window (creation, destruction,
// the window procedure, reflection of notifications by window or control id, the binding
// of window and object),
// ControlProperties.cpp the properties and tab order, ControlPaint.cpp painting (through
// PaintBuffer.h), ControlLayout.cpp alignment and anchors (computed by Layout.h),
// ControlInput.cpp keys, mouse tracking and the popup menu, ControlHints.cpp the tooltips.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/Classes.h"
#include "toolkit/Graphics.h"
#include "toolkit/Layout.h"
#include "toolkit/Screen.h"

class TWinControl;
class TPopupMenu;
class TForm;
class TCustomForm;
class TButton;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

struct TCreateParams {
  const char *ClassName = nullptr;  // window class; null for the toolkit's own class
  DWORD Style = 0;
  DWORD ExStyle = 0;
};

class TControl : public TComponent {
 public:
  explicit TControl(TComponent *AOwner);
  ~TControl() override;
  const char *ClassName() const override { return "TControl"; }

  TWinControl *Parent() const { return parent_; }
  virtual void SetParent(TWinControl *AParent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }
  RECT ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent visible.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool v);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign v);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors v);

  std::string Caption() const { return text_; }
  virtual void SetCaption(const std::string &v);
  std::string Hint() const { return hint_; }
  void SetHint(const std::string &v);
  bool ShowHint() const;
  void SetShowHint(bool v);
  void SetParentShowHint(bool v);

  TFont &Font() { return font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  bool Ctl3D() const { return ctl3D_; }

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor v);
  TPopupMenu *PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu *v);
  TCustomForm *GetParentForm();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;

  int TabOrder() const;
  void SetTabOrder(int v);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v);

  // The window; made on first use (or when the parent makes its own).
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  void Invalidate();
  void Refresh() { Repaint(); }
  void Repaint();
  void BringToFront();
  bool CanFocus() const;
  void SetFocus();

  virtual void Click();
  virtual void DblClick();
  // Scales position, size and font by M / D (and the children of a windowed control,
  // before the control itself).
  void ScaleBy(int M, int D);
  virtual void ChangeScale(int M, int D);

  void SetProperty(const std::string &name, const TPropValue &value) override;
  void Loaded() override;
  void SetEvent(const std::string &name, const TNotifyEvent &handler) override;
  void SetReference(const std::string &name, TComponent *target) override;
  void Notification(TComponent *AComponent, TOperation Operation) override;

  // The toolkit's window procedure entry point; public for the window class glue.
  LRESULT Dispatch(HWND h, UINT msg, WPARAM w, LPARAM l);
  static TControl *FromHandle(HWND h);

 protected:
  virtual void CreateParams(TCreateParams &params);
  virtual void CreateWnd();
  virtual void DestroyWnd();
  // Destroys the window, when there is one, and makes it anew (style changes need a new
  // window).  Only for a control whose DestroyWnd keeps what its window held: a parent's
  // window takes its children's windows with it, past their DestroyWnd.
  void RecreateWnd();
  void BeginDestroy() override;
  // Every message of the window: the default forwards to the window's own procedure.
  virtual LRESULT WndProc(UINT msg, WPARAM w, LPARAM l);
  LRESULT DefaultHandler(UINT msg, WPARAM w, LPARAM l);
  // Painting of the toolkit's own window classes.
  virtual void Paint(TCanvas &canvas) {}
  virtual void FontChanged();
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  // Notifications reflected by the parent to the control that caused them.
  virtual HBRUSH CtlColor(HDC dc);
  virtual bool Command(WORD notifyCode) { return false; }
  virtual void DrawItem(const DRAWITEMSTRUCT &dis) {}
  // The item height a system list asks for (while its window is being made, found by
  // its control id); false leaves the system's height.
  virtual bool MeasureItem(MEASUREITEMSTRUCT &mis) { return false; }
  // Keys: return true (or zero the key) when handled.
  virtual bool KeyDown(WORD key, int shift) { return false; }
  virtual void KeyPress(char &key) {}
  // Whether the control takes Tab, Enter and Escape itself.
  virtual bool WantsKey(WORD key) const { return false; }
  void ApplyFont();
  void UpdateHintTool();
  void UpdateAnchorRules();
  // Names the window by the control's Name, for programs that look for it from outside.
  void PublishName();
  // The brush of the control's colour, made on demand.
  HBRUSH ColorBrush();
  bool mouseInside() const { return mouseInside_; }
  void PaintBuffered(HDC dc);
  virtual void ParentFontChanged();
  virtual void ParentColorChanged();
  // Takes the bounds its parent's layout gives it; the move of its window joins the batch.
  void SetLayoutBounds(const RECT &bounds, TWindowMoves &moves);
  // The height its window is made and laid out with (a drop-down box's holds its list).
  virtual int WindowHeight() const { return height_; }
  // The batch has moved the window.
  virtual void LayoutApplied() {}
  // The part of ChangeScale that scales position and size.
  virtual void ScaleSize(int M, int D);

  HWND handle_ = nullptr;
  WNDPROC prevProc_ = nullptr;
  TWinControl *parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  std::string text_;

 private:
  friend class TWinControl;
  friend class TForm;
  // Steps of WndProc; each returns true when the message is done with.
  // Keys and characters: the window's shortcuts and dialog keys, then the control's own.
  bool KeyboardMessage(UINT msg, WPARAM &w);
  // MouseEnter and MouseLeave, from the system's leave notice or a polling timer.
  bool MouseTrackingMessage(UINT msg, WPARAM w);
  // The control's popup menu at the message's point (from the keyboard: its corner).
  bool ShowPopupMenu(LPARAM l);

  TAlign align_ = alNone;
  TAnchors anchors_ = akLeft | akTop;
  int anchorRight_ = 0, anchorBottom_ = 0;
  bool anchorRulesValid_ = false;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TFont font_;
  bool parentFont_ = true;
  bool ctl3D_ = true;
  bool parentCtl3D_ = true;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  TGdiHandle<HBRUSH> brush_;
  TCursor cursor_ = crDefault;
  TPopupMenu *popupMenu_ = nullptr;
  bool tabStop_ = false;
  int tabOrderValue_ = -1;
  int tabOrderSequence_ = 0;
  bool mouseInside_ = false;
  bool hintToolAdded_ = false;
  std::string publishedName_;  // the text of the window property that names the control
  UINT controlId_ = 0;         // the child window's id among its parent's, 0 without a parent
};

// A control that holds other controls and lays them out.
class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent *AOwner) : TControl(AOwner) {}
  ~TWinControl() override;
  const char *ClassName() const override { return "TWinControl"; }
  int ControlCount() const { return int(controls_.size()); }
  TControl *Controls(int i) const { return controls_.at(size_t(i)); }
  // Lays out the aligned and anchored children for the current client size.
  void Realign();
  void DisableAlign() { ++alignLock_; }
  void EnableAlign();
  void ChangeScale(int M, int D) override;
  // Children in tab order (the order of their TabOrder values).
  std::vector<TControl *> TabList() const;
  // Puts the children in the order of the TabOrder values that form resources gave them.
  void FixupTabOrder();

 protected:
  void CreateWnd() override;
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
  void FontChanged() override;
  void ParentColorChanged() override;

 private:
  friend class TControl;
  friend class TForm;
  void InsertControl(TControl *c);
  void RemoveControl(TControl *c);
  // The child with the control id, or null.
  TControl *ChildById(UINT id) const;
  std::vector<TControl *> controls_;
  std::vector<TControl *> tabList_;
  int alignLock_ = 0;
  bool realigning_ = false;
  bool creatingChildren_ = false;  // CreateWnd is making the children's windows
  UINT lastControlId_ = 0;         // the id given to the child inserted last
};

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT,
                       mrRetry = IDRETRY, mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

// What a control asks of the top-level window it sits in: the keyboard handling that no
// host message loop does for it, the focus the window keeps, the window of the hints, the
// buttons that Enter and Escape press and the result a button ends a modal window with;
// and what the form reader asks of the window it reads: its published methods.  Forms are
// the one kind.
class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent *AOwner) : TWinControl(AOwner) {}
  TModalResult ModalResult = mrNone;
  TButton *DefaultButton = nullptr;
  TButton *CancelButton = nullptr;
  // Shortcut of any popup menu of the focused control's chain or of the window.
  virtual bool IsShortCut(int shortCut) = 0;
  // Tab, Enter and Escape, and Alt with a letter.
  virtual bool DialogKey(TControl *from, WORD key, int shift) = 0;
  virtual bool DialogChar(char key) = 0;
  virtual bool WantsDialogChar(TControl *from, char key) = 0;
  virtual void ControlFocused(TControl *c) = 0;
  virtual HWND HintWindow() = 0;
  // A published method by name, as form resources bind it.
  virtual TNotifyEvent FindMethod(const std::string &name) const = 0;
};

// Unregisters the window classes the toolkit registered (at module unload).
void UnregisterToolkitWindowClasses();
// The accelerator of a caption: the character after a single "&", upper case, or 0.
char AcceleratorChar(const std::string &caption);

// Window text of any window (the control's caption as the system holds it).
std::string WindowText(HWND h);
