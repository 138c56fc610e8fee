#include "toolkit/Registry.h"

bool TRegistry::OpenKey(const std::string &Key, bool CanCreate) {
  CloseKey();
  HKEY k = nullptr;
  LONG r;
  if (CanCreate) {
    DWORD disposition = 0;
    r = RegCreateKeyExA(RootKey, Key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &k, &disposition);
  } else {
    r = RegOpenKeyExA(RootKey, Key.c_str(), 0, KEY_READ | KEY_WRITE, &k);
  }
  if (r != ERROR_SUCCESS) return false;
  key_ = k;
  return true;
}

void TRegistry::CloseKey() {
  if (key_) {
    RegCloseKey(key_);
    key_ = nullptr;
  }
}

bool TRegistry::ValueExists(const std::string &Name) const {
  return key_ && RegQueryValueExA(key_, Name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

int TRegistry::ReadInteger(const std::string &Name) const {
  DWORD type = 0, value = 0, size = sizeof value;
  LONG r = key_ ? RegQueryValueExA(key_, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(&value), &size)
                : ERROR_INVALID_HANDLE;
  if (r == ERROR_MORE_DATA || (r == ERROR_SUCCESS && (type != REG_DWORD || size != sizeof value)))
    throw ERegistryException(Format("Ungültiger Datentyp für '%s'", Name.c_str()));
  if (r != ERROR_SUCCESS)
    throw ERegistryException(Format("Fehler beim Lesen von '%s'", Name.c_str()));
  return int(value);
}

bool TRegistry::ReadBool(const std::string &Name) const { return ReadInteger(Name) != 0; }

void TRegistry::WriteString(const std::string &Name, const std::string &Value) {
  LONG r = key_ ? RegSetValueExA(key_, Name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE *>(Value.c_str()), DWORD(Value.size() + 1))
                : ERROR_INVALID_HANDLE;
  if (r != ERROR_SUCCESS)
    throw ERegistryException(Format("Fehler beim Setzen der Daten für '%s'", Name.c_str()));
}

