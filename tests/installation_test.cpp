// What OK changes on the system: LOG.BAT in the chosen folder, the hook in c:\AUTOEXEC.BAT
// or its removal, the host's broadcast and the restart prompt; and that a failure at any
// step ends there and leaves AUTOEXEC.BAT byte for byte as it was.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "bootlog/FileReplace.h"
#include "bootlog/BootlogForm.h"
#include "bootlog/StartList.h"
#include "folderselect/SelectDirDlg.h"
#include "template/ModulState.h"
#include "support/TestSupport.h"
#include "toolkit/SystemActions.h"

namespace {

const char *const kAutoexec = "c:\\AUTOEXEC.BAT";
const char *const kSettings = "SOFTWARE\\Orvane\\Tessaly 2000";
const std::string kRoot = "c:\\insttest";
const std::string kTools = kRoot + "\\TOOLS";
const char *const kRestartQuestion = "Um diese Änderung zu aktivieren";
const std::string kPlain = "@echo off\r\nSET PATH=C:\\WINDOWS\r\n";

std::string LogBatBytes() {
  std::string text;
  for (const std::string &line : LogBatText()) text += line + "\r\n";
  return text;
}

// A literal with the NUL bytes in it.
template <size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

DWORD Attributes(const std::string &path) { return GetFileAttributesA(path.c_str()); }

// --- File calls that fail as a full disk, a locked folder or an old system would ----------

struct Faults {
  std::string refuseCreateIn;  // folder in which no new file can be created
  std::string writeLimitFor;   // file (a replacement's name) whose disk fills up...
  long long writeLimit = -1;   // ...after this many bytes
  bool noReplacingMove = false;  // MoveFileExA as on Windows 95/98/ME
  std::string refuseMoveFrom;    // MoveFileA of this file fails
  bool noShortNames = false;
  bool shortWriteSucceeds = false;  // the full disk's write answers TRUE, short
  HANDLE limitedHandle = INVALID_HANDLE_VALUE;
  long long written = 0;
} g_faults;

HANDLE WINAPI FaultyCreateFile(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                               DWORD disposition, DWORD flags, HANDLE templ) {
  std::string n = name;
  if (!g_faults.refuseCreateIn.empty() && disposition == CREATE_ALWAYS &&
      AnsiCompareFileName(ExtractFilePath(n), IncludeTrailingBackslash(g_faults.refuseCreateIn)) == 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  HANDLE h = CreateFileA(name, access, share, sa, disposition, flags, templ);
  if (AnsiCompareFileName(n, g_faults.writeLimitFor) == 0) {
    g_faults.limitedHandle = h;
    g_faults.written = 0;
  }
  return h;
}

BOOL WINAPI FaultyWriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED o) {
  if (file != g_faults.limitedHandle || g_faults.writeLimit < 0) return WriteFile(file, data, size, written, o);
  long long room = g_faults.writeLimit - g_faults.written;
  DWORD part = room < size ? DWORD(room < 0 ? 0 : room) : size;
  if (!WriteFile(file, data, part, written, o)) return FALSE;
  g_faults.written += *written;
  if (part < size && !g_faults.shortWriteSucceeds) {
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
  }
  return TRUE;
}

BOOL WINAPI FaultyMoveFileEx(LPCSTR from, LPCSTR to, DWORD flags) {
  if (g_faults.noReplacingMove) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
  }
  return MoveFileExA(from, to, flags);
}

BOOL WINAPI FaultyMoveFile(LPCSTR from, LPCSTR to) {
  if (AnsiCompareFileName(from, g_faults.refuseMoveFrom) == 0) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
  }
  return MoveFileA(from, to);
}

DWORD WINAPI FaultyShortPath(LPCSTR longPath, LPSTR shortPath, DWORD size) {
  if (g_faults.noShortNames) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return GetShortPathNameA(longPath, shortPath, size);
}

void InstallFaults(const Faults &faults) {
  g_faults = faults;
  TFileCalls &fs = FileCalls();
  fs.CreateFileA = FaultyCreateFile;
  fs.WriteFile = FaultyWriteFile;
  fs.MoveFileExA = FaultyMoveFileEx;
  fs.MoveFileA = FaultyMoveFile;
  fs.GetShortPathNameA = FaultyShortPath;
}

