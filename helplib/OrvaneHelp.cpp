// Help texts of the tips.  This library stands in for the one the host ships and knows
// the tips of this source tree only.  The sources are UTF-8; the compiler stores the
// narrow strings as Windows-1252, the code page the tips show them in.
#include "OrvaneHelp.h"

namespace {

struct HelpEntry {
  int helpNr;
  const char *german;
  const char *english;
  const char *regKey;
};

// "Rechnerstart in Datei festhalten"
const char kBootlogGerman[] =
    "Rechnerstart in Datei festhalten\r\n"
    "\r\n"
    "Dieser Tipp hält jeden Start des Rechners mit Datum und Uhrzeit in der Datei "
    "c:\\winboot.log fest. So lässt sich später nachvollziehen, wann der Rechner "
    "eingeschaltet wurde.\r\n"
    "\r\n"
    "Wählen Sie den Ordner, in den die Stapeldatei LOG.BAT geschrieben werden soll, und "
    "schalten Sie das Kontrollkästchen ein. Der Tipp legt LOG.BAT in diesem Ordner an und "
    "trägt die Zeile \"@call <Ordner>\\LOG.BAT\" in die Datei c:\\AUTOEXEC.BAT ein. "
    "Schalten Sie das Kontrollkästchen aus, wird der Aufruf wieder aus der AUTOEXEC.BAT "
    "entfernt.\r\n"
    "\r\n"
    "Bei jedem Start hängt LOG.BAT Datum und Uhrzeit an die Datei c:\\winboot.log an. Mit "
    "zwei Schaltflächen lassen Sie das Protokoll anzeigen oder wieder ausblenden und "
    "löschen es, wenn es zu lang geworden ist.\r\n"
    "\r\n"
    "Die Änderung wirkt erst nach einem Neustart des Rechners.";

const char kBootlogEnglish[] =
    "Record computer start in file\r\n"
    "\r\n"
    "This tip records every start of the computer with date and time in the file "
    "c:\\winboot.log, so you can see later when the computer was switched on.\r\n"
    "\r\n"
    "Choose the folder the batch file LOG.BAT is to be written to and tick the check box. "
    "The tip creates LOG.BAT in this folder and adds the line \"@call <folder>\\LOG.BAT\" "
    "to the file c:\\AUTOEXEC.BAT. When you clear the check box, the call is removed from "
    "AUTOEXEC.BAT again.\r\n"
    "\r\n"
    "At every start LOG.BAT appends date and time to the file c:\\winboot.log. Two "
    "buttons show or hide the log and delete it when it has grown too long.\r\n"
    "\r\n"
    "The change takes effect after the computer has been restarted.";

// A second entry with short texts, so that a host can see the help number switch.
const char kGeneralGerman[] =
    "Tessaly 2000\r\n"
    "\r\n"
    "Wählen Sie links einen Tipp aus. Änderungen werden erst übernommen, wenn Sie "
    "mit OK bestätigen.";

const char kGeneralEnglish[] =
    "Tessaly 2000\r\n"
    "\r\n"
    "Choose a tip on the left. Changes are applied only when you confirm them with OK.";

const HelpEntry kEntries[] = {
    {1, kGeneralGerman, kGeneralEnglish,
     "Arbeitsplatz\\HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion"},
    {263, kBootlogGerman, kBootlogEnglish,
     "Arbeitsplatz\\HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
};

}  // namespace

extern "C" const char *__stdcall GetHelpText(int HelpNr, int Kind) {
  for (const HelpEntry &entry : kEntries) {
    if (entry.helpNr != HelpNr) continue;
    switch (Kind) {
      case ORVANE_HELP_GERMAN: return entry.german;
      case ORVANE_HELP_ENGLISH: return entry.english;
      case ORVANE_HELP_REGKEY: return entry.regKey;
      default: return nullptr;
    }
  }
  return nullptr;
}
