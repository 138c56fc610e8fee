// Where the drive combo box learns which drives exist and what they are called.
#pragma once

#include <windows.h>
#include <string>

// Where the drive combo box learns which drives exist and what they are called; tests
// replace it to show drive kinds the machine does not have.
struct TDriveQueries {
  DWORD (*LogicalDrives)();
  UINT (*DriveType)(const char *root);
  std::string (*VolumeLabel)(char drive);
  std::string (*NetworkName)(char drive);
};
// Installs queries (null: the system's) and returns the previous ones.
const TDriveQueries *SetDriveQueries(const TDriveQueries *queries);
const TDriveQueries &CurrentDriveQueries();

// "[label]" of the drive's volume, in the case of the drive letter; "[]" when the volume
// cannot be read (no system error box is shown).
std::string DriveVolumeLabel(char Drive);
// The remote name of a redirected drive, else DriveVolumeLabel.
std::string DriveNetworkName(char Drive);
