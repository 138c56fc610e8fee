#include "support/DialogScript.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "folderselect/PathHelpers.h"
#include "support/TestSupport.h"

HWND ShownDialogWindow() {
  struct Search {
    HWND found = nullptr;
  } s;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM l) -> BOOL {
        char cls[64] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (strcmp(cls, "TSelectDirDlg") == 0 && IsWindowVisible(h)) {
          reinterpret_cast<Search *>(l)->found = h;
          return FALSE;
        }
        return TRUE;
      },
      LPARAM(&s));
  return s.found;
}

int CountDialogWindows() {
  int n = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM l) -> BOOL {
        char cls[64] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (strcmp(cls, "TSelectDirDlg") == 0) ++*reinterpret_cast<int *>(l);
        return TRUE;
      },
      LPARAM(&n));
  return n;
}

void CALLBACK Script::Tick(HWND, UINT, UINT_PTR, DWORD) {
  Script *s = current_;
  if (!s || s->busy_) return;
  HWND h = ShownDialogWindow();
  auto *dlg = dynamic_cast<TSelectDirDlg *>(TControl::FromHandle(h));
  if (!dlg) return;
  s->sawDialog_ = true;
  if (GetTickCount() - s->started_ > 15000) {
    ADD_FAILURE() << "script stalled at step " << s->next_;
    PostMessageA(h, WM_CLOSE, 0, 0);
    s->next_ = s->steps_.size();
    return;
  }
  if (s->Done()) return;
  // Programs of other tests share the display and may have taken the keyboard: keys
  // and focus belong to the foreground window, so the dialog (or its message box)
  // must be it.  Activation gives the focus back to the control that had it.
  HWND front = GetForegroundWindow();
  if (!front || GetWindowThreadProcessId(front, nullptr) != GetCurrentThreadId()) {
    SetForegroundWindow(h);
    return;
  }
  s->busy_ = true;
  if (s->next_ + 1 == s->steps_.size()) s->lastBegun_ = true;
  if (s->steps_[s->next_](*dlg)) ++s->next_;
  s->busy_ = false;
}

Script *Script::current_ = nullptr;

// --- input ------------------------------------------------------------------------------

void PostKey(HWND to, WORD vk, bool alt) {
  LPARAM scan = LPARAM(MapVirtualKeyA(vk, 0)) << 16;
  LPARAM context = alt ? (1 << 29) : 0;
  PostMessageA(to, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1 | scan | context);
  PostMessageA(to, alt ? WM_SYSKEYUP : WM_KEYUP, vk, 1 | scan | context | LPARAM(0xC0000000));
}

// A key pressed on the focused control.
Step Key(WORD vk) {
  return [vk](TSelectDirDlg &) {
    PostKey(GetFocus(), vk);
    return true;
  };
}

// Alt with a letter.
Step AltKey(char letter) {
  return [letter](TSelectDirDlg &) {
    PostKey(GetFocus(), WORD(UpCase(letter)), true);
    return true;
  };
}

// Characters typed into the focused control.
Step Type(const std::string &text) {
  return [text](TSelectDirDlg &) {
    for (char c : text) PostMessageA(GetFocus(), WM_CHAR, WPARAM(BYTE(c)), 1);
    return true;
  };
}