BOOL WINAPI RecordReboot(UINT, DWORD) { return TRUE; }

// The tip's value in the start list of Windows ME, "" for none; and setting it ("" removes).
std::string StartListValue() {
  char value[MAX_PATH * 2] = "";
  DWORD size = sizeof value;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kStartListKey, 0, KEY_READ, &key)) return "";
  LONG code = RegQueryValueExA(key, kStartListValue, nullptr, nullptr, reinterpret_cast<BYTE *>(value), &size);
  RegCloseKey(key);
  return code ? "" : value;
}
void SetStartListValue(const std::string &value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kStartListKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)) return;
  if (value.empty()) RegDeleteValueA(key, kStartListValue);
  else RegSetValueExA(key, kStartListValue, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()), DWORD(value.size() + 1));
  RegCloseKey(key);
}

// --- The window, the dialog's answer and what the user saw ---------------------------------

class Installation : public testing::Test {
 protected:
  void SetUp() override {
    DeleteUserValue(kSettings, "BSControl");
    RemoveTree(kRoot);
    CreateDirectoryA(kRoot.c_str(), nullptr);
    CreateDirectoryA(kTools.c_str(), nullptr);
    WriteTextFile(kAutoexec, kPlain);
    previousChooser_ = SetChooseDirectoryHandler([this](std::string &dir, TChooseDirOptions o, int ctx) {
      asked.push_back({dir, o.Bits, ctx});
      if (cancel) return false;
      dir = folder;
      return true;
    });
    // The restart prompt is answered No; every other box OK.
    boxes_.Answer = [](const TMessageBoxRequest &r) {
      return r.kind == TMessageBoxRequest::Dialog ? IDNO : IDOK;
    };
    savedActions_ = SystemActions();
    SystemActions().ExitWindowsEx = RecordReboot;
  }
  void TearDown() override {
    form_.reset();
    PumpMessages();
    FileCalls() = RealFileCalls();
    SetChooseDirectoryHandler(previousChooser_);
    SystemActions() = savedActions_;
    RemoveTree(kRoot);
    SetStartListValue("");
    for (const char *stray : {"c:\\AUTOEXEC.BL$", "c:\\AUTOEXEC.BL~", "c:\\LOG.BAT"}) RemoveIfExists(stray);
  }

  // Opens the window on the AUTOEXEC.BAT given, then sets the check box.
  TFormBootlog *Open(const std::string &autoexec, bool checked) {
    WriteTextFile(kAutoexec, autoexec);
    form_.reset();
    form_.reset(OpenTipForm());
    form_->T263_CheckBox->SetChecked(checked);
    PumpMessages();
    return form_.get();
  }

  // A click on OK as the mouse gives it; the toolkit reports what goes wrong in its box.
  void PressOk() {
    boxes_.boxes.clear();
    asked.clear();
    BroadcastListener host(ModulMessageId);
    PressWithMouseMessages(form_->HotSpeedButtonOK->Handle());
    broadcasts = host.received;
  }

  std::vector<std::string> Errors() const {
    std::vector<std::string> e;
    for (auto &b : boxes_.boxes)
      if (b.kind == TMessageBoxRequest::Error) e.push_back(b.text);
    return e;
  }
  bool AskedToRestart() const {
    for (auto &b : boxes_.boxes)
      if (b.kind == TMessageBoxRequest::Dialog && b.text.find(kRestartQuestion) == 0) return true;
    return false;
  }
  // The OK path ran to its end: saved, told the host, offered the restart.
  void ExpectCompleted() {
    EXPECT_TRUE(Errors().empty()) << Errors()[0];
    EXPECT_TRUE(ModulOkFlag);
    EXPECT_EQ(broadcasts, (std::vector<std::pair<WPARAM, LPARAM>>{{9999, 2}}));
    EXPECT_TRUE(AskedToRestart());
  }

  struct Asked {
    std::string directory;
    int options, helpCtx;
  };
  std::vector<Asked> asked;
  std::string folder = kTools;
  bool cancel = false;
  std::vector<std::pair<WPARAM, LPARAM>> broadcasts;
  SavedFile autoexec_{kAutoexec};
  BoxRecorder boxes_;
  std::unique_ptr<TFormBootlog> form_;

 private:
  TChooseDirectoryHandler previousChooser_;
  TSystemActions savedActions_{};
};

