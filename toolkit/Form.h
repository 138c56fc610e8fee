// Forms: top-level windows whose layout comes from form resources, shown modeless or
// modal, with the keyboard handling of a dialog.
//
// The members are defined by concern: Form.cpp the form itself (construction, form
// resources and the properties and icons they give, published methods, the hint window,
// the window procedure), FormFrame.cpp the frame, client size, place and showing,
// FormModal.cpp the modal loop, FormKeys.cpp the dialog keys.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/Application.h"
#include "toolkit/Screen.h"

class TButton;

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition { poDesigned, poScreenCenter };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };

// A top-level window.  Its layout is read from the form resources that FormResources names
// (ancestor first, each descendant listing its changes); event handlers are the methods
// registered with RegisterMethod, bound by name.  Construct with CreateForm<T>.
class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent *AOwner);
  ~TForm() override;
  const char *ClassName() const override { return "TForm"; }

  // Reads the form resources, binds the components, scales to the screen and runs OnCreate.
  // Given the window's bounds (in screen pixels), the form is laid out for them before its
  // windows are made, so that each window is made once, in its final place; a form that is
  // scaled to the screen first takes them afterwards, from the caller.
  void InitForm(const RECT *bounds = nullptr);

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  unsigned BorderIcons() const { return borderIcons_; }
  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetClientWidth(int v);
  void SetClientHeight(int v);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetVisible(bool v) override;
  void SetCaption(const std::string &v) override;
  // Moves the window to the middle of the screen (before its window is made: where it
  // will be made).
  void CenterOnScreen();

  // Hides the window (a form that is shown modally ends its modal loop with mrCancel).
  void Close();
  // Shows the window modally; returns ModalResult.
  int ShowModal();
  int HelpContext = 0;
  int PixelsPerInch = 96;
  bool Scaled = true;
  TPosition Position = poDesigned;

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TControl *ActiveControl() const { return activeControl_; }
  void SetActiveControl(TControl *c);

  // Shortcut of any popup menu of the focused control's chain or of the form.
  bool IsShortCut(int shortCut) override;
  // Tab, Enter and Escape handling for the controls, since no host message loop does it.
  bool DialogKey(TControl *from, WORD key, int shift) override;
  // Alt+key: the label whose accelerator it is focuses its control, the button whose
  // accelerator it is is pressed.  True when one took it.
  bool DialogChar(char key) override;
  bool WantsDialogChar(TControl *from, char key) override;
  void SelectNext(TControl *current, bool forward);
  void ControlFocused(TControl *c) override { activeControl_ = c; }
  HWND HintWindow() override;

  void SetProperty(const std::string &name, const TPropValue &value) override;
  void SetEvent(const std::string &name, const TNotifyEvent &handler) override;
  void SetReference(const std::string &name, TComponent *target) override;
  void Notification(TComponent *AComponent, TOperation Operation) override;

  // A published method by name, as form resources bind it.
  TNotifyEvent FindMethod(const std::string &name) const override;

 protected:
  // The form resources of this class, ancestor first.
  virtual std::vector<std::string> FormResources() const { return {}; }
  // Descendants register their published methods; a later registration of a name
  // replaces an earlier one.
  void RegisterMethod(const std::string &name, TNotifyEvent method);
  virtual void RegisterMethods() {}
  // Descendants pick their component fields out of the loaded form.
  virtual void BindComponents() {}
  template <class T>
  void Bind(T *&field, const char *name) {
    field = dynamic_cast<T *>(FindComponent(name));
    if (!field) throw EReadError(std::string("Komponente ") + name + " fehlt im Formular");
  }
  void CreateParams(TCreateParams &params) override;
  void CreateWnd() override;
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
  // Scaling changes the client size; the frame stays as the system draws it.
  void ScaleSize(int M, int D) override;
  virtual void DoShow();
  // OnCreate failed and was reported; the form is shown all the same.
  virtual void CreateFailed() {}
  void BeginDestroy() override;

 private:
  void ApplyFrame();
  // The window's bounds before it is made: its client size, and its controls laid out.
  void PlaceBeforeCreation(const RECT &bounds);
  // The window's icons, once it has a window and an icon.
  void SendIcons();
  TBorderStyle borderStyle_ = bsSizeable;
  unsigned borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  int clientWidth_ = 0, clientHeight_ = 0;
  std::map<std::string, TNotifyEvent> methods_;
  TControl *activeControl_ = nullptr;
  HWND hintWindow_ = nullptr;
  HICON icon_ = nullptr, smallIcon_ = nullptr;
  bool inModal_ = false;
};

// Creates a form of class F: construction, then its form resources and OnCreate.  Given
// bounds, it is laid out for them before its windows are made (see InitForm).
template <class F>
F *CreateForm(TComponent *AOwner, const RECT *bounds = nullptr) {
  std::unique_ptr<F> form(new F(AOwner));
  form->InitForm(bounds);
  return form.release();
}



