// The select-directory dialog: a modal window with a drive combo box, a directory list,
// a greyed list of the files in the current directory, a path label (or an edit box when
// new names are allowed) and the buttons OK, Cancel, Help and Network.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "folderselect/FileCtrl.h"
#include "toolkit/Forms.h"

enum TChooseDirOption : uint8_t { cdAllowNewName, cdCreateOnAccept, cdConfirmCreate };

// A set of TChooseDirOption in one byte: member n is bit n (1, 2, 4).
struct TChooseDirOptions {
  uint8_t Bits = 0;
  constexpr TChooseDirOptions() = default;
  constexpr TChooseDirOptions(std::initializer_list<TChooseDirOption> options) {
    for (TChooseDirOption o : options) Bits = uint8_t(Bits | (1u << o));
  }
  constexpr bool Contains(TChooseDirOption o) const { return (Bits >> o) & 1u; }
  constexpr bool operator==(const TChooseDirOptions &o) const { return Bits == o.Bits; }
  constexpr bool operator!=(const TChooseDirOptions &o) const { return Bits != o.Bits; }
};
static_assert(sizeof(TChooseDirOptions) == 1, "TChooseDirOptions is one byte");

// Lets the user pick a directory, starting at Directory (empty: the process's current
// directory).  True when the dialog was closed with OK; Directory then holds the chosen
// directory.  On false, and on every exception, Directory is left as it was.  Raises
// EInOutError before the dialog is shown when Directory names a drive that cannot be
// entered.  HelpCtx 0: no Help button.
bool ChooseDirectory(std::string &Directory, TChooseDirOptions Options, int HelpCtx);

// The folder dialog's seam: while a handler is installed, ChooseDirectory asks it instead
// of showing the dialog (the tip's own tests answer the dialog this way).  An empty
// handler restores the real dialog.  Returns the previous handler.
using TChooseDirectoryHandler =
    std::function<bool(std::string &Directory, TChooseDirOptions Options, int HelpCtx)>;
TChooseDirectoryHandler SetChooseDirectoryHandler(TChooseDirectoryHandler handler);
