// The Registry and Info buttons of the tip window: the key the Registry Editor is told to
// open, the program that is started, and the list of editions the tip is valid for.
#include <gtest/gtest.h>

#include <memory>

#include <windows.h>
#include <shellapi.h>

#include "OrvaneHelp.h"
#include "bootlog/BootlogForm.h"
#include "template/ModulState.h"
#include "support/TestSupport.h"
#include "toolkit/SystemActions.h"
#include "toolkit/SysUtils.h"

namespace {

const char *const kRegedit = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
const char *const kSettings = "SOFTWARE\\Orvane\\Tessaly 2000";

struct Started {
  HWND parent;
  bool verb;
  std::string file, parameters, directory;
  int show;
};
std::vector<Started> *started = nullptr;
INT_PTR shellAnswer = 33;  // above 32: started
DWORD shellError = ERROR_SUCCESS;

HINSTANCE WINAPI RecordShellExecute(HWND parent, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                    LPCSTR directory, INT show) {
  started->push_back({parent, verb != nullptr, file ? file : "(null)", parameters ? parameters : "(null)",
                      directory ? directory : "(null)", show});
  if (shellAnswer <= 32) SetLastError(shellError);
  return reinterpret_cast<HINSTANCE>(shellAnswer);
}

BOOL WINAPI RefuseExitWindows(UINT, DWORD) {
  ADD_FAILURE() << "ExitWindowsEx called";
  return FALSE;
}

// Puts a string value under HKEY_CURRENT_USER back as the test found it.
class SavedUserString {
 public:
  SavedUserString(const char *key, const char *name) : key_(key), name_(name) {
    existed_ = ReadUserString(key, name, value_, type_);
  }
  ~SavedUserString() {
    if (existed_ && type_ == REG_SZ) SetUserString(key_, name_, value_.c_str());
    else if (existed_ && type_ == REG_DWORD) SetUserDword(key_, name_, *reinterpret_cast<const DWORD *>(value_.data()));
    else DeleteUserValue(key_, name_);
  }

 private:
  const char *key_, *name_;
  std::string value_;
  DWORD type_ = 0;
  bool existed_ = false;
};

std::string WindowsDirectory() {
  char dir[MAX_PATH] = {};
  UINT n = GetWindowsDirectoryA(dir, sizeof dir);
  return std::string(dir, n);
}

class RegistryInfo : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = SystemActions();
    started = &started_;
    SystemActions().ShellExecuteA = RecordShellExecute;
    SystemActions().ExitWindowsEx = RefuseExitWindows;
    DeleteUserValue(kSettings, "BSControl");
    WriteTextFile("c:\\AUTOEXEC.BAT", "@echo off\r\n");
  }
  void TearDown() override {
    form_.reset();
    PumpMessages();
    SystemActions() = saved_;
    started = nullptr;
    RemoveIfExists("c:\\AUTOEXEC.BAT");
    if (autoexecExisted_) WriteTextFile("c:\\AUTOEXEC.BAT", autoexec_);
  }

  TFormBootlog *Open(int helpNr, int language = 0, int mask = 4096, int os = 13) {
    form_.reset();
    ResetModuleState();
    ModulLanguage = language;
    ModulOsCode = os;
    ModulValidOsMask = mask;
    form_.reset(CreateForm<TFormBootlog>(nullptr));
    form_->Tag = os;
    form_->HelpNr = helpNr;
    form_->Show();
    form_->Sprache(language);
    PumpMessages();
    return form_.get();
  }

  std::string LastKey() {
    std::string value;
    DWORD type = 0;
    EXPECT_TRUE(ReadUserString(kRegedit, "LastKey", value, type)) << "LastKey missing";
    EXPECT_EQ(type, DWORD(REG_SZ));
    return value;
  }

  void ExpectRegistryEditorStarted(TFormBootlog *f) {
    ASSERT_EQ(started_.size(), 1u);
    const Started &s = started_[0];
    EXPECT_EQ(s.parent, f->Handle());
    EXPECT_FALSE(s.verb);
    EXPECT_EQ(s.file, WindowsDirectory() + "\\regedit.exe");
    EXPECT_EQ(s.parameters, "");
    EXPECT_EQ(s.directory, "");
    EXPECT_EQ(s.show, SW_SHOW);
  }

  std::string autoexec_ = ReadTextFile("c:\\AUTOEXEC.BAT");
  bool autoexecExisted_ = GetFileAttributesA("c:\\AUTOEXEC.BAT") != INVALID_FILE_ATTRIBUTES;
  SavedUserString lastKey_{kRegedit, "LastKey"};
  SavedUserString bsControl_{kSettings, "BSControl"};
  std::vector<Started> started_;
  BoxRecorder boxes_;
  std::unique_ptr<TFormBootlog> form_;

 private:
  TSystemActions saved_{};
};

// --- Registry ------------------------------------------------------------------------------

