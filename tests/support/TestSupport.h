// Helpers shared by the tests: recorded message boxes, the module's state, files in the
// throw-away c:\ of the Wine prefix, and pumping messages.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Dialogs.h"

// Records every message box and answers it (IDOK, or what Answer returns).
class BoxRecorder {
 public:
  BoxRecorder();
  ~BoxRecorder();
  std::vector<TMessageBoxRequest> boxes;
  std::function<int(const TMessageBoxRequest &)> Answer;
  std::vector<std::string> Texts() const;
  bool Saw(const std::string &text) const;

 private:
  TMessageBoxHandler previous_;
};

// Puts the module-wide state back to its value at load.
void ResetModuleState();

// Handles the messages that are waiting (and those posted meanwhile) for about ms.
void PumpMessages(int ms = 0);

void WriteTextFile(const std::string &path, const std::string &text);
std::string ReadTextFile(const std::string &path);
void RemoveIfExists(const std::string &path);
// Removes a directory with everything in it, read-only entries included.
void RemoveTree(const std::string &dir);

// HKCU registry helpers.
void SetUserDword(const char *key, const char *name, DWORD value);
void SetUserString(const char *key, const char *name, const char *value);
void DeleteUserValue(const char *key, const char *name);
