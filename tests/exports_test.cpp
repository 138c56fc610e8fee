// The module as a host sees it: Bootlog.dll loaded with LoadLibraryA, its five exports,
// the tip window and its controls found by Win32 alone.
#include <gtest/gtest.h>

#include <memory>

#include "support/HostHarness.h"
#include "support/TestSupport.h"

namespace {

const char *const kSettings = "SOFTWARE\\Orvane\\Tessaly 2000";

class Exports : public testing::Test {
 protected:
  void SetUp() override {
    DeleteUserValue(kSettings, "BSControl");
    PrepareBootDrive("@echo off\r\nSET PATH=C:\\WINDOWS\r\n", "Datum\r\n");
  }
  void TearDown() override {
    DeleteUserValue(kSettings, "BSControl");
    PrepareBootDrive(nullptr, nullptr);
  }
  void Press(HWND tip, const char *button) {
    HWND b = FindControl(tip, button);
    ASSERT_NE(b, nullptr) << button;
    PressWithMouseMessages(b);
  }
};

TEST_F(Exports, FlagsFollowUndoAndOkAcrossWindows) {
  BoxWatcher boxes;
  boxes.Answer = [](const SeenBox &) { return IDNO; };  // no restart after OK
  HostModule host;
  EXPECT_EQ(host.nr(), 2);
  EXPECT_EQ(host.changed(), 0);
  EXPECT_EQ(host.CreateDefault(), 0);
  HWND tip = FindTipWindow();
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(host.nr(), 2);
  Press(tip, "HotSpeedButtonOK");
  EXPECT_EQ(host.nr(), 2);
  EXPECT_EQ(host.changed(), 0);  // this tip never reports a change of its own
  Press(tip, "HotSpeedButtonUndo");
  EXPECT_EQ(host.nr(), 1);
  EXPECT_EQ(host.changed(), 0);
  Press(tip, "HotSpeedButtonOK");
  EXPECT_EQ(host.nr(), 1);
  EXPECT_EQ(host.free(), 1);
  EXPECT_EQ(FindTipWindow(), nullptr);
  EXPECT_EQ(host.nr(), 1);  // the flags outlive the window ...
  EXPECT_EQ(host.CreateDefault(), 0);
  EXPECT_EQ(host.nr(), 1);  // ... and a new one
  EXPECT_EQ(host.changed(), 0);
  EXPECT_EQ(host.free(), 1);
  // The restart prompt after each OK (the folder dialog was closed).
  std::vector<std::string> texts;
  for (const SeenBox &b : boxes.Boxes()) texts.push_back(b.text.substr(0, 30));
  EXPECT_EQ(texts, std::vector<std::string>(2, "Um diese Änderung zu aktiviere"));
}

TEST_F(Exports, CreatePlacesTheWindowWhereTheHostSays) {
  BoxWatcher boxes;
  HostModule host;
  EXPECT_EQ(host.Create(0, 0, 320, 480, 13, 0, "Eine Überschrift", nullptr, 4096, 263), 0);
  HWND tip = FindTipWindow();
  ASSERT_NE(tip, nullptr);
  RECT r = ScreenRectOf(tip);
  EXPECT_EQ(r.left, 0);  // 0 stays 0 here; only the message commands take 0 for 1
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 320);
  EXPECT_EQ(r.bottom - r.top, 480);
  EXPECT_EQ(TextOf(tip), "Eine Überschrift");
  EXPECT_EQ(TextOf(FindControl(tip, "StaticTextTitle")), "Eine Überschrift");
  EXPECT_TRUE(IsWindowVisible(tip));
  host.free();