TEST_F(RegistryInfo, RegistryWritesTheTipsKeyAndStartsTheEditor) {
  SetUserString(kRegedit, "LastKey", "Arbeitsplatz\\HKEY_CURRENT_USER\\Alt");
  TFormBootlog *f = Open(263);
  f->HotSpeedButtonRegistry->Click();
  const char *key = GetHelpText(263, ORVANE_HELP_REGKEY);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(LastKey(), key);
  EXPECT_EQ(LastKey(), "Arbeitsplatz\\HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  ExpectRegistryEditorStarted(f);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(RegistryInfo, UnknownHelpNumberWritesAnEmptyKey) {
  SetUserString(kRegedit, "LastKey", "Arbeitsplatz\\HKEY_CURRENT_USER\\Alt");
  ASSERT_EQ(GetHelpText(4711, ORVANE_HELP_REGKEY), nullptr);
  TFormBootlog *f = Open(4711);
  f->HotSpeedButtonRegistry->Click();
  EXPECT_EQ(LastKey(), "");
  ExpectRegistryEditorStarted(f);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(RegistryInfo, AnEditorThatDoesNotStartIsReported) {
  TFormBootlog *f = Open(263);
  shellAnswer = SE_ERR_NOASSOC;  // not an error code of the system: the one it leaves behind
  shellError = ERROR_NO_ASSOCIATION;
  f->HotSpeedButtonRegistry->Click();
  shellAnswer = 33;
  ASSERT_EQ(boxes_.Texts().size(), 1u);
  EXPECT_NE(boxes_.Texts()[0].find(WindowsDirectory() + "\\regedit.exe"), std::string::npos);
  EXPECT_NE(boxes_.Texts()[0].find(SysErrorMessage(ERROR_NO_ASSOCIATION)), std::string::npos);
}

// The folder dialog leaves the current directory wherever the user browsed; a program
// named regedit.exe there must not be the one started.
TEST_F(RegistryInfo, EditorComesFromTheWindowsDirectoryWhereverTheCurrentDirectoryIs) {
  char previous[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof previous, previous);
  CreateDirectoryA("c:\\planted", nullptr);
  WriteTextFile("c:\\planted\\regedit.exe", "MZ");
  ASSERT_TRUE(SetCurrentDirectoryA("c:\\planted"));
  TFormBootlog *f = Open(263);
  f->HotSpeedButtonRegistry->Click();
  SetCurrentDirectoryA(previous);
  RemoveIfExists("c:\\planted\\regedit.exe");
  RemoveDirectoryA("c:\\planted");
  ExpectRegistryEditorStarted(f);
  EXPECT_EQ(RegistryEditorPath(), WindowsDirectory() + "\\regedit.exe");
}

// --- Info ----------------------------------------------------------------------------------

TEST_F(RegistryInfo, InfoTextListsTheNamedEditionsInBitOrder) {
  const std::string english = "Valid for:\r\n\r\n";
  const std::string german = "G\xFCltig f\xFCr:\r\n\r\n";
  const std::string named = "Windows 98 Standard Edition\r\nWindows NT\r\nWindows XP\r\n";
  struct Case {
    int32_t mask, language;
    std::string text;
  } cases[] = {
      {4609, 1, english + named},
      {4609, 0, german + named},
      {4609, 2, german + named},
      {4609, -1, german + named},
      {8192, 1, english},
      {8192, 0, german},
      {0, 1, english},
      {int32_t(0x3E000), 0, german},
      {8191 | 0x20000, 1,
       english +
           "Windows 98 Standard Edition\r\nWindows 98 Standard Edition A\r\nWindows 98 Second Edition\r\n"
           "Windows 95\r\nWindows 95 A\r\nWindows 95 B\r\nWindows 95 B OEM Service Release 2\r\n"
           "Windows 95 B OEM Service Release 2.1\r\nWindows 95 C OEM Service Release 2.5 C\r\n"
           "Windows NT\r\nWindows 2000\r\nWindows 98 ME\r\nWindows XP\r\n"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "mask " << c.mask << ", language " << c.language);
    EXPECT_EQ(ValidSystemsText(c.mask, c.language), c.text);
  }
  // Through the button, with the module's state.
  for (int language : {1, 0}) {
    TFormBootlog *f = Open(263, language, 4609, 1);
    boxes_.boxes.clear();
    f->HotSpeedButtonInfo->Click();
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].kind, TMessageBoxRequest::Message);
    EXPECT_EQ(boxes_.boxes[0].text, (language == 1 ? english : german) + named);
  }
  TFormBootlog *f = Open(263, 1, 8192, 14);
  boxes_.boxes.clear();
  f->HotSpeedButtonInfo->Click();
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{english});
}

// --- The window disabled as unsupported ------------------------------------------------------

TEST_F(RegistryInfo, BothButtonsWorkInTheDisabledWindow) {
  TFormBootlog *f = Open(263, 0, 4609, 14);
  ASSERT_FALSE(ModulTipValid);
  ASSERT_FALSE(f->HotSpeedButtonOK->Enabled());
  EXPECT_TRUE(f->HotSpeedButtonInfo->Enabled());
  EXPECT_TRUE(f->HotSpeedButtonRegistry->Enabled());
  EXPECT_TRUE(IsWindowEnabled(f->HotSpeedButtonInfo->Handle()));
  EXPECT_TRUE(IsWindowEnabled(f->HotSpeedButtonRegistry->Handle()));
  boxes_.boxes.clear();
  // Pressed as the mouse does it: through the buttons' own windows.
  for (TControl *b : {static_cast<TControl *>(f->HotSpeedButtonInfo),
                      static_cast<TControl *>(f->HotSpeedButtonRegistry)}) {
    SendMessageA(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(b->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
  PumpMessages();
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"G\xFCltig f\xFCr:\r\n\r\nWindows 98 Standard Edition\r\n"
                                                     "Windows NT\r\nWindows XP\r\n"});
  EXPECT_EQ(LastKey(), GetHelpText(263, ORVANE_HELP_REGKEY));
  ExpectRegistryEditorStarted(f);
}

}  // namespace
