// How long OK takes from the click to the restart prompt on a 200 KB c:\AUTOEXEC.BAT, the
// folder dialog answered at once: reading AUTOEXEC.BAT, writing LOG.BAT, the hook added or
// the hooks removed, AUTOEXEC.BAT replaced, the broadcast.  Beside it, in the same run,
// the bare file work: the same bytes read and written once with ReadFile and WriteFile.
// Prints; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "bootlog/FileReplace.h"
#include "bootlog/BootlogForm.h"
#include "folderselect/SelectDirDlg.h"
#include "module/ModuleLifetime.h"
#include "template/ModulState.h"
#include "toolkit/Dialogs.h"
#include "toolkit/SystemActions.h"

namespace {

const char *const kAutoexec = "c:\\AUTOEXEC.BAT";
const char *const kFolder = "c:\\ibench";

// The bare file work the tip is measured against: one CreateFile, WriteFile and
// ReadFile each, nothing more.
void Write(const std::string &path, const std::string &bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD done = 0;
  WriteFile(h, bytes.data(), DWORD(bytes.size()), &done, nullptr);
  CloseHandle(h);
}

std::string Read(const std::string &path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes(GetFileSize(h, nullptr), '\0');
  DWORD done = 0;
  ReadFile(h, &bytes[0], DWORD(bytes.size()), &done, nullptr);
  bytes.resize(done);
  CloseHandle(h);
  return bytes;
}

}  // namespace

int main() {
  // OK rewrites c:\AUTOEXEC.BAT eighty times: only in a Wine prefix, never on a machine's own.
  if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) {
    std::printf("installation_bench rewrites c:\\AUTOEXEC.BAT and runs only under Wine\n");
    return 1;
  }
  ModulLoad(GetModuleHandleA(nullptr));
  std::string big;
  for (int i = 0; big.size() < 200 * 1024; ++i)
    big += "SET VAR" + std::to_string(i) + "=C:\\WINDOWS\\COMMAND;C:\\TOOLS\r\n";
  const bool hadAutoexec = GetFileAttributesA(kAutoexec) != INVALID_FILE_ATTRIBUTES;
  std::string saved = Read(kAutoexec);
  CreateDirectoryA(kFolder, nullptr);

  double prompt = 0;
  SetMessageBoxHandler([&prompt](const TMessageBoxRequest &r) {
    if (r.kind == TMessageBoxRequest::Dialog) {
      prompt = NowMs();
      return IDNO;
    }
    return IDOK;
  });
  SetChooseDirectoryHandler([](std::string &dir, TChooseDirOptions, int) {
    dir = kFolder;
    return true;
  });

  Write(kAutoexec, big);
  ModulOsCode = 13;
  ModulValidOsMask = 4096;
  std::unique_ptr<TFormBootlog> form(CreateForm<TFormBootlog>(nullptr));
  form->Show();
  HWND ok = form->HotSpeedButtonOK->Handle();

  const int kRounds = 40;
  auto click = [&](bool checked) {
    Write(kAutoexec, big);
    form->T263_CheckBox->SetChecked(checked);
    form->T263_CheckBox->Tag = 0;
    double start = NowMs();
    SendMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(ok, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    return prompt - start;
  };
  Stats add = Measure(kRounds, [&] { return click(true); });
  Stats remove = Measure(kRounds, [&] { return click(false); });
  Stats bare = Measure(kRounds, [&] {
    double start = NowMs();
    std::string bytes = Read(kAutoexec);
    Write(std::string(kFolder) + "\\bare.bat", bytes);
    return NowMs() - start;
  });

  Stats replace = Measure(kRounds, [&] {
    double start = NowMs();
    ReplaceFileContents(std::string(kFolder) + "\\bare.bat", big);
    return NowMs() - start;
  });
  Stats broadcast = Measure(kRounds, [&] {
    double start = NowMs();
    SendMessageA(HWND_BROADCAST, ModulMessageId, 100, 0);
    return NowMs() - start;
  });

  std::printf("OK on a %u-byte AUTOEXEC.BAT, click to restart prompt, %d rounds (ms):\n",
              unsigned(big.size()), kRounds);
  std::printf("  hook added       median %7.2f  p95 %7.2f\n", add.median, add.p95);
  std::printf("  hooks removed    median %7.2f  p95 %7.2f\n", remove.median, remove.p95);
  std::printf("  bare read+write  median %7.2f  p95 %7.2f\n", bare.median, bare.p95);
  std::printf("  of which: replacing one file (write, flush, move) median %.2f, one broadcast median %.2f\n",
              replace.median, broadcast.median);
  std::printf("  ratio OK / bare  %.1f (hook added)\n", add.median / bare.median);

  form.reset();
  if (hadAutoexec) Write(kAutoexec, saved);
  else DeleteFileA(kAutoexec);
  DeleteFileA((std::string(kFolder) + "\\LOG.BAT").c_str());
  DeleteFileA((std::string(kFolder) + "\\bare.bat").c_str());
  RemoveDirectoryA(kFolder);
  ModulUnload(false);
  return 0;
}
