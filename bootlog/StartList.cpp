#include "bootlog/StartList.h"

#include <windows.h>

#include <cstring>

#include "bootlog/Autoexec.h"
#include "toolkit/SysUtils.h"

const char *const kStartListKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
const char *const kStartListValue = "Tessaly 2000 LOG.BAT";

std::string StartListCommand(const std::string &Folder) {
  // LOG.BAT as the hook line of AUTOEXEC.BAT calls it, under the same rules (a name DOS
  // reads as it stands, else the short 8.3 one), back in the Windows code page: the system
  // gives the command to the interpreter in DOS's.
  std::string logBat = DosLogBatPath(Folder);
  OemToCharBuffA(logBat.c_str(), &logBat[0], DWORD(logBat.size()));
  char shell[MAX_PATH] = {0};
  DWORD n = GetEnvironmentVariableA("COMSPEC", shell, sizeof shell);
  if (n == 0 || n >= sizeof shell) {
    n = GetWindowsDirectoryA(shell, sizeof shell - 13);
    if (n >= sizeof shell - 13) n = 0;
    if (n > 0 && shell[n - 1] != '\\') shell[n++] = '\\';
    memcpy(shell + n, "COMMAND.COM", 12);
  }
  return Format(strchr(shell, ' ') ? "\"%s\" /c %s" : "%s /c %s", shell, logBat.c_str());
}

void UpdateStartListEntry(int OsCode, bool Wanted, bool Chosen, const std::string &Folder) {
  if (!StartsThroughStartList(OsCode) || (Wanted && !Chosen)) return;
  std::string command = Wanted ? StartListCommand(Folder) : std::string();
  HKEY key = nullptr;
  LONG code = Wanted ? RegCreateKeyExA(HKEY_LOCAL_MACHINE, kStartListKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)
                     : RegOpenKeyExA(HKEY_LOCAL_MACHINE, kStartListKey, 0, KEY_SET_VALUE, &key);
  if (code == ERROR_SUCCESS) {
    code = Wanted ? RegSetValueExA(key, kStartListValue, 0, REG_SZ, reinterpret_cast<const BYTE *>(command.c_str()),
                                   DWORD(command.size() + 1))
                  : RegDeleteValueA(key, kStartListValue);
    RegCloseKey(key);
  }
  // Nothing to remove where there is no start list, or no value of ours in it.
  if (code != ERROR_SUCCESS && (Wanted || code != ERROR_FILE_NOT_FOUND))
    throw ERegistryException(Format("Der Eintrag HKEY_LOCAL_MACHINE\\%s\\%s kann nicht %s werden.", kStartListKey,
                                    kStartListValue, Wanted ? "geschrieben" : "entfernt"),
                             TSystemError{DWORD(code)});
}