// --- Adding the hook -----------------------------------------------------------------------

TEST_F(Installation, AddsTheHookOnceWhateverTheFileLooksLike) {
  const std::string hook = "@call c:\\insttest\\TOOLS\\LOG.BAT\r\n";
  struct Case {
    const char *what;
    std::string before, after;
  } cases[] = {
      {"CR LF lines", kPlain, kPlain + hook},
      {"no line end at the end", "@echo off", "@echo off\r\n" + hook},
      {"LF only", "@echo off\nSET A=1\n", "@echo off\r\nSET A=1\r\n" + hook},
      {"CR only", "@echo off\rSET A=1\r", "@echo off\r\nSET A=1\r\n" + hook},
      {"bytes beyond ASCII and NUL", Bytes("REM \x80\xE4\xFF\0x\r\n"),
       Bytes("REM \x80\xE4\xFF\0x\r\n") + hook},
      {"DOS end-of-file mark", "@echo off\r\n\x1A", "@echo off\r\n" + hook + "\x1A"},
      {"end-of-file mark right after the text, more after it", "@echo off\r\nSET A=1\x1A\x1A\r\nold",
       "@echo off\r\nSET A=1\r\n" + hook + "\x1A\x1A\r\nold"},
      {"empty file", "", hook},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TFormBootlog *f = Open(c.before, true);
    ASSERT_EQ(f->T263_CheckBox->Tag, 0);
    PressOk();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].directory, "");
    EXPECT_EQ(asked[0].options, 0);
    EXPECT_EQ(asked[0].helpCtx, 1000);
    EXPECT_EQ(ReadTextFile(kTools + "\\LOG.BAT"), LogBatBytes());
    EXPECT_TRUE(boxes_.Saw("Datei LOG.BAT wurde im Verzeichnis c:\\insttest\\TOOLS erstellt !"));
    EXPECT_EQ(ReadTextFile(kAutoexec), c.after);
    ExpectCompleted();
    // A second OK in the same window writes LOG.BAT again but adds no second hook.
    PressOk();
    EXPECT_EQ(ReadTextFile(kAutoexec), c.after);
    ExpectCompleted();
    EXPECT_EQ(Attributes("c:\\AUTOEXEC.BL$"), INVALID_FILE_ATTRIBUTES);
  }
}

