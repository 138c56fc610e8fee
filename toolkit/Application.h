// The process-wide application object: the standard exception box and help.
#pragma once
#include <exception>
#include <functional>
#include <string>

#include "toolkit/Classes.h"

// The process-wide application object: standard exception box and help.
class TApplication : public TComponent {
 public:
  TApplication() : TComponent(nullptr) {}
  std::string Title = "Tessaly 2000";
  // The standard exception box: the exception's message with an error icon.
  void ShowException(const std::exception &e);
  // Opens the help topic through the help handler; without one it tells the user that
  // there is no help file.
  void HelpContext(int context);
};

// Where help requests go: the host's help system, or a recorder in tests.  Returns the
// previous handler; an empty handler restores the message that no help file exists.
using THelpHandler = std::function<void(int context)>;
THelpHandler SetHelpHandler(THelpHandler handler);


extern TApplication *Application;

// Reports the exception being handled in the application's standard exception box;
// called only from inside a catch block.
void ApplicationHandleException();
