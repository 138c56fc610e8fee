// The name a control's window carries for programs that look for it from outside.
#pragma once

// The window property of every control's window that holds the control's component name
// (a char string owned by the control).
constexpr const char kControlNameProperty[] = "TkName";