TEST_F(Installation, HookCallsEveryFolderByANameDosCanRun) {
  struct Case {
    const char *what;
    std::string folder;  // as the dialog returns it
    bool plain;          // written exactly as returned
  } cases[] = {
      {"plain 8.3 folder", kTools, true},
      {"root of the drive", "c:\\", true},
      {"name longer than eight", kRoot + "\\Protokolle", false},
      {"blank in the name", kRoot + "\\Boot Log", false},
      {"two dots", kRoot + "\\boot.log.d", false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    CreateDirectoryA(c.folder.c_str(), nullptr);
    folder = c.folder;
    Open(kPlain, true);
    PressOk();
    ExpectCompleted();
    std::string logBat = LogBatPath(c.folder);
    EXPECT_EQ(logBat.find("\\\\"), std::string::npos) << logBat;
    EXPECT_EQ(ReadTextFile(logBat), LogBatBytes());
    EXPECT_TRUE(boxes_.Saw("Datei LOG.BAT wurde im Verzeichnis " + c.folder + " erstellt !"));
    std::string text = ReadTextFile(kAutoexec);
    ASSERT_EQ(text.compare(0, kPlain.size(), kPlain), 0);
    std::string line = text.substr(kPlain.size());
    ASSERT_GE(line.size(), 8u);
    ASSERT_EQ(line.substr(line.size() - 2), "\r\n");
    line = line.substr(0, line.size() - 2);
    if (c.plain) { EXPECT_EQ(line, "@call " + logBat); }
    ASSERT_EQ(line.compare(0, 6, "@call "), 0);
    std::string called = line.substr(6);
    EXPECT_TRUE(IsPlainDosPath(ExtractFilePath(called))) << called;
    EXPECT_EQ(ReadTextFile(called), LogBatBytes()) << called << " is not the LOG.BAT written";
    RemoveIfExists(logBat);
  }
}

TEST_F(Installation, TheHookFollowsTheFolderChosen) {
  // A hook to another folder's LOG.BAT gives way to one calling the LOG.BAT just written;
  // one calling it already leaves AUTOEXEC.BAT alone; removing the hooks and checking the
  // box again adds one.
  const std::string hooked = "@call C:\\OLD\\LOG.BAT\r\n" + kPlain;
  const std::string moved = "@call c:\\insttest\\TOOLS\\LOG.BAT\r\n" + kPlain;
  TFormBootlog *f = Open(hooked, true);
  ASSERT_EQ(f->T263_CheckBox->Tag, 1);
  PressOk();
  ExpectCompleted();
  EXPECT_EQ(ReadTextFile(kAutoexec), moved);
  EXPECT_EQ(ReadTextFile(kTools + "\\LOG.BAT"), LogBatBytes());
  const std::string lfOnly = "@echo off\n@CALL C:\\INSTTEST\\TOOLS\\LOG.BAT\n";
  WriteTextFile(kAutoexec, lfOnly);
  PressOk();
  EXPECT_EQ(ReadTextFile(kAutoexec), lfOnly);

  WriteTextFile(kAutoexec, moved);
  f->T263_CheckBox->SetChecked(false);
  PressOk();
  EXPECT_EQ(ReadTextFile(kAutoexec), kPlain);
  f->T263_CheckBox->SetChecked(true);
  PressOk();
  EXPECT_EQ(ReadTextFile(kAutoexec), kPlain + "@call c:\\insttest\\TOOLS\\LOG.BAT\r\n");
  ExpectCompleted();
}

// Where the system starts without running AUTOEXEC.BAT's commands, OK with the box checked
// says so, between the LOG.BAT message and the restart prompt.
TEST_F(Installation, SystemsThatIgnoreAutoexecCommandsAreToldSo) {
  const std::string written = "Datei LOG.BAT wurde im Verzeichnis " + kTools + " erstellt !";
  struct Case {
    int os, language;
    bool checked, notice;
  } cases[] = {
      {1, 0, true, false},  {9, 1, true, false},  {10, 0, true, true},
      {12, 0, true, true},  {13, 1, true, true},  {18, 0, true, true},  {13, 0, false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "code " << c.os << (c.checked ? ", checked" : ", unchecked"));
    WriteTextFile(kAutoexec, kPlain);
    form_.reset();
    form_.reset(OpenTipForm(c.language, c.os, -1));
    form_->T263_CheckBox->SetChecked(c.checked);
    PressOk();
    ExpectCompleted();
    std::vector<std::string> texts = boxes_.Texts();
    ASSERT_EQ(texts.size(), c.notice ? 3u : 2u);
    EXPECT_EQ(texts[0], written);
    if (c.notice) {
      EXPECT_EQ(texts[1], AutoexecIgnoredNotice(c.language));
      EXPECT_NE(texts[1].find("AUTOEXEC.BAT"), std::string::npos);
    }
  }
}

// On Windows ME the start list runs LOG.BAT: OK names the folder just chosen there, by a
// name DOS can read, or removes the value; no other system gets one.
TEST_F(Installation, OnWindowsMeTheStartListRunsLogBat) {
  const std::string longFolder = kRoot + "\\Lange Protokolle", old = "C:\\WINDOWS\\COMMAND.COM /c C:\\ALT\\LOG.BAT";
  CreateDirectoryA(longFolder.c_str(), nullptr);
  char shortFolder[MAX_PATH] = "", comspec[MAX_PATH] = "";
  GetShortPathNameA(longFolder.c_str(), shortFolder, sizeof shortFolder);
  GetEnvironmentVariableA("COMSPEC", comspec, sizeof comspec);
  const std::string runs = std::string(comspec) + " /c ";
  struct Case {
    int os;
    bool checked, cancelled;
    std::string folder, before, after;
  } cases[] = {
      {12, true, false, longFolder, "", runs + shortFolder + "\\LOG.BAT"},
      {12, true, false, kTools, old, runs + kTools + "\\LOG.BAT"},
      {12, true, true, kTools, old, old},
      {12, false, false, kTools, old, ""},
      {12, false, true, kTools, "", ""},
      {3, true, false, kTools, "", ""},
      {13, true, false, kTools, "", ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.os << c.checked << c.cancelled << c.folder);
    SetStartListValue(c.before);
    folder = c.folder;
    cancel = c.cancelled;
    form_.reset();
    WriteTextFile(kAutoexec, kPlain);
    form_.reset(OpenTipForm(0, c.os, -1));
    form_->T263_CheckBox->SetChecked(c.checked);
    PressOk();
    ExpectCompleted();
    EXPECT_EQ(StartListValue(), c.after);
    if (c.after.empty() || c.after == old) continue;
    EXPECT_TRUE(IsPlainDosPath(ExtractFilePath(c.after.substr(runs.size())))) << c.after;
    EXPECT_EQ(ReadTextFile(c.after.substr(runs.size())), LogBatBytes()) << "not the LOG.BAT written";
    EXPECT_TRUE(boxes_.Saw(AutoexecIgnoredNotice(0, 12)));
  }
}

// --- Removing hooks --------------------------------------------------------------------------

TEST_F(Installation, RemovesEveryHookAndKeepsEverythingElse) {
  struct Case {
    const char *what;
    std::string before, after;
  } cases[] = {
      {"top, middle, two in a row, end; other files named alike stay",
       "@call C:\\A\\LOG.BAT\r\n@echo off\r\nREM see mylog.bat\r\nSET A=1\r\n@CALL C:\\B\\log.bat\r\n"
       "call c:\\c\\Log.Bat\r\nCALL CATALOG.BAT\r\nSET B=2\r\n@call C:\\D\\LOG.BAT",
       "@echo off\r\nREM see mylog.bat\r\nSET A=1\r\nCALL CATALOG.BAT\r\nSET B=2\r\n"},
      {"no hook, LF only, no final line end", "@echo off\nSET A=1", "@echo off\r\nSET A=1\r\n"},
      {"CR only, bytes beyond ASCII, NUL and a look-alike",
       Bytes("REM L\xD6G.BAT\rA=\0\xFF\r@call x\\LOG.BAT\r"),
       Bytes("REM L\xD6G.BAT\r\nA=\0\xFF\r\n")},
      {"only hooks", "@call C:\\A\\LOG.BAT\r\n", ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TFormBootlog *f = Open(c.before, false);
    PressOk();
    EXPECT_EQ(ReadTextFile(kAutoexec), c.after);
    EXPECT_EQ(f->T263_CheckBox->Tag, 0);
    ExpectCompleted();
  }
}

TEST_F(Installation, CancelledDialogWritesNoLogBatAndAddsNoHook) {
  cancel = true;
  const std::string hooked = "@call C:\\A\\LOG.BAT\r\n" + kPlain;
  struct Case {
    const char *what;
    std::string before;
    bool checked;
    std::string after;
  } cases[] = {
      {"box checked: nothing to hook", kPlain, true, kPlain},
      {"box unchecked: the hooks still go", hooked, false, kPlain},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    Open(c.before, c.checked);
    PressOk();
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(ReadTextFile(kAutoexec), c.after);
    EXPECT_TRUE(FolderEntries(kTools).empty());
    for (auto &b : boxes_.boxes) EXPECT_EQ(b.text.find("Datei LOG.BAT"), std::string::npos);
    ExpectCompleted();
  }
}

TEST_F(Installation, LogBatHoldsTheMemoAsEdited) {
  struct Case {
    const char *what, *memo, *bytes;
  } cases[] = {
      {"edited", "@echo off\r\necho Start >> c:\\boot.txt", "@echo off\r\necho Start >> c:\\boot.txt\r\n"},
      {"umlauts in the Windows code page", "echo Gerät", "echo Gerät\r\n"},
      {"empty", "", ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TFormBootlog *f = Open(kPlain, true);
    f->T263_Memo->SetText(c.memo);
    PressOk();
    EXPECT_EQ(ReadTextFile(kTools + "\\LOG.BAT"), c.bytes);
    ExpectCompleted();
  }
}

// --- Failures --------------------------------------------------------------------------------

TEST_F(Installation, EveryFailureStopsAtItsStepAndKeepsAutoexecAsItWas) {
  enum Stop { BeforeDialog, AtLogBat, AtAutoexec };
  const std::string big = [] {
    std::string s;
    for (int i = 0; s.size() < 200 * 1024; ++i) s += "SET VAR" + std::to_string(i) + "=C:\\WINDOWS\\COMMAND\r\n";
    return s;
  }();
  const std::string temp = "c:\\AUTOEXEC.BL$";
  const long long written = (big + "@call c:\\insttest\\TOOLS\\LOG.BAT\r\n").size();
  std::unique_ptr<HeldOpen> held;
  struct Case {
    const char *what;
    std::function<void()> arrange;
    Stop stop;
    const char *named;  // the file the message names
    bool checked = true;
  } cases[] = {
      {"AUTOEXEC.BAT gone", [] { DeleteFileA(kAutoexec); }, BeforeDialog, kAutoexec},
      {"AUTOEXEC.BAT held without sharing", [&] { held.reset(new HeldOpen(kAutoexec)); }, BeforeDialog, kAutoexec},
      {"AUTOEXEC.BAT held with read sharing only",
       [&] { held.reset(new HeldOpen(kAutoexec, FILE_SHARE_READ)); }, AtAutoexec, kAutoexec},
      {"AUTOEXEC.BAT read-only", [] { SetFileAttributesA(kAutoexec, FILE_ATTRIBUTE_READONLY); }, AtAutoexec, kAutoexec},
      {"no new file in c:\\", [] { InstallFaults({"c:\\"}); }, AtAutoexec, kAutoexec, false},
      {"disk full at the first byte", [&] { InstallFaults({"", temp, 0}); }, AtAutoexec, kAutoexec},
      {"disk full in the middle", [&] { InstallFaults({"", temp, 100 * 1024}); }, AtAutoexec, kAutoexec, false},
      {"disk full at the last byte", [&] { InstallFaults({"", temp, written - 1}); }, AtAutoexec, kAutoexec},
      {"a write that answers success, short",
       [&] {
         Faults f{"", temp, 100};
         f.shortWriteSucceeds = true;
         InstallFaults(f);
       },
       AtAutoexec, kAutoexec},
      {"no replacing move, the new file refuses its name",
       [&] {
         Faults f;
         f.noReplacingMove = true;
         f.refuseMoveFrom = temp;
         InstallFaults(f);
       },
       AtAutoexec, kAutoexec},
      {"LOG.BAT's folder takes no new file", [] { InstallFaults({kTools}); }, AtLogBat, "LOG.BAT"},
      {"LOG.BAT read-only",
       [] {
         WriteTextFile(kTools + "\\LOG.BAT", "old");
         SetFileAttributesA((kTools + "\\LOG.BAT").c_str(), FILE_ATTRIBUTE_READONLY);
       },
       AtLogBat, "LOG.BAT"},
      {"long folder without a short name",
       [this] {
         folder = kRoot + "\\Lange Protokolle";
         CreateDirectoryA(folder.c_str(), nullptr);
         Faults f;
         f.noShortNames = true;
         InstallFaults(f);
       },
       AtAutoexec, kAutoexec},
  };
  for (Case &c : cases) {
    SCOPED_TRACE(c.what);
    folder = kTools;
    Open(big + "@call C:\\A\\LOG.BAT", c.checked);
    form_->T263_CheckBox->Tag = 0;  // as if the window had found no hook
    std::string before = ReadTextFile(kAutoexec);
    c.arrange();
    if (Attributes(kAutoexec) == INVALID_FILE_ATTRIBUTES) before.clear();
    std::vector<std::string> rootBefore = FolderEntries("c:\\");
    DWORD attributesBefore = Attributes(kAutoexec);
    std::vector<std::string> folderBefore = FolderEntries(folder);
    PressOk();
    held.reset();
    FileCalls() = RealFileCalls();

    std::vector<std::string> errors = Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(c.named), std::string::npos) << errors[0];
    EXPECT_EQ(asked.size(), c.stop == BeforeDialog ? 0u : 1u);
    EXPECT_EQ(ReadTextFile(kAutoexec), before);
    EXPECT_EQ(Attributes(kAutoexec), attributesBefore);
    EXPECT_EQ(FolderEntries("c:\\"), rootBefore);
    std::vector<std::string> folderAfter = folderBefore;
    if (c.stop == AtAutoexec && std::find(folderAfter.begin(), folderAfter.end(), "LOG.BAT") == folderAfter.end())
      folderAfter.insert(std::lower_bound(folderAfter.begin(), folderAfter.end(), "LOG.BAT"), "LOG.BAT");
    EXPECT_EQ(FolderEntries(folder), folderAfter);
    bool toldLogBat = boxes_.Saw("Datei LOG.BAT wurde im Verzeichnis " + folder + " erstellt !");
    EXPECT_EQ(toldLogBat, c.stop == AtAutoexec);
    EXPECT_FALSE(ModulOkFlag);
    EXPECT_TRUE(broadcasts.empty());
    EXPECT_FALSE(AskedToRestart());

    SetFileAttributesA(kAutoexec, FILE_ATTRIBUTE_NORMAL);
    RemoveTree(folder);
    CreateDirectoryA(kTools.c_str(), nullptr);
  }
}

// --- Replacing a file -------------------------------------------------------------------------

TEST_F(Installation, ReplacementKeepsAttributesOnEverySystem) {
  const std::string path = kRoot + "\\AUTOEXEC.BAT";
  for (bool oldSystem : {false, true})
    for (DWORD attributes : {DWORD(FILE_ATTRIBUTE_ARCHIVE),
                             DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE)}) {
      SCOPED_TRACE(std::string(oldSystem ? "no replacing move" : "replacing move") + ", attributes " +
                   std::to_string(attributes));
      Faults f;
      f.noReplacingMove = oldSystem;
      InstallFaults(f);
      RemoveIfExists(path);
      WriteTextFile(path, "old");
      SetFileAttributesA(path.c_str(), attributes);
      ReplaceFileContents(path, "new\r\n");
      EXPECT_EQ(ReadTextFile(path), "new\r\n");
      EXPECT_EQ(Attributes(path), attributes);
      RemoveIfExists(path);
      ReplaceFileContents(path, "created");  // a file that was not there
      EXPECT_EQ(ReadTextFile(path), "created");
      EXPECT_EQ(FolderEntries(kRoot), (std::vector<std::string>{"AUTOEXEC.BAT", "TOOLS"}));
    }
}

TEST_F(Installation, OpeningPutsRightWhatACrashLeftBehind) {
  const std::string backup = "c:\\AUTOEXEC.BL~", temp = "c:\\AUTOEXEC.BL$";
  struct Case {
    const char *what;
    bool autoexec, backup, temp;
    std::string result;  // AUTOEXEC.BAT afterwards
    bool backupStuck = false;  // the backup cannot have its name back
  } cases[] = {
      {"old file only under the backup name", false, true, true, "old\r\n"},
      {"new file in place, backup still there", true, true, false, "new\r\n"},
      {"half-written new file beside the old", true, false, true, "new\r\n"},
      {"old file only under the backup name, which keeps it", false, true, true, "", true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    RemoveIfExists(kAutoexec);
    if (c.autoexec) WriteTextFile(kAutoexec, "new\r\n");
    if (c.backup) WriteTextFile(backup, "old\r\n");
    if (c.temp) WriteTextFile(temp, "ne");
    if (c.backupStuck) {
      Faults f;
      f.refuseMoveFrom = backup;
      InstallFaults(f);
    }
    boxes_.boxes.clear();
    form_.reset();
    ResetModuleState();
    ModulOsCode = 13;
    ModulValidOsMask = 4096;
    form_.reset(CreateForm<TFormBootlog>(nullptr));
    FileCalls() = RealFileCalls();
    if (c.backupStuck) {
      // The user hears where the only copy is; the tip applies no more than without the file.
      EXPECT_FALSE(ModulTipValid);
      ASSERT_EQ(boxes_.Texts().size(), 1u);
      std::string text = boxes_.Texts()[0];
      EXPECT_NE(text.find(kAutoexec), std::string::npos) << text;
      EXPECT_NE(text.find(backup), std::string::npos) << text;
      EXPECT_EQ(Attributes(kAutoexec), INVALID_FILE_ATTRIBUTES);
      EXPECT_EQ(ReadTextFile(backup), "old\r\n");
      EXPECT_EQ(ReadTextFile(temp), "ne");
      RemoveIfExists(backup);
      RemoveIfExists(temp);
      continue;
    }
    EXPECT_TRUE(boxes_.boxes.empty());
    EXPECT_TRUE(ModulTipValid);
    EXPECT_EQ(ReadTextFile(kAutoexec), c.result);
    EXPECT_EQ(Attributes(backup), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Attributes(temp), INVALID_FILE_ATTRIBUTES);
  }
}

}  // namespace
