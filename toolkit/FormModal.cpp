// The modal loop of a form.
#include "toolkit/Form.h"

#include <vector>

void TForm::Close() {
  if (inModal_) {
    ModalResult = mrCancel;
    return;
  }
  Hide();
}

namespace {
struct DisabledWindows {
  HWND except;
  std::vector<HWND> list;
};

BOOL CALLBACK DisableThreadWindow(HWND h, LPARAM l) {
  auto *d = reinterpret_cast<DisabledWindows *>(l);
  if (h != d->except && IsWindowVisible(h) && IsWindowEnabled(h)) {
    d->list.push_back(h);
    EnableWindow(h, FALSE);
  }
  return TRUE;
}
}  // namespace

// For the time a window is modal: the other windows of the thread disabled, and the
// window owned by the one that was active, so that it stays above it and has no taskbar
// button of its own.
class TModalScope {
 public:
  TModalScope(HWND self, HWND active) : self_(self), disabled_{self, {}} {
    if (active && active != self && !GetWindow(self, GW_OWNER)) {
      owner_ = active;
      SetWindowLongPtrA(self, GWLP_HWNDPARENT, LONG_PTR(owner_));
    }
    EnumThreadWindows(GetCurrentThreadId(), DisableThreadWindow, LPARAM(&disabled_));
  }
  ~TModalScope() {
    EnableOthers();
    if (owner_ && IsWindow(self_)) SetWindowLongPtrA(self_, GWLP_HWNDPARENT, 0);
  }
  // The other windows usable again, before the modal one hides, so that the system has
  // one to activate.
  void EnableOthers() {
    for (HWND h : disabled_.list) EnableWindow(h, TRUE);
    disabled_.list.clear();
  }
  TModalScope(const TModalScope &) = delete;
  TModalScope &operator=(const TModalScope &) = delete;

 private:
  HWND self_;
  HWND owner_ = nullptr;
  DisabledWindows disabled_;
};

int TForm::ShowModal() {
  if (inModal_ || Showing()) throw EInvalidOperation("Ein sichtbares Fenster kann nicht modal gemacht werden");
  HWND previous = GetActiveWindow();
  int result = mrNone;
  {
    TModalScope scope(Handle(), previous);
    inModal_ = true;
    ModalResult = mrNone;
    try {
      Show();
      if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
      MSG msg;
      while (ModalResult == mrNone && handle_) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
          PostQuitMessage(int(msg.wParam));
          ModalResult = mrCancel;
          break;
        }
        if (got < 0) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      result = ModalResult;
    } catch (...) {
      inModal_ = false;
      throw;
    }
    inModal_ = false;
    scope.EnableOthers();
    Hide();
  }
  if (previous && IsWindow(previous)) SetActiveWindow(previous);
  return result;
}
