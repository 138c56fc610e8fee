// The restart prompt: what NeuStart asks, which system calls it makes in which order, and
// what the user sees when Windows refuses.  Every system action is recorded by fakes; no
// test may reach the real ExitWindowsEx.
#include <gtest/gtest.h>

#include <memory>

#include "bootlog/BootlogForm.h"
#include "template/ModulState.h"
#include "support/TestSupport.h"
#include "toolkit/SysUtils.h"
#include "toolkit/SystemActions.h"

namespace {

const char *const kQuestion =
    "Um diese \xC4nderung zu aktivieren, ist ein Neustart des Systems erforderlich. Soll der "
    "Neustart jetzt durchgef\xFChrt werden ?";
const char *const kRefused =
    "Das System l\xE4\xDFt sich zur Zeit nicht neu starten. Bitte f\xFChren Sie sp\xE4ter manuell "
    "einen Neustart durch";

HANDLE const kToken = reinterpret_cast<HANDLE>(0x4711);
const LUID kShutdownLuid = {19, 0};

// What the fakes answer, and what they saw.
struct Fakes {
  BOOL open = TRUE, lookup = TRUE, adjust = TRUE, exitWindows = TRUE;
  DWORD adjustError = ERROR_SUCCESS;
  std::vector<std::string> calls;
};
Fakes *fakes = nullptr;

BOOL WINAPI FakeOpenProcessToken(HANDLE process, DWORD access, PHANDLE token) {
  fakes->calls.push_back("OpenProcessToken " + std::string(process == GetCurrentProcess() ? "self" : "other") +
                         " " + std::to_string(access));
  if (!fakes->open) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  *token = kToken;
  return TRUE;
}

BOOL WINAPI FakeLookupPrivilegeValueA(LPCSTR system, LPCSTR name, PLUID luid) {
  fakes->calls.push_back("LookupPrivilegeValueA " + std::string(system ? system : "local") + " " +
                         (name ? name : "(null)"));
  if (!fakes->lookup) return FALSE;
  *luid = kShutdownLuid;
  return TRUE;
}

BOOL WINAPI FakeAdjustTokenPrivileges(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES state, DWORD length,
                                      PTOKEN_PRIVILEGES previous, PDWORD returned) {
  bool shape = token == kToken && !disableAll && state && state->PrivilegeCount == 1 &&
               state->Privileges[0].Luid.LowPart == kShutdownLuid.LowPart &&
               state->Privileges[0].Luid.HighPart == kShutdownLuid.HighPart && length == 16 &&
               previous && returned && *returned == 0;
  fakes->calls.push_back("AdjustTokenPrivileges " +
                         std::string(state && state->Privileges[0].Attributes == SE_PRIVILEGE_ENABLED
                                         ? "enable"
                                     : state && state->Privileges[0].Attributes == 0 ? "disable"
                                                                                     : "other") +
                         (shape ? "" : " malformed"));
  SetLastError(fakes->adjustError);
  return fakes->adjust;
}

BOOL WINAPI FakeCloseHandle(HANDLE h) {
  fakes->calls.push_back(std::string("CloseHandle ") + (h == kToken ? "token" : "other"));
  return TRUE;
}

BOOL WINAPI FakeExitWindowsEx(UINT flags, DWORD reason) {
  fakes->calls.push_back("ExitWindowsEx " + std::to_string(flags) + " " + std::to_string(reason));
  if (!fakes->exitWindows) SetLastError(ERROR_PRIVILEGE_NOT_HELD);
  return fakes->exitWindows;
}

HINSTANCE WINAPI FakeShellExecuteA(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT) {
  fakes->calls.push_back(std::string("ShellExecuteA ") + (file ? file : "(null)"));
  return reinterpret_cast<HINSTANCE>(33);
}

using Calls = std::vector<std::string>;
const Calls kEnable = {"OpenProcessToken self 40", "LookupPrivilegeValueA local SeShutdownPrivilege",
                       "AdjustTokenPrivileges enable", "CloseHandle token"};
const Calls kDisable = {"OpenProcessToken self 40", "LookupPrivilegeValueA local SeShutdownPrivilege",
                        "AdjustTokenPrivileges disable", "CloseHandle token"};
const Calls kExit = {"ExitWindowsEx 2 0"};

// The refusal as the user reads it: with the system's reason where it gave one.
std::string RefusalText(DWORD reason) {
  return reason == ERROR_SUCCESS ? std::string(kRefused) : kRefused + std::string("\r\n\r\n") + SysErrorMessage(reason);
}

Calls operator+(Calls a, const Calls &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class Restart : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = SystemActions();
    fakes = &fakes_;
    TSystemActions &a = SystemActions();
    a.OpenProcessToken = FakeOpenProcessToken;
    a.LookupPrivilegeValueA = FakeLookupPrivilegeValueA;
    a.AdjustTokenPrivileges = FakeAdjustTokenPrivileges;
    a.CloseHandle = FakeCloseHandle;
    a.ExitWindowsEx = FakeExitWindowsEx;
    a.ShellExecuteA = FakeShellExecuteA;
  }
  void TearDown() override {
    form_.reset();
    PumpMessages();
    SystemActions() = saved_;
    fakes = nullptr;
  }

  // A shown tip window on the system with the given code.
  TFormBootlog *Open(int os, int language = 0) {
    form_.reset();
    ResetModuleState();
    ModulLanguage = language;
    ModulOsCode = os;
    ModulValidOsMask = -1;
    form_.reset(CreateForm<TFormBootlog>(nullptr));
    form_->Tag = os;
    form_->HelpNr = 263;
    form_->Show();
    form_->Sprache(language);
    PumpMessages();
    boxes_.boxes.clear();  // whatever the set-up reported is not the prompt's business
    return form_.get();
  }

