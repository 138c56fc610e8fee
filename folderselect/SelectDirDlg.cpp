#include "folderselect/SelectDirDlg.h"

// Interim: the dialog itself is being built; until it lands only the seam answers.
namespace {
TChooseDirectoryHandler g_handler;
}

TChooseDirectoryHandler SetChooseDirectoryHandler(TChooseDirectoryHandler handler) {
  TChooseDirectoryHandler previous = std::move(g_handler);
  g_handler = std::move(handler);
  return previous;
}

bool ChooseDirectory(std::string &Directory, TChooseDirOptions Options, int HelpCtx) {
  if (g_handler) return g_handler(Directory, Options, HelpCtx);
  return false;
}
