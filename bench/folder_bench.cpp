// Filling the file and directory lists from large directories, against the bare limit
// measured in the same run: the same directory enumerated with FindFirstFileA and
// FindNextFileA and the names sorted, no control.  Prints; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "folderselect/DirectoryListBox.h"
#include "folderselect/FileListBox.h"
#include "module/ModuleLifetime.h"
#include "template/ModulState.h"
#include "toolkit/Form.h"

namespace {

const char *const kRoot = "c:\\fbench";

// Best of rounds, in seconds.
double Seconds(const std::function<void()> &run, int rounds) {
  double best = 1e9;
  for (int i = 0; i < rounds; ++i) {
    double start = NowMs();
    run();
    best = std::min(best, (NowMs() - start) / 1000);
  }
  return best;
}

void MakeDirs(const std::string &dir, int count) {
  CreateDirectoryA(kRoot, nullptr);
  if (!CreateDirectoryA(dir.c_str(), nullptr)) return;
  for (int i = 0; i < count; ++i) CreateDirectoryA((dir + "\\" + ScatteredName(i)).c_str(), nullptr);
}

size_t BareEnumerate(const std::string &dir, bool dirsOnly) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*.*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      bool isDir = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (isDir != dirsOnly) continue;
      if (isDir && fd.cFileName[0] == '.') continue;
      names.push_back(fd.cFileName);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  std::sort(names.begin(), names.end(),
            [](const std::string &a, const std::string &b) { return AnsiCompareText(a, b) < 0; });
  return names.size();
}

void Report(const char *what, size_t items, double bare, double control) {
  std::printf("%-34s %7zu items  bare %8.1f ms  control %8.1f ms  ratio %5.2f\n", what, items,
              bare * 1000, control * 1000, control / bare);
  std::fflush(stdout);
}

}  // namespace

int main() {
  ModulLoad(GetModuleHandleA(nullptr));
  std::string files10k = std::string(kRoot) + "\\files10k";
  std::string files100k = std::string(kRoot) + "\\files100k";
  std::string dirs10k = std::string(kRoot) + "\\dirs10k";
  MakeFiles(files10k, 10000);
  MakeFiles(files100k, 100000);
  MakeDirs(dirs10k, 10000);

  TForm *form = CreateForm<TForm>(nullptr);
  form->SetBounds(0, 0, 400, 400);
  auto *files = new TFileListBox(form);
  files->SetParent(form);
  files->SetBounds(0, 0, 200, 300);
  auto *dirs = new TDirectoryListBox(form);
  dirs->SetParent(form);
  dirs->SetBounds(200, 0, 200, 300);

  for (const std::string &dir : {files10k, files100k}) {
    size_t n = 0;
    double bare = Seconds([&] { n = BareEnumerate(dir, false); }, 3);
    double control = Seconds(
        [&] {
          files->SetCurrentDirectory(kRoot);
          files->SetCurrentDirectory(dir);
        },
        3);
    // The same reading without the move to the parent directory, which is tiny.
    Report(("file list " + dir).c_str(), size_t(files->Count()), bare, control);
    if (size_t(files->Count()) != n) std::printf("  (the list holds %d, the bare enumeration %zu)\n", files->Count(), n);
  }
  {
    size_t n = 0;
    double bare = Seconds([&] { n = BareEnumerate(dirs10k, true); }, 3);
    double control = Seconds(
        [&] {
          dirs->SetCurrentDirectory(kRoot);
          dirs->SetCurrentDirectory(dirs10k);
        },
        3);
    Report(("directory list " + dirs10k).c_str(), n, bare, control);
  }
  delete form;
  ModulUnload();
  return 0;
}
