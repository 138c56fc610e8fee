// DemoHost.exe /choosedir [DIR] [OPTIONS] [HELPCTX]: the select-directory dialog on its
// own, as the tip's OK button shows it, with the module's code linked into the host.
#pragma once
#include <string>
#include <vector>

bool IsChooseDirOption(const std::string &arg);
// Shows the dialog for the arguments after /choosedir and prints the result and the
// returned directory on standard output.  OPTIONS is a number (1 cdAllowNewName,
// 2 cdCreateOnAccept, 4 cdConfirmCreate) or those names joined by "+" or ",".
// Defaults: the tip's call (empty directory, no options, help context 1000).
int RunChooseDirDemo(const std::vector<std::string> &args);
