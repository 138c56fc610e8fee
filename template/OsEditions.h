// The Windows editions a host names by its operating-system codes 1 to 13; codes 14 to
// 18 exist but have no name.  Shared by the tip's Info button and the demo host.
#pragma once

constexpr int kNamedOsEditions = 13;
constexpr const char *kOsEditionNames[kNamedOsEditions] = {
    "Windows 98 Standard Edition",
    "Windows 98 Standard Edition A",
    "Windows 98 Second Edition",
    "Windows 95",
    "Windows 95 A",
    "Windows 95 B",
    "Windows 95 B OEM Service Release 2",
    "Windows 95 B OEM Service Release 2.1",
    "Windows 95 C OEM Service Release 2.5 C",
    "Windows NT",
    "Windows 2000",
    "Windows 98 ME",
    "Windows XP",
};

// Windows 95, 98 and ME (codes 1 to 9 and 12): any program may restart them; the others
// restart only for a process that has enabled its shutdown privilege.
constexpr bool IsWindows9xCode(int code) { return (code >= 1 && code <= 9) || code == 12; }

// Windows NT 4, 2000, ME, XP and later (codes 10 to 18) start without running the commands
// of AUTOEXEC.BAT: NT 4, 2000 and XP take only its SET and PATH lines, ME only its
// environment lines.
constexpr bool IgnoresAutoexecCommands(int code) { return code >= 10 && code <= 18; }
