// Reading and writing the registry: one open key at a time, closed by CloseKey or the
// destructor.
#pragma once
#include <windows.h>

#include <string>

#include "toolkit/SysUtils.h"

class TRegistry {
 public:
  TRegistry() = default;
  ~TRegistry() { CloseKey(); }
  TRegistry(const TRegistry &) = delete;
  TRegistry &operator=(const TRegistry &) = delete;

  HKEY RootKey = HKEY_CURRENT_USER;
  // Opens Key below RootKey (creating it when CanCreate); false when that fails.
  bool OpenKey(const std::string &Key, bool CanCreate);
  void CloseKey();
  bool ValueExists(const std::string &Name) const;
  // A DWORD value; any other type raises ERegistryException.
  bool ReadBool(const std::string &Name) const;
  int ReadInteger(const std::string &Name) const;
  // Raises ERegistryException when the value cannot be written.
  void WriteString(const std::string &Name, const std::string &Value);

 private:
  HKEY key_ = nullptr;
};