  // The ten parameters arrive in declaration order: every one of them shows somewhere.
  EXPECT_EQ(host.Create(11, 22, 333, 444, 13, 1, "", "", 4096, 263), 0);
  tip = FindTipWindow();
  ASSERT_NE(tip, nullptr);
  r = ScreenRectOf(tip);
  EXPECT_EQ(r.left, 11);
  EXPECT_EQ(r.top, 22);
  EXPECT_EQ(r.right - r.left, 333);
  EXPECT_EQ(r.bottom - r.top, 444);
  EXPECT_EQ(TextOf(tip), "");
  EXPECT_TRUE(IsShown(FindControl(tip, "MemoHelpUS")));      // language 1
  EXPECT_TRUE(IsEnabledControl(FindControl(tip, "HotSpeedButtonOK")));  // os 13 in mask 4096
  EXPECT_NE(TextOf(FindControl(tip, "MemoHelpUS")).find("boot"), std::string::npos);  // help 263
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(Exports, LanguageOneIsEnglishEveryOtherValueGerman) {
  BoxWatcher boxes;
  HostModule host;
  for (int language : {0, 2, -1, 1}) {
    SCOPED_TRACE(language);
    host.CreateDefault(language);
    HWND tip = FindTipWindow();
    ASSERT_NE(tip, nullptr);
    bool english = language == 1;
    EXPECT_EQ(IsShown(FindControl(tip, "MemoHelpD")), !english);
    EXPECT_EQ(IsShown(FindControl(tip, "MemoHelpUS")), english);
    EXPECT_EQ(TextOf(FindControl(tip, "T263_CheckBox")),
              english ? "Insert LOG.BAT to AUTOEXEC.BAT" : "LOG.BAT in AUTOEXEC.BAT einfügen");
    // The rest of the window is German in both languages.
    EXPECT_EQ(TextOf(FindControl(tip, "T263_SpeedButton")), "WINBOOT.LOG anzeigen");
    // Both help texts are there whatever the language.
    EXPECT_NE(TextOf(FindControl(tip, "MemoHelpD")).find("Rechner"), std::string::npos);
    EXPECT_NE(TextOf(FindControl(tip, "MemoHelpUS")).find("computer"), std::string::npos);
    host.free();
  }
}

struct ValidityCase {
  const char *what;
  int bsControl;  // -1: no value
  int os;
  int mask;
  bool usable;
};

TEST_F(Exports, UnsupportedSystemDisablesAllButHelpInfoAndRegistry) {
  const ValidityCase cases[] = {
      {"valid system", -1, 13, 4096, true},
      {"mask 0, setting missing", -1, 13, 0, false},
      {"mask 0, setting 1", 1, 13, 0, false},
      {"mask 0, setting 0", 0, 13, 0, true},
      {"code 18 needs bit 131072", -1, 18, 131072, true},
      {"code 0 is no system", -1, 0, -1, false},
      {"code 19 is no system", -1, 19, -1, false},
      {"code 19, setting 0", 0, 19, -1, true},
  };
  BoxWatcher boxes;
  HostModule host;
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    if (c.bsControl < 0) DeleteUserValue(kSettings, "BSControl");
    else SetUserDword(kSettings, "BSControl", DWORD(c.bsControl));
    host.CreateDefault(0, c.os, c.mask);
    HWND tip = FindTipWindow();
    ASSERT_NE(tip, nullptr);
    for (const char *name : {"HotSpeedButtonOK", "HotSpeedButtonUndo", "T263_Memo", "T263_CheckBox",
                             "T263_SpeedButton", "T263_SpeedButtonDEL", "PanelTopBorder"})
      EXPECT_EQ(IsEnabledControl(FindControl(tip, name)), c.usable) << name;
    for (const char *name : {"StaticTextTitle", "MemoHelpD", "MemoHelpUS", "HotSpeedButtonInfo",
                             "HotSpeedButtonRegistry"})
      EXPECT_TRUE(IsEnabledControl(FindControl(tip, name))) << name;
    // Only a usable tip fills in the batch text.
    EXPECT_EQ(TextOf(FindControl(tip, "T263_Memo")).empty(), !c.usable);
    host.free();
  }
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(Exports, SettingOfTheWrongTypeIsReportedAndThenCountsAsMissing) {
  SetUserString(kSettings, "BSControl", "1");
  BoxWatcher boxes;
  HostModule host;
  // A missing setting enforces validity: a system outside the mask gets a disabled window,
  // one inside it a working one.
  for (int mask : {0, 4096}) {
    SCOPED_TRACE(mask);
    boxes.Clear();
    EXPECT_EQ(host.CreateDefault(0, 13, mask), 0);
    HWND tip = FindTipWindow();
    ASSERT_NE(tip, nullptr);
    auto seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find("BSControl"), std::string::npos) << seen[0].text;
    bool valid = mask != 0;
    EXPECT_EQ(IsEnabledControl(FindControl(tip, "HotSpeedButtonOK")), valid);
    EXPECT_EQ(IsEnabledControl(FindControl(tip, "T263_CheckBox")), valid);
    EXPECT_EQ(TextOf(FindControl(tip, "T263_Memo")).empty(), !valid);
    EXPECT_TRUE(IsEnabledControl(FindControl(tip, "HotSpeedButtonInfo")));
    host.free();
  }
}

