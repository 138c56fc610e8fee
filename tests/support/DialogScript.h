// The select-directory dialog driven from outside its modal loop: a thread timer runs a
// script of steps while ChooseDirectory waits in the loop.  Keys are posted to the focused
// control as the keyboard would deliver them (key down and up with their scan codes,
// characters made by the loop's TranslateMessage); clicks are real mouse input through
// SendInput, so a program that uses them takes the input lock.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "folderselect/SelectDirDlg.h"
#include "support/TestSupport.h"

using Step = std::function<bool(TSelectDirDlg &)>;

// The dialog window of this thread that is shown, or null; and how many there are.
HWND ShownDialogWindow();
int CountDialogWindows();

// Runs its steps, one per timer tick, on the dialog while it is shown (a tick comes once
// the messages waiting are handled, as often as the system lets a timer run); a step
// that returns false is tried again on the next tick.  Steps that stall for 15 s close
// the dialog so that a failing test cannot hang.
class Script {
 public:
  explicit Script(std::vector<Step> steps) : steps_(std::move(steps)) {
    current_ = this;
    started_ = GetTickCount();
    timer_ = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Tick);
  }
  ~Script() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  // Every step ran; the last one may be the input that closed the dialog.
  bool Done() const { return next_ == steps_.size() || (next_ + 1 == steps_.size() && lastBegun_); }
  bool SawDialog() const { return sawDialog_; }
  size_t StepsRun() const { return next_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

  static Script *current_;
  std::vector<Step> steps_;
  size_t next_ = 0;
  bool sawDialog_ = false;
  bool busy_ = false;
  bool lastBegun_ = false;
  DWORD started_ = 0;
  UINT_PTR timer_ = 0;
};

// Steps.  A key pressed on the focused control; Alt with a letter; characters typed into
// the focused control.
void PostKey(HWND to, WORD vk, bool alt = false);
Step Key(WORD vk);
Step AltKey(char letter);
Step Type(const std::string &text);
// A real click (or double click) at a point of a window's client area; the dialog comes
// to the front first, since other programs' windows share the display.  The input is on
// its way when this returns.
std::shared_ptr<SentInput> RealClickAt(TSelectDirDlg &dlg, HWND h, POINT pt, bool twice = false);
// Real input takes its way through the system: the step ends on a later tick, once it
// has arrived (a tick comes after the messages it brought are handled).
Step AfterInput(std::function<std::shared_ptr<SentInput>(TSelectDirDlg &)> send);
// A real click in the middle of a control of the dialog.
Step Click(std::function<TControl *(TSelectDirDlg &)> which);
TControl *OK(TSelectDirDlg &d);
TControl *Cancel(TSelectDirDlg &d);
TControl *Help(TSelectDirDlg &d);
TControl *Net(TSelectDirDlg &d);
// Double click on the directory list's item with this text; the step ends once the list
// has gone there.
Step OpenDir(const std::string &item);
// The close box in the caption, found by asking the window where it is.
Step CloseBox();
// Runs checks on the dialog as it is.
Step Check(std::function<void(TSelectDirDlg &)> f);
// The component name of the control that has the focus.
std::string FocusName();
// Answers the system message box the dialog shows with a button; keeps its text.
Step AnswerBox(int button, std::vector<std::string> *texts);
