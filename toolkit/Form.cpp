// The form itself: construction, the reading of its form resources, the properties and
// icons those give it, its published methods, the hint window and the window procedure.
// The other concerns: FormFrame.cpp the frame, size, place and showing, FormModal.cpp the
// modal loop, FormKeys.cpp the dialog keys.
#include "toolkit/Form.h"

#include <commctrl.h>

#include "toolkit/Button.h"
#include "toolkit/ComponentClasses.h"
#include "toolkit/FormReader.h"
#include "toolkit/OptionalApi.h"

TForm::TForm(TComponent *AOwner) : TCustomForm(AOwner) {
  visible_ = false;
  SetColor(clBtnFace);
  Font().SetName("MS Sans Serif");
}

TForm::~TForm() {
  if (hintWindow_) DestroyWindow(hintWindow_);
  if (icon_) DestroyIcon(icon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
}

void TForm::BeginDestroy() {
  visible_ = false;
  TWinControl::BeginDestroy();
}

void TForm::RegisterMethod(const std::string &name, TNotifyEvent method) {
  methods_[name] = std::move(method);
}

TNotifyEvent TForm::FindMethod(const std::string &name) const {
  auto it = methods_.find(name);
  return it == methods_.end() ? TNotifyEvent() : it->second;
}

void TForm::InitForm(const RECT *bounds) {
  RegisterStandardComponents();
  RegisterMethods();
  // The resources are read before any window exists, so that each window is made once,
  // in its final place and with its final frame, instead of being changed as it is read.
  for (const std::string &res : FormResources())
    ReadFormResource(this, LoadFormResourceText(res), res);
  BindComponents();
  // Form resources are laid out for PixelsPerInch; the screen may have more or fewer.
  int ppi = Screen->PixelsPerInch();
  bool scale = Scaled && ppi != PixelsPerInch;
  if (bounds && !scale) PlaceBeforeCreation(*bounds);
  Handle();
  if (scale) ScaleBy(ppi, PixelsPerInch);
  if (OnCreate) {
    try {
      OnCreate(this);
    } catch (...) {
      ApplicationHandleException();
      CreateFailed();
    }
  }
}


HWND TForm::HintWindow() {
  if (!hintWindow_ && handle_) {
    InitToolTipClass();
    hintWindow_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                  WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle_, nullptr,
                                  ModuleInstance(), nullptr);
    if (hintWindow_) SendMessageA(hintWindow_, TTM_SETMAXTIPWIDTH, 0, 300);
  }
  return hintWindow_;
}

void TForm::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "ClientWidth") SetClientWidth(value.AsInt());
  else if (name == "ClientHeight") SetClientHeight(value.AsInt());
  else if (name == "PixelsPerInch") PixelsPerInch = value.AsInt();
  else if (name == "Scaled") Scaled = value.AsBool();
  else if (name == "HelpContext") HelpContext = value.AsInt();
  else if (name == "OldCreateOrder" || name == "TextHeight") {
    // The create handler always runs before the form is handed out.
  } else if (name == "Position") {
    Position = TPosition(
        IdentToInt(value, {{"poScreenCenter", poScreenCenter}, {"poDesigned", poDesigned}}, "Unbekannte Position"));
  } else if (name == "BorderStyle") {
    SetBorderStyle(TBorderStyle(IdentToInt(value,
                                           {{"bsNone", bsNone},
                                            {"bsSingle", bsSingle},
                                            {"bsSizeable", bsSizeable},
                                            {"bsDialog", bsDialog},
                                            {"bsToolWindow", bsToolWindow},
                                            {"bsSizeToolWin", bsSizeToolWin}},
                                           "Unbekannter Rahmen")));
  } else if (name == "BorderIcons") {
    borderIcons_ = unsigned(SetToInt(
        value, {{"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize}, {"biMaximize", biMaximize}}));
    ApplyFrame();
  } else if (name == "Icon") {
    if (icon_) DestroyIcon(icon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
    icon_ = HICON(LoadImageA(ModuleInstance(), value.AsString().c_str(), IMAGE_ICON, 32, 32, 0));
    smallIcon_ = HICON(LoadImageA(ModuleInstance(), value.AsString().c_str(), IMAGE_ICON, 16, 16, 0));
    if (!icon_) throw EReadError("Symbol " + value.s + " nicht gefunden");
    SendIcons();
  } else TWinControl::SetProperty(name, value);
}

void TForm::SendIcons() {
  if (!handle_ || !icon_) return;
  SendMessageA(handle_, WM_SETICON, ICON_BIG, LPARAM(icon_));
  SendMessageA(handle_, WM_SETICON, ICON_SMALL, LPARAM(smallIcon_ ? smallIcon_ : icon_));
}

void TForm::SetEvent(const std::string &name, const TNotifyEvent &handler) {
  if (name == "OnCreate") OnCreate = handler;
  else if (name == "OnShow") OnShow = handler;
  else TWinControl::SetEvent(name, handler);
}

void TForm::SetReference(const std::string &name, TComponent *target) {
  if (name == "ActiveControl") activeControl_ = dynamic_cast<TControl *>(target);
  else TWinControl::SetReference(name, target);
}

void TForm::Notification(TComponent *AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == activeControl_) activeControl_ = nullptr;
  if (AComponent == DefaultButton) DefaultButton = nullptr;
  if (AComponent == CancelButton) CancelButton = nullptr;
}

LRESULT TForm::WndProc(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(handle_, &r);
      FillRect(HDC(w), &r, ColorBrush());
      return 1;
    }
    case WM_PAINT:
      return DefaultHandler(msg, w, l);
    case WM_WINDOWPOSCHANGED: {
      auto *wp = reinterpret_cast<WINDOWPOS *>(l);
      if (!IsIconic(handle_)) {
        if (!(wp->flags & SWP_NOMOVE)) {
          left_ = wp->x;
          top_ = wp->y;
        }
        if (!(wp->flags & SWP_NOSIZE)) {
          width_ = wp->cx;
          height_ = wp->cy;
        }
      }
      break;
    }
    case WM_SHOWWINDOW:
      // Hidden or shown by the system (or a host), not through Visible.
      if (!l) visible_ = w != 0;
      break;
    case WM_ACTIVATE:
      if (LOWORD(w) != WA_INACTIVE) {
        LRESULT r = DefaultHandler(msg, w, l);
        if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
        else SelectNext(nullptr, true);
        return r;
      }
      break;
    default:
      break;
  }
  return TWinControl::WndProc(msg, w, l);
}
