#include "bootlog/Autoexec.h"

#include <cctype>

#include "bootlog/FileReplace.h"
#include "toolkit/Classes.h"
#include "toolkit/SysUtils.h"

namespace {

const char kEndOfFile = '\x1A';

// One name of a DOS path: 1 to 8 characters, then at most one dot and 1 to 3 more, none
// of them a blank or a character DOS keeps for itself.
bool IsDosName(const std::string &name) {
  size_t dot = name.find('.');
  std::string base = name.substr(0, dot);
  std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
  if (dot != std::string::npos && ext.empty()) return false;
  for (char c : base + ext) {
    auto u = static_cast<unsigned char>(c);
    if (u <= ' ' || u == 0x7F || std::string("\"*+,./:;<=>?[\\]|").find(c) != std::string::npos)
      return false;
  }
  return true;
}

// Whether c can be part of a file name, as DOS or Windows reads one: "log.bat" with such a
// character before or after it is part of another name (CATALOG.BAT, LOG.BAT1, MY.LOG.BAT).
bool IsNameChar(char c) {
  auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) || u >= 0x80 || std::string("!#$%&'()-@^_`{}~.").find(c) != std::string::npos;
}

// Where line names a file called LOG.BAT, or npos.  An "@" that starts the command
// ("@LOG.BAT", "@C:\X\LOG.BAT") only keeps the command from being echoed.
size_t LogBatNameAt(const std::string &line) {
  const std::string lower = LowerCase(line), name = "log.bat";
  for (size_t at = lower.find(name); at != std::string::npos; at = lower.find(name, at + 1)) {
    size_t end = at + name.size();
    if (end < lower.size() && IsNameChar(lower[end])) continue;
    if (at == 0 || !IsNameChar(lower[at - 1])) return at;
    if (lower[at - 1] == '@' && lower.find_first_not_of(" \t@") >= at) return at;
  }
  return std::string::npos;
}

// The system's short (8.3) name of Folder, or "" where it has none.
std::string ShortPathOf(const std::string &Folder) {
  char shortPath[MAX_PATH] = {0};
  DWORD n = FileCalls().GetShortPathNameA(Folder.c_str(), shortPath, sizeof shortPath);
  return n > 0 && n < sizeof shortPath ? std::string(shortPath, n) : std::string();
}

}  // namespace

std::string BootDriveRoot() { return "c:\\"; }

std::string AutoexecPath() { return BootDriveRoot() + "AUTOEXEC.BAT"; }

bool IsLogBatHook(const std::string &line) { return LogBatNameAt(line) != std::string::npos; }

std::string HookedLogBat(const std::string &line) {
  size_t at = LogBatNameAt(line);
  if (at == std::string::npos) return std::string();
  size_t start = line.find_last_of(" \t=,;\"<>|", at);
  start = start == std::string::npos ? 0 : start + 1;
  start = line.find_first_not_of('@', start);
  std::string path = line.substr(start, at + 7 - start);
  OemToCharBuffA(path.c_str(), &path[0], DWORD(path.size()));
  // The start-up interpreter runs in the boot drive's root.
  if (path.size() < 2 || path[1] != ':') path = (path[0] == '\\' ? "c:" : BootDriveRoot()) + path;
  return path;
}

bool HookCallsFolder(const std::string &line, const std::string &Folder) {
  std::string called = HookedLogBat(line);
  if (called.empty()) return false;
  if (AnsiCompareFileName(called, LogBatPath(Folder)) == 0) return true;
  std::string shortFolder = ShortPathOf(Folder);
  return !shortFolder.empty() && AnsiCompareFileName(called, LogBatPath(shortFolder)) == 0;
}

std::string LogBatPath(const std::string &Folder) { return IncludeTrailingBackslash(Folder) + "LOG.BAT"; }

bool IsPlainDosPath(const std::string &Path) {
  if (Path.size() < 2 || !std::isalpha(static_cast<unsigned char>(Path[0])) || Path[1] != ':')
    return false;
  std::string rest = Path.substr(2);
  if (rest.empty() || rest == "\\") return true;
  if (rest[0] != '\\') return false;
  if (rest.back() == '\\') rest.pop_back();
  size_t start = 1;
  for (;;) {
    size_t end = rest.find('\\', start);
    if (!IsDosName(rest.substr(start, end == std::string::npos ? std::string::npos : end - start)))
      return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

std::string DosPathOf(const std::string &Path) {
  if (Path.empty()) return std::string();
  // The DOS code page has no room for some characters and maps them onto others, some of
  // which mean something to the command interpreter ("<" for "‹"): only a path that comes
  // back unchanged is the one DOS will read.
  std::string oem = Path, back = Path;
  CharToOemBuffA(Path.c_str(), &oem[0], DWORD(Path.size()));
  OemToCharBuffA(oem.c_str(), &back[0], DWORD(oem.size()));
  if (back != Path || !IsPlainDosPath(oem)) return std::string();
  return oem;
}

std::string DosLogBatPath(const std::string &Folder) {
  std::string dosFolder = DosPathOf(Folder);
  if (dosFolder.empty()) dosFolder = DosPathOf(ShortPathOf(Folder));
  if (dosFolder.empty())
    throw EFCreateError("Datei " + AutoexecPath() + " wurde nicht geändert. Das Verzeichnis " +
                        Folder + " hat keinen kurzen Namen (8.3), unter dem LOG.BAT beim "
                        "Rechnerstart aufgerufen werden kann.");
  return LogBatPath(dosFolder);
}

std::string HookLine(const std::string &Folder) { return "@call " + DosLogBatPath(Folder); }

std::string AutoexecWithHook(const std::string &Text, const std::string &Hook) {
  size_t mark = Text.find(kEndOfFile);
  if (mark == std::string::npos) mark = Text.size();
  TStringList lines;
  lines.SetText(Text.substr(0, mark));
  lines.Add(Hook);
  return lines.Text() + Text.substr(mark);
}

std::string AutoexecCallingFolder(const std::string &Text, const std::string &Folder,
                                  std::string (*MakeHook)(const std::string &Folder)) {
  size_t mark = Text.find(kEndOfFile);
  if (mark == std::string::npos) mark = Text.size();
  TStringList lines;
  lines.SetText(Text.substr(0, mark));
  int first = -1;
  for (int i = 0; i < lines.Count(); ++i) {
    if (!IsLogBatHook(lines[i])) continue;
    if (HookCallsFolder(lines[i], Folder)) return Text;
    if (first < 0) first = i;
  }
  std::string hook = MakeHook(Folder);
  if (first < 0) return AutoexecWithHook(Text, hook);
  for (int i = lines.Count() - 1; i > first; --i)
    if (IsLogBatHook(lines[i])) lines.Delete(i);
  lines.Delete(first);
  lines.Insert(first, hook);
  return lines.Text() + Text.substr(mark);
}

std::string AutoexecWithoutHooks(const std::string &Text) {
  TStringList lines;
  lines.SetText(Text);
  for (int i = lines.Count() - 1; i >= 0; --i)
    if (IsLogBatHook(lines[i])) lines.Delete(i);
  return lines.Text();
}
