#include "folderselect/DirectorySearch.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <vector>

#include "toolkit/SysUtils.h"

namespace {

struct TFoundEntry {
  DWORD attributes;
  size_t name;  // where the name starts in TSearch::names
};

// The entries of a search: names one after another, each ending in a zero, so that a
// folder of thousands costs two allocations instead of one per name.
struct TSearch {
  std::string key;  // the pattern's full path in upper case
  std::vector<TFoundEntry> entries;
  std::string names;
};

struct TReadCache {
  int depth = 0;
  // A deque: a visit may start a search of its own, and the entries being walked must
  // stay where they are meanwhile.
  std::deque<TSearch> searches;
  // By root in upper case.
  std::vector<std::pair<std::string, TVolumeInformation>> volumes;
};
TReadCache g_readCache;
int g_searchesRun = 0;

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

TVolumeInformation ReadVolumeInformation(const std::string &root) {
  // A drive without a medium must fail quietly instead of asking the user.
  TErrorModeScope quiet(SEM_FAILCRITICALERRORS);
  char name[MAX_PATH + 1] = {0};
  DWORD maxComponent = 0;
  TVolumeInformation info;
  if (GetVolumeInformationA(root.c_str(), name, sizeof name, nullptr, &maxComponent, &info.flags, nullptr, 0)) {
    info.known = true;
    info.label = name;
  }
  return info;
}

template <class Visit>
void Search(const std::string &pattern, Visit visit) {
  ++g_searchesRun;
  WIN32_FIND_DATAA fd;
  TFindHandle find(FindFirstFileA(pattern.c_str(), &fd));
  if (!find.Valid()) return;
  do visit(fd.dwFileAttributes, fd.cFileName);
  while (FindNextFileA(find.Get(), &fd));
}

}  // namespace

int DirectorySearchesRun() { return g_searchesRun; }

TDirectoryReadScope::TDirectoryReadScope() { ++g_readCache.depth; }

TDirectoryReadScope::~TDirectoryReadScope() {
  if (--g_readCache.depth == 0) {
    g_readCache.searches.clear();
    g_readCache.volumes.clear();
  }
}

void ForEachDirectoryEntry(const std::string &pattern,
                           const std::function<void(DWORD attributes, const char *name)> &visit) {
  if (g_readCache.depth == 0) {
    Search(pattern, visit);
    return;
  }
  std::string key = AnsiUpperCaseFileName(ExpandFileName(pattern));
  auto known = std::find_if(g_readCache.searches.begin(), g_readCache.searches.end(),
                            [&key](const TSearch &search) { return search.key == key; });
  const TSearch *search = known == g_readCache.searches.end() ? nullptr : &*known;
  if (!search) {
    // Kept only once the search is complete.
    TSearch found{key, {}, {}};
    Search(pattern, [&found](DWORD attributes, const char *name) {
      found.entries.push_back({attributes, found.names.size()});
      found.names.append(name, strlen(name) + 1);
    });
    search = &g_readCache.searches.emplace_back(std::move(found));
  }
  for (const TFoundEntry &e : search->entries) visit(e.attributes, search->names.c_str() + e.name);
}

TVolumeInformation VolumeInformation(const std::string &root) {
  if (g_readCache.depth == 0) return ReadVolumeInformation(root);
  std::string key = AnsiUpperCaseFileName(root);
  for (const auto &known : g_readCache.volumes)
    if (known.first == key) return known.second;
  TVolumeInformation info = ReadVolumeInformation(root);
  g_readCache.volumes.emplace_back(key, info);
  return info;
}
