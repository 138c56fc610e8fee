// The form's window: its frame and client size, where it is made and shown.
#include "toolkit/Form.h"

void TForm::CreateParams(TCreateParams &p) {
  p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_CAPTION;
  p.ExStyle = 0;
  switch (borderStyle_) {
    case bsNone: p.Style = WS_POPUP | WS_CLIPCHILDREN; break;
    case bsSingle: case bsToolWindow: p.Style |= WS_BORDER; break;
    case bsSizeable: case bsSizeToolWin: p.Style |= WS_THICKFRAME; break;
    case bsDialog: p.Style |= DS_MODALFRAME; p.ExStyle |= WS_EX_DLGMODALFRAME; break;
  }
  if (borderStyle_ != bsNone) {
    if (borderIcons_ & biSystemMenu) p.Style |= WS_SYSMENU;
    if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
      if (borderIcons_ & biMinimize) p.Style |= WS_MINIMIZEBOX;
      if (borderIcons_ & biMaximize) p.Style |= WS_MAXIMIZEBOX;
    }
  }
  if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) p.ExStyle |= WS_EX_TOOLWINDOW;
}

void TForm::CreateWnd() {
  // Setting the width re-reads both client sizes from the new window: take them first.
  int cw = clientWidth_, ch = clientHeight_;
  if (cw && ch) {
    // Made with the frame around the client size it is to have, so that it is not resized
    // (and its controls laid out again) right after it is made.
    TCreateParams p;
    CreateParams(p);
    RECT r = {0, 0, cw, ch};
    if (AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle)) {
      width_ = r.right - r.left;
      height_ = r.bottom - r.top;
    }
  }
  // Made where it will be shown, so that showing it need not move it.
  if (Position == poScreenCenter) CenterOnScreen();
  TWinControl::CreateWnd();
  if (!handle_) return;
  if (cw) SetClientWidth(cw);
  if (ch) SetClientHeight(ch);
  SendIcons();
}

void TForm::PlaceBeforeCreation(const RECT &bounds) {
  if (handle_) return;
  TCreateParams p;
  CreateParams(p);
  RECT frame = {0, 0, 0, 0};
  if (!AdjustWindowRectEx(&frame, p.Style, FALSE, p.ExStyle)) return;
  int cw = (bounds.right - bounds.left) - (frame.right - frame.left);
  int ch = (bounds.bottom - bounds.top) - (frame.bottom - frame.top);
  if (cw <= 0 || ch <= 0) return;  // left to the move after the window is made
  left_ = bounds.left;
  top_ = bounds.top;
  clientWidth_ = cw;
  clientHeight_ = ch;
  Realign();
}

void TForm::ApplyFrame() {
  if (!handle_) return;
  int cw = ClientWidth(), ch = ClientHeight();
  TCreateParams p;
  CreateParams(p);
  DWORD keep = GetWindowLongA(handle_, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED);
  SetWindowLongA(handle_, GWL_STYLE, LONG(p.Style | keep));
  SetWindowLongA(handle_, GWL_EXSTYLE, LONG(p.ExStyle));
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  SetClientWidth(cw);
  SetClientHeight(ch);
}

void TForm::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  ApplyFrame();
}

int TForm::ClientWidth() const {
  if (!handle_) return clientWidth_;
  RECT r;
  GetClientRect(handle_, &r);
  return r.right;
}

int TForm::ClientHeight() const {
  if (!handle_) return clientHeight_;
  RECT r;
  GetClientRect(handle_, &r);
  return r.bottom;
}

void TForm::SetClientWidth(int v) {
  clientWidth_ = v;
  if (!handle_ || ClientWidth() == v) return;
  RECT wr;
  GetWindowRect(handle_, &wr);
  int extra = (wr.right - wr.left) - ClientWidth();
  SetBounds(left_, top_, v + extra, height_);
}

void TForm::SetClientHeight(int v) {
  clientHeight_ = v;
  if (!handle_ || ClientHeight() == v) return;
  RECT wr;
  GetWindowRect(handle_, &wr);
  int extra = (wr.bottom - wr.top) - ClientHeight();
  SetBounds(left_, top_, width_, v + extra);
}

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  if (handle_) {
    SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    GetClientRect(handle_, &r);
    clientWidth_ = r.right;
    clientHeight_ = r.bottom;
  }
}

void TForm::CenterOnScreen() {
  int left = Screen->Width() / 2 - width_ / 2, top = Screen->Height() / 2 - height_ / 2;
  if (left != left_ || top != top_) SetBounds(left, top, width_, height_);
}

void TForm::ScaleSize(int M, int D) {
  int cw = MulDiv(ClientWidth(), M, D), ch = MulDiv(ClientHeight(), M, D);
  SetClientWidth(cw);
  SetClientHeight(ch);
}

void TForm::SetCaption(const std::string &v) {
  if (handle_ && v == text_ && WindowText(handle_) == v) return;  // shown already
  text_ = v;
  if (handle_) SetWindowTextA(handle_, v.c_str());
}

void TForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TForm::SetVisible(bool v) {
  if (v == visible_ && (!handle_ || bool(IsWindowVisible(handle_)) == v)) {
    if (v && handle_) {
      // Shown and in front: a minimised window is restored first.
      if (IsIconic(handle_)) ShowWindow(handle_, SW_RESTORE);
      SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      SetForegroundWindow(handle_);
    }
    return;
  }
  visible_ = v;
  if (!handle_) return;
  if (v) {
    DoShow();
    if (!handle_ || !visible_) return;  // OnShow may have closed the window
    if (Position == poScreenCenter) CenterOnScreen();
    ShowWindow(handle_, SW_SHOW);
    // Showing has usually brought it to the front already.  Windows that stay on top (its
    // hints among them) lie above every other and are passed over.
    HWND above = GetWindow(handle_, GW_HWNDPREV);
    if (!(GetWindowLongA(handle_, GWL_EXSTYLE) & WS_EX_TOPMOST))
      while (above && (GetWindowLongA(above, GWL_EXSTYLE) & WS_EX_TOPMOST))
        above = GetWindow(above, GW_HWNDPREV);
    if (above) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (GetForegroundWindow() != handle_) SetForegroundWindow(handle_);
  } else {
    ShowWindow(handle_, SW_HIDE);
  }
}