TEST_F(Exports, WindowLifeIsSafeWhateverTheOrderOfCalls) {
  BoxWatcher boxes;
  HostModule host;
  EXPECT_EQ(host.save(), 1);  // before any window: nothing to save
  EXPECT_EQ(host.free(), 1);  // nothing to free
  host.CreateDefault();
  HWND first = FindTipWindow();
  host.CreateDefault(1);  // a second create replaces the open window
  EXPECT_EQ(CountTipWindows(), 1);
  EXPECT_FALSE(IsWindow(first));
  HWND second = FindTipWindow();
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(IsShown(FindControl(second, "MemoHelpUS")));
  EXPECT_EQ(host.free(), 1);
  EXPECT_EQ(host.free(), 1);  // a second free finds nothing to destroy
  EXPECT_EQ(host.save(), 1);
  EXPECT_EQ(CountTipWindows(), 0);

  // The host's close command destroys the window; the exports know it.
  host.CreateDefault();
  HWND tip = FindTipWindow();
  SendMessageA(tip, host.message, 0, 0);
  EXPECT_FALSE(IsWindow(tip));
  EXPECT_EQ(host.save(), 1);
  EXPECT_EQ(host.free(), 1);
  EXPECT_EQ(host.CreateDefault(), 0);
  EXPECT_EQ(CountTipWindows(), 1);
  EXPECT_EQ(host.free(), 1);
  EXPECT_TRUE(boxes.Boxes().empty());

  // A window the host destroyed itself, or with a parent it gave, is closed for every
  // export: saving asks for no folder and touches no file.
  const std::string autoexec = ReadTextFile("c:\\AUTOEXEC.BAT");
  for (bool withParent : {false, true}) {
    SCOPED_TRACE(withParent ? "parent destroyed" : "window destroyed");
    host.CreateDefault();
    tip = FindTipWindow();
    if (withParent) {
      HWND parent = CreateWindowExA(0, "STATIC", "Host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                                    nullptr, nullptr, nullptr);
      SetParent(tip, parent);
      DestroyWindow(parent);
    } else {
      DestroyWindow(tip);
    }
    ASSERT_FALSE(IsWindow(tip));
    EXPECT_EQ(host.save(), 1);
    EXPECT_EQ(boxes.FolderDialogs(), 0);
    EXPECT_EQ(ReadTextFile("c:\\AUTOEXEC.BAT"), autoexec);
    EXPECT_EQ(host.free(), 1);
  }
  EXPECT_EQ(host.CreateDefault(), 0);
  EXPECT_EQ(CountTipWindows(), 1);
  EXPECT_EQ(host.free(), 1);
  EXPECT_TRUE(boxes.Boxes().empty());
}

// A window the system refuses to make: the user hears why no tip opened, and nothing of a
// half-made window is left.
HHOOK refusingHook = nullptr;
LRESULT CALLBACK RefuseEditBoxes(int code, WPARAM w, LPARAM l) {
  if (code == HCBT_CREATEWND) {
    LPCSTR cls = reinterpret_cast<CBT_CREATEWNDA *>(l)->lpcs->lpszClass;
    if (HIWORD(cls) && lstrcmpiA(cls, "EDIT") == 0) return 1;
  }
  return CallNextHookEx(refusingHook, code, w, l);
}

TEST_F(Exports, AFailedCreateIsReportedAndLeavesNoWindow) {
  BoxWatcher boxes;
  HostModule host;
  refusingHook = SetWindowsHookExA(WH_CBT, RefuseEditBoxes, nullptr, GetCurrentThreadId());
  ASSERT_NE(refusingHook, nullptr);
  EXPECT_EQ(host.CreateDefault(), 0);
  UnhookWindowsHookEx(refusingHook);
  PumpMessages();
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_NE(boxes.Boxes()[0].text.find("kann nicht erzeugt werden"), std::string::npos) << boxes.Boxes()[0].text;
  EXPECT_EQ(CountTipWindows(), 0);
  EXPECT_EQ(host.save(), 1);
  EXPECT_EQ(host.free(), 1);
  EXPECT_EQ(host.CreateDefault(), 0);
  EXPECT_EQ(CountTipWindows(), 1);
  EXPECT_EQ(host.free(), 1);
}

TEST_F(Exports, UnloadingWithTheWindowOpenTakesTheWindowAlong) {
  BoxWatcher boxes;
  HMODULE module = LoadLibraryA("Bootlog.dll");
  ASSERT_NE(module, nullptr);
  auto create = reinterpret_cast<TModulCreateProc>(GetProcAddress(module, "ModulCreate"));
  CallModulCreate(create, 300, 1, 300, 460, 13, 0, "Tipp", "", 4096, 263);
  HWND tip = FindTipWindow();
  ASSERT_NE(tip, nullptr);
  FreeLibrary(module);
  EXPECT_FALSE(IsWindow(tip));
  PumpMessages();  // nothing is left that could be called
  EXPECT_TRUE(boxes.Boxes().empty());
}

// A window that is not valid for the system, or whose set-up failed, holds nothing of the
// user's: saving it changes no file, shows nothing, tells no one and answers 1.  (A valid
// window saves also while the log view disables OK: see the end-to-end tests.)
TEST_F(Exports, SaveChangesOnAWindowNeverSetUpLeavesEveryFileAsItWas) {
  const std::string autoexec = "@echo off\r\n@call C:\\TOOLS\\LOG.BAT\r\n";
  struct Case {
    const char *what;
    int mask;
    bool autoexecHeld;  // by another program while the window opens
  } cases[] = {
      {"not valid for the system", 0, false},
      {"AUTOEXEC.BAT unreadable while the window opened", 4096, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    PrepareBootDrive(autoexec.c_str(), "Datum\r\n");
    CreateDirectoryA("c:\\TOOLS", nullptr);
    WriteTextFile("c:\\TOOLS\\LOG.BAT", "echo mine\r\n");
    BoxWatcher boxes;  // would close a folder dialog and decline a restart
    boxes.Answer = [](const SeenBox &) { return IDNO; };
    HostModule host;
    {
      std::unique_ptr<HeldOpen> held(c.autoexecHeld ? new HeldOpen("c:\\AUTOEXEC.BAT") : nullptr);
      host.CreateDefault(0, 13, c.mask);
    }
    ASSERT_NE(FindTipWindow(), nullptr);
    EXPECT_FALSE(IsEnabledControl(FindControl(FindTipWindow(), "HotSpeedButtonOK")));
    size_t setUpBoxes = boxes.Boxes().size();  // the failed set-up was reported
    EXPECT_EQ(setUpBoxes, c.autoexecHeld ? 1u : 0u);
    BroadcastListener listener(host.message);
    EXPECT_EQ(host.save(), 1);
    EXPECT_EQ(boxes.FolderDialogs(), 0);
    EXPECT_EQ(boxes.Boxes().size(), setUpBoxes);
    EXPECT_TRUE(listener.received.empty());
    EXPECT_EQ(ReadTextFile("c:\\AUTOEXEC.BAT"), autoexec);
    EXPECT_EQ(ReadTextFile("c:\\TOOLS\\LOG.BAT"), "echo mine\r\n");
    EXPECT_EQ(ReadTextFile("c:\\winboot.log"), "Datum\r\n");
    EXPECT_EQ(host.nr(), 2);
    EXPECT_EQ(host.free(), 1);
    RemoveTree("c:\\TOOLS");
  }
}

}  // namespace
