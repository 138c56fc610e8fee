#include "folderselect/DriveQueries.h"

#include <winnetwk.h>

#include "toolkit/SysUtils.h"

namespace {

// Restores the process's error mode at the end of a scope.
class TErrorModeScope {
 public:
  explicit TErrorModeScope(UINT mode) : previous_(SetErrorMode(mode)) {}
  ~TErrorModeScope() { SetErrorMode(previous_); }
  TErrorModeScope(const TErrorModeScope &) = delete;
  TErrorModeScope &operator=(const TErrorModeScope &) = delete;

 private:
  UINT previous_;
};

std::string InDriveCase(char drive, const std::string &name) {
  return BYTE(drive) >= BYTE('a') ? AnsiLowerCaseFileName(name) : AnsiUpperCaseFileName(name);
}

DWORD SystemLogicalDrives() { return GetLogicalDrives(); }
UINT SystemDriveType(const char *root) { return GetDriveTypeA(root); }

const TDriveQueries kSystemDriveQueries = {SystemLogicalDrives, SystemDriveType, DriveVolumeLabel,
                                           DriveNetworkName};
const TDriveQueries *g_driveQueries = &kSystemDriveQueries;

}  // namespace

const TDriveQueries &CurrentDriveQueries() { return *g_driveQueries; }

const TDriveQueries *SetDriveQueries(const TDriveQueries *queries) {
  const TDriveQueries *previous = g_driveQueries;
  g_driveQueries = queries ? queries : &kSystemDriveQueries;
  return previous;
}

std::string DriveVolumeLabel(char Drive) {
  // A drive without a medium must fail quietly instead of asking the user.
  TErrorModeScope quiet(SEM_FAILCRITICALERRORS);
  char root[4] = {Drive, ':', '\\', 0};
  char name[MAX_PATH + 1] = {0};
  DWORD maxComponent = 0, flags = 0;
  std::string label;
  if (GetVolumeInformationA(root, name, sizeof name, nullptr, &maxComponent, &flags, nullptr, 0))
    label = name;
  return Format("[%s]", InDriveCase(Drive, label).c_str());
}

std::string DriveNetworkName(char Drive) {
  char local[3] = {UpCase(Drive), ':', 0};
  char remote[MAX_PATH + 1] = {0};
  DWORD size = sizeof remote;
  if (WNetGetConnectionA(local, remote, &size) == NO_ERROR) return InDriveCase(Drive, remote);
  return DriveVolumeLabel(Drive);
}
