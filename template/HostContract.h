// What the host and a tip window agree on: the registered window message and its
// commands, and the window property that names a control.  The module, the demo host and
// the tests all take them from here; the property is the toolkit's, which names the
// windows.
#pragma once
#include <cstdint>

#include "toolkit/ControlName.h"

// The name of the registered window message by which host and tip window talk.
constexpr const char kHostMessageName[] = "Orvane";

// Commands, the WParam of the message.  The host sends 0 to 200; the tip broadcasts 200
// (the user asks to switch windows) and 9999 (OK was pressed; LParam 1 after an Undo,
// else 2).
enum THostCommand : uint32_t {
  cmdClose = 0,      // close and destroy the tip window
  cmdLeft = 10,      // LParam: the new left edge (0 counts as 1)
  cmdTop = 11,       // LParam: the new top edge (0 counts as 1)
  cmdWidth = 12,     // LParam: the new width
  cmdHeight = 13,    // LParam: the new height
  cmdAccepted = 100, // nothing to do
  cmdShow = 200,     // visible, restored and in front
  cmdSaved = 9999,   // broadcast: the tip was saved
};

// The window property of every control's window that holds the control's component name
// (a char string owned by the control), for programs that look for a control from outside:
// kControlNameProperty of toolkit/ControlName.h.
