// The help library of the host: one function that hands out the help texts of the tips.
//
// GetHelpText returns a zero-terminated Windows-1252 text that belongs to the library;
// the caller copies it and never frees it.  An unknown help number or kind gives NULL.
#pragma once

#if defined(ORVANEHELP_BUILDING)
#define ORVANEHELP_API  // the exports come from OrvaneHelp.def alone
#else
#define ORVANEHELP_API __declspec(dllimport)
#endif

// What GetHelpText is asked for.
enum {
  ORVANE_HELP_GERMAN = 2,   // help text in German
  ORVANE_HELP_ENGLISH = 4,  // help text in English
  ORVANE_HELP_REGKEY = 5    // key the Registry Editor opens at ("LastKey" form)
};

#ifdef __cplusplus
extern "C" {
#endif

ORVANEHELP_API const char *__stdcall GetHelpText(int HelpNr, int Kind);

#ifdef __cplusplus
}
#endif
