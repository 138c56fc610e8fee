#include "folderselect/DriveQueries.h"

#include <winnetwk.h>

#include "folderselect/DirectorySearch.h"
#include "toolkit/SysUtils.h"

namespace {

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
  const char root[4] = {Drive, ':', '\\', 0};
  return Format("[%s]", InDriveCase(Drive, VolumeInformation(root).label).c_str());
}

std::string DriveNetworkName(char Drive) {
  char local[3] = {UpCase(Drive), ':', 0};
  char remote[MAX_PATH + 1] = {0};
  DWORD size = sizeof remote;
  if (WNetGetConnectionA(local, remote, &size) == NO_ERROR) return InDriveCase(Drive, remote);
  return DriveVolumeLabel(Drive);
}