// A real click (or double click) at a point of a window's client area; the dialog comes
// to the front first, since other programs' windows share the display.
std::shared_ptr<SentInput> RealClickAt(TSelectDirDlg &dlg, HWND h, POINT pt, bool twice) {
  SetWindowPos(dlg.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(dlg.Handle());
  ClientToScreen(h, &pt);
  SetCursorPos(pt.x, pt.y);
  // The move goes in the same batch as the buttons, so that no other program's input
  // comes between them.
  INPUT in[5] = {};
  for (auto &i : in) i.type = INPUT_MOUSE;
  in[0].mi.dx = MulDiv(pt.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in[0].mi.dy = MulDiv(pt.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = in[3].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[2].mi.dwFlags = in[4].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  return std::make_shared<SentInput>(h, in, twice ? 5 : 3);
}

// Real input takes its way through the system: the step ends on a later tick, once it
// has arrived (a tick comes after the messages it brought are handled).
Step AfterInput(std::function<std::shared_ptr<SentInput>(TSelectDirDlg &)> send) {
  struct State {
    bool begun = false;
    std::shared_ptr<SentInput> input;
  };
  auto state = std::make_shared<State>();
  return [send, state](TSelectDirDlg &dlg) {
    if (!state->begun) {
      state->begun = true;
      state->input = send(dlg);
      return false;
    }
    if (state->input && !state->input->Arrived()) return false;
    state->input.reset();
    return true;
  };
}

Step Click(std::function<TControl *(TSelectDirDlg &)> which) {
  return AfterInput([which](TSelectDirDlg &dlg) {
    TControl *c = which(dlg);
    RECT r;
    GetClientRect(c->Handle(), &r);
    return RealClickAt(dlg, c->Handle(), {r.right / 2, r.bottom / 2});
  });
}
TControl *OK(TSelectDirDlg &d) { return d.OKButton; }
TControl *Cancel(TSelectDirDlg &d) { return d.CancelButton; }
TControl *Help(TSelectDirDlg &d) { return d.HelpButton; }
TControl *Net(TSelectDirDlg &d) { return d.NetButton; }

// Double click on the directory list's item with this text; the step ends once the list
// has gone there.
Step OpenDir(const std::string &item) {
  auto sentAt = std::make_shared<DWORD>(0);
  return [item, sentAt](TSelectDirDlg &dlg) {
    if (*sentAt) {
      std::string cur = dlg.DirList->CurrentDirectory();
      bool there = AnsiCompareText(ExtractFileName(cur), item) == 0 || (item.size() == 3 && cur == item);
      return there || GetTickCount() - *sentAt > kWaitBoundMs;
    }
    int index = ItemPosition(*dlg.DirList, item);
    EXPECT_GE(index, 0) << item;
    if (index < 0) return true;
    RECT r;
    SendMessageA(dlg.DirList->Handle(), LB_GETITEMRECT, WPARAM(index), LPARAM(&r));
    RealClickAt(dlg, dlg.DirList->Handle(), {r.left + 40, (r.top + r.bottom) / 2}, true);
    *sentAt = GetTickCount() | 1;
    return false;
  };
}

// The close box in the caption, found by asking the window where it is.
Step CloseBox() {
  return AfterInput([](TSelectDirDlg &dlg) -> std::shared_ptr<SentInput> {
    RECT wr;
    GetWindowRect(dlg.Handle(), &wr);
    for (int x = wr.right - 2; x > wr.right - 60; --x)
      for (int y = wr.top + 2; y < wr.top + 30; ++y)
        if (SendMessageA(dlg.Handle(), WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
          POINT pt = {x - 3, y + 3};
          ScreenToClient(dlg.Handle(), &pt);
          return RealClickAt(dlg, dlg.Handle(), pt);
        }
    ADD_FAILURE() << "no close box";
    PostMessageA(dlg.Handle(), WM_CLOSE, 0, 0);
    return std::shared_ptr<SentInput>();
  });
}

// Runs checks on the dialog as it is.
Step Check(std::function<void(TSelectDirDlg &)> f) {
  return [f](TSelectDirDlg &dlg) {
    f(dlg);
    return true;
  };
}

std::string FocusName() {
  TControl *c = TControl::FromHandle(GetFocus());
  return c ? c->Name : "(none)";
}

// Answers the system message box the dialog shows with a button; keeps its text.
Step AnswerBox(int button, std::vector<std::string> *texts) {
  return [button, texts](TSelectDirDlg &) {
    struct Find {
      HWND box = nullptr;
    } f;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM l) -> BOOL {
          char cls[16] = {};
          GetClassNameA(h, cls, sizeof cls);
          if (strcmp(cls, "#32770") == 0 && IsWindowVisible(h)) reinterpret_cast<Find *>(l)->box = h;
          return TRUE;
        },
        LPARAM(&f));
    if (!f.box) return false;
    char text[512] = {};
    GetDlgItemTextA(f.box, 0xFFFF, text, sizeof text);
    texts->push_back(text);
    PostMessageA(f.box, WM_COMMAND, WPARAM(button), 0);
    return true;
  };
}
