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

}  // namespace

std::string BootDriveRoot() { return "c:\\"; }

std::string AutoexecPath() { return BootDriveRoot() + "AUTOEXEC.BAT"; }

bool IsLogBatHook(const std::string &line) {
  return LowerCase(line).find("log.bat") != std::string::npos;
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

std::string HookLine(const std::string &Folder) {
  std::string dosFolder = DosPathOf(Folder);
  if (dosFolder.empty()) {
    char shortPath[MAX_PATH] = {0};
    DWORD n = FileCalls().GetShortPathNameA(Folder.c_str(), shortPath, sizeof shortPath);
    if (n > 0 && n < sizeof shortPath) dosFolder = DosPathOf(std::string(shortPath, n));
  }
  if (dosFolder.empty())
    throw EFCreateError("Datei " + AutoexecPath() + " wurde nicht geändert. Das Verzeichnis " +
                        Folder + " hat keinen kurzen Namen (8.3), unter dem LOG.BAT beim "
                        "Rechnerstart aufgerufen werden kann.");
  return "@call " + LogBatPath(dosFolder);
}

std::string AutoexecWithHook(const std::string &Text, const std::string &Hook) {
  size_t mark = Text.find(kEndOfFile);
  if (mark == std::string::npos) mark = Text.size();
  TStringList lines;
  lines.SetText(Text.substr(0, mark));
  lines.Add(Hook);
  return lines.Text() + Text.substr(mark);
}

std::string AutoexecWithoutHooks(const std::string &Text) {
  TStringList lines;
  lines.SetText(Text);
  for (int i = lines.Count() - 1; i >= 0; --i)
    if (IsLogBatHook(lines[i])) lines.Delete(i);
  return lines.Text();
}
