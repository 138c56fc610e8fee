// Reading directories: the search handle, one reading shared by the lists that follow
// a directory change, the walk over a directory's entries, and what a volume tells of
// itself.
#pragma once

#include <windows.h>
#include <functional>
#include <string>

// Closes a directory search at the end of a scope.
class TFindHandle {
 public:
  explicit TFindHandle(HANDLE h) : h_(h) {}
  ~TFindHandle() { if (h_ != INVALID_HANDLE_VALUE) FindClose(h_); }
  TFindHandle(const TFindHandle &) = delete;
  TFindHandle &operator=(const TFindHandle &) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }

 private:
  HANDLE h_;
};

// While one lives, a search for the same pattern (the same full path) is answered with
// the entries the first one found: a directory list and the file list that follows it
// read a directory once per change instead of once each, which counts in a large one.
// A volume is likewise asked once (the drive list wants its label, the directory list
// its flags).  Scopes nest; what was read goes with the outermost.  Open one only around
// work that changes nothing on disk.
class TDirectoryReadScope {
 public:
  TDirectoryReadScope();
  ~TDirectoryReadScope();
  TDirectoryReadScope(const TDirectoryReadScope &) = delete;
  TDirectoryReadScope &operator=(const TDirectoryReadScope &) = delete;
};

// How many searches of the file system have run so far (those a read scope answers from
// its entries do not count): how often a change of directory reads one, without a clock.
int DirectorySearchesRun();

// Every entry FindFirstFileA and FindNextFileA find for pattern ("." and ".." included),
// with its attributes.
void ForEachDirectoryEntry(const std::string &pattern,
                           const std::function<void(DWORD attributes, const char *name)> &visit);

// What GetVolumeInformationA tells of the volume of root ("c:\\"); known is false when
// it cannot be read.  Asked without the system's error box for a drive without a medium.
struct TVolumeInformation {
  bool known = false;
  std::string label;
  DWORD flags = 0;
};
TVolumeInformation VolumeInformation(const std::string &root);