  Fakes fakes_;
  BoxRecorder boxes_;
  std::unique_ptr<TFormBootlog> form_;

 private:
  TSystemActions saved_{};
};

TEST_F(Restart, AsksInGermanWhateverTheLanguage) {
  boxes_.Answer = [](const TMessageBoxRequest &) { return IDNO; };
  for (int language : {0, 1}) {
    SCOPED_TRACE(language);
    TFormBootlog *f = Open(10, language);
    f->NeuStart();
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    const TMessageBoxRequest &box = boxes_.boxes[0];
    EXPECT_EQ(box.kind, TMessageBoxRequest::Dialog);
    EXPECT_EQ(box.text, kQuestion);
    EXPECT_EQ(box.type, mtConfirmation);
    EXPECT_EQ(box.buttons, mbYes | mbNo);
    EXPECT_EQ(box.helpCtx, 0);
    EXPECT_EQ(fakes_.calls, Calls{});
    EXPECT_TRUE(f->Visible());
  }
}

// Windows 95, 98 and ME (codes 1 to 9 and 12) are asked directly; every other code wraps
// the request between enabling and disabling the shutdown privilege (also when Windows
// refuses).  Only an accepted request closes the window; a refused one is told in German,
// whatever the language, with the system's reason.
TEST_F(Restart, EveryCodeAndAnswer) {
  enum Outcome { No, Closed, Accepted, Refused };
  for (int os : {0, 1, 9, 10, 11, 12, 13, 18}) {
    for (Outcome outcome : {No, Closed, Accepted, Refused}) {
      for (int language : {0, 1}) {
        SCOPED_TRACE(testing::Message() << "code " << os << ", outcome " << outcome << ", language "
                                        << language);
        TFormBootlog *f = Open(os, language);
        fakes_.calls.clear();
        fakes_.exitWindows = outcome == Accepted;
        boxes_.Answer = [outcome](const TMessageBoxRequest &r) {
          if (r.kind != TMessageBoxRequest::Dialog) return IDOK;
          return outcome == No ? IDNO : outcome == Closed ? IDCANCEL : IDYES;
        };
        f->NeuStart();
        PumpMessages();
        bool privileged = !((os >= 1 && os <= 9) || os == 12);
        Calls expected;
        if (outcome == Accepted || outcome == Refused)
          expected = privileged ? kEnable + kExit + kDisable : kExit;
        EXPECT_EQ(fakes_.calls, expected);
        Calls texts = {kQuestion};
        if (outcome == Refused) texts.push_back(RefusalText(ERROR_PRIVILEGE_NOT_HELD));
        EXPECT_EQ(boxes_.Texts(), texts);
        if (outcome == Refused) {
          EXPECT_EQ(boxes_.boxes.back().kind, TMessageBoxRequest::Message);
        }
        EXPECT_EQ(f->Visible(), outcome != Accepted);
        EXPECT_EQ(IsWindowVisible(f->Handle()) != FALSE, outcome != Accepted);
      }
    }
  }
}

TEST_F(Restart, PrivilegeFailuresStopBeforeTheRequest) {
  boxes_.Answer = [](const TMessageBoxRequest &r) {
    return r.kind == TMessageBoxRequest::Dialog ? IDYES : IDOK;
  };
  struct Case {
    const char *what;
    BOOL open, lookup, adjust;
    Calls calls;
    DWORD reason;
  } cases[] = {
      {"token cannot be opened", FALSE, TRUE, TRUE, {"OpenProcessToken self 40"}, ERROR_ACCESS_DENIED},
      {"privilege unknown",
       TRUE,
       FALSE,
       TRUE,
       {"OpenProcessToken self 40", "LookupPrivilegeValueA local SeShutdownPrivilege", "CloseHandle token"},
       ERROR_SUCCESS},
      {"adjustment refused", TRUE, TRUE, FALSE, kEnable, ERROR_SUCCESS},
  };
  for (const Case &c : cases) {
    for (int os : {10, 11, 13}) {
      SCOPED_TRACE(testing::Message() << c.what << ", code " << os);
      TFormBootlog *f = Open(os, 1);
      fakes_.calls.clear();
      fakes_.open = c.open;
      fakes_.lookup = c.lookup;
      fakes_.adjust = c.adjust;
      f->NeuStart();
      EXPECT_EQ(fakes_.calls, c.calls);
      EXPECT_EQ(boxes_.Texts(), (Calls{kQuestion, RefusalText(c.reason)}));
      EXPECT_TRUE(f->Visible());
    }
  }
}

TEST_F(Restart, AdjustmentCountsByItsResultNotByTheLastError) {
  fakes_.adjustError = ERROR_NOT_ALL_ASSIGNED;
  EXPECT_TRUE(SetPrivilege("SeShutdownPrivilege", true));
  EXPECT_EQ(fakes_.calls, kEnable);
  fakes_.calls.clear();
  EXPECT_TRUE(ShutdownWithPrivilege(EWX_REBOOT));
  EXPECT_EQ(fakes_.calls, kEnable + kExit + kDisable);
  fakes_.calls.clear();
  fakes_.adjust = FALSE;
  fakes_.adjustError = ERROR_SUCCESS;
  EXPECT_FALSE(SetPrivilege("SeShutdownPrivilege", false));
  EXPECT_EQ(fakes_.calls, kDisable);
}

TEST_F(Restart, ShutdownPassesItsFlagsAndReportsTheRefusal) {
  fakes_.exitWindows = FALSE;
  EXPECT_FALSE(ShutdownWithPrivilege(EWX_REBOOT | EWX_FORCE));
  EXPECT_EQ(fakes_.calls, kEnable + Calls{"ExitWindowsEx 6 0"} + kDisable);
}

}  // namespace
