#include "ChooseDirDemo.h"

#include <windows.h>

#include <cstdio>

#include "HostOptions.h"
#include "folderselect/SelectDirDlg.h"
#include "module/ModuleLifetime.h"
#include "template/ModulState.h"

namespace {

bool SameText(const std::string &a, const char *b) { return AnsiCompareText(a, b) == 0; }

// The options by name, in the order of their members.
const char *const kOptionNames[] = {"cdAllowNewName", "cdCreateOnAccept", "cdConfirmCreate"};

bool ParseChooseDirOptions(const std::string &text, TChooseDirOptions &options) {
  int bits;
  if (ParseNumber(text, bits)) {
    if (bits < 0 || bits > 7) return false;
    options.Bits = uint8_t(bits);
    return true;
  }
  options = {};
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("+,", start);
    if (end == std::string::npos) end = text.size();
    std::string name = text.substr(start, end - start);
    start = end + 1;
    if (name.empty()) continue;
    int option = 0;
    while (option < 3 && !SameText(name, kOptionNames[option])) ++option;
    if (option == 3) return false;
    options.Bits |= uint8_t(1u << option);
  }
  return true;
}

std::string OptionNames(TChooseDirOptions options) {
  std::string s;
  for (int i = 0; i < 3; ++i)
    if (options.Contains(TChooseDirOption(i))) s += std::string(s.empty() ? "" : ", ") + kOptionNames[i];
  return "[" + s + "]";
}

}  // namespace

bool IsChooseDirOption(const std::string &arg) {
  return SameText(arg, "/choosedir") || SameText(arg, "-choosedir");
}

int RunChooseDirDemo(const std::vector<std::string> &args) {
  std::string directory = args.size() > 0 ? args[0] : std::string();
  TChooseDirOptions options;
  int helpCtx = 1000;
  if (args.size() > 1 && !ParseChooseDirOptions(args[1], options)) {
    std::printf("OPTIONS: \"%s\" is neither 0..7 nor cdAllowNewName+cdCreateOnAccept+cdConfirmCreate\n",
                args[1].c_str());
    return 2;
  }
  if (args.size() > 2 && !ParseNumber(args[2], helpCtx)) {
    std::printf("HELPCTX: \"%s\" is not a number\n", args[2].c_str());
    return 2;
  }
  // The module's code runs in this program: its resources are this program's.
  ModulLoad(GetModuleHandleA(nullptr));
  std::printf("ChooseDirectory(\"%s\", %s, %d)\n", directory.c_str(), OptionNames(options).c_str(), helpCtx);
  std::fflush(stdout);
  int rc = 0;
  try {
    bool result = ChooseDirectory(directory, options, helpCtx);
    std::printf("Result: %s\nDirectory: \"%s\"\n", result ? "true" : "false", directory.c_str());
    rc = result ? 0 : 1;
  } catch (const Exception &e) {
    std::printf("%s: %s\nDirectory: \"%s\"\n", e.ClassName(), e.what(), directory.c_str());
    rc = 3;
  }
  std::fflush(stdout);
  ModulUnload(false);
  return rc;
}
