// The AUTOEXEC.BAT rules without a window: the hook line DOS will run, where a hook goes
// when the file has end-of-file marks, what removing hooks keeps; and how much of a long
// log the log view shows.
#include <gtest/gtest.h>

#include "bootlog/Autoexec.h"
#include "bootlog/BootlogForm.h"
#include "bootlog/FileReplace.h"
#include "toolkit/SysUtils.h"

namespace {

// The short name the system answers for the folder being hooked; empty for none.
std::string g_shortName;

DWORD WINAPI AnswerShortName(LPCSTR, LPSTR shortPath, DWORD size) {
  if (g_shortName.empty() || g_shortName.size() >= size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  lstrcpyA(shortPath, g_shortName.c_str());
  return DWORD(g_shortName.size());
}

TEST(Autoexec, HookLineCallsAFolderByANameDosReadsAsWritten) {
  struct Case {
    const char *what, *folder, *shortName;
    const char *hook;  // null: refused
  } cases[] = {
      {"plain 8.3 folder", "C:\\TOOLS", "", "@call C:\\TOOLS\\LOG.BAT"},
      {"root of the drive", "c:\\", "", "@call c:\\LOG.BAT"},
      {"umlaut the DOS code page has", "c:\\aud\\Gerät", "", "@call c:\\aud\\Ger\x84t\\LOG.BAT"},
      {"name longer than eight", "c:\\Protokolle", "C:\\PROTOK~1", "@call C:\\PROTOK~1\\LOG.BAT"},
      {"blank in the name", "c:\\Boot Log", "C:\\BOOTLO~1", "@call C:\\BOOTLO~1\\LOG.BAT"},
      {"plus sign in the name", "c:\\a+b", "C:\\AB~1", "@call C:\\AB~1\\LOG.BAT"},
      // Characters DOS lacks would reach it as others: "<" a redirection, "?" a wildcard,
      // "S" another folder.
      {"becomes a redirection", "c:\\aud\\‹A", "C:\\AUD\\A~1", "@call C:\\AUD\\A~1\\LOG.BAT"},
      {"becomes a wildcard, no short name", "c:\\aud\\€", "", nullptr},
      {"becomes another letter, short name alike", "c:\\aud\\ŠAR", "c:\\aud\\ŠAR", nullptr},
      {"long, and the short name unusable", "c:\\Protokolle", "C:\\PRO TO~1", nullptr},
      {"long without a short name", "c:\\Lange Protokolle", "", nullptr},
      {"name of nine", "c:\\Protokoll", "C:\\PROTOK~1", "@call C:\\PROTOK~1\\LOG.BAT"},
      {"extension of four", "c:\\boot.logs", "C:\\BOOTLO~1.LOG", "@call C:\\BOOTLO~1.LOG\\LOG.BAT"},
      {"name ending in a dot", "c:\\boot.", "C:\\BOOT~1", "@call C:\\BOOT~1\\LOG.BAT"},
  };
  TFileCalls saved = FileCalls();
  FileCalls().GetShortPathNameA = AnswerShortName;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    g_shortName = c.shortName;
    if (c.hook) {
      EXPECT_EQ(HookLine(c.folder), c.hook);
      continue;
    }
    try {
      std::string hook = HookLine(c.folder);
      ADD_FAILURE() << "hooked as " << hook;
    } catch (const EFCreateError &e) {
      EXPECT_NE(e.Message().find("c:\\AUTOEXEC.BAT wurde nicht geändert"), std::string::npos) << e.Message();
      EXPECT_NE(e.Message().find(c.folder), std::string::npos) << e.Message();
    }
  }
  FileCalls() = saved;
}

TEST(Autoexec, AHookNamesAFileCalledLogBat) {
  struct Case {
    const char *line;
    const char *called;  // "": no hook
  } cases[] = {
      {"@call c:\\TOOLS\\LOG.BAT", "c:\\TOOLS\\LOG.BAT"},
      {"C:\\TOOLS\\LOG.BAT", "C:\\TOOLS\\LOG.BAT"},
      {"  @CALL D:\\X\\LOG.BAT >NUL", "D:\\X\\LOG.BAT"},
      {"@LOG.BAT", "c:\\LOG.BAT"},
      {"call \\util\\log.bat", "c:\\util\\log.bat"},
      {"@call c:\\aud\\Ger\x84t\\LOG.BAT", "c:\\aud\\Gerät\\LOG.BAT"},
      {"CALL CATALOG.BAT", ""},
      {"REM see mylog.bat", ""},
      {"CALL BOOTLOG.BAT", ""},
      {"call c:\\log.bat1", ""},
      {"call c:\\log.bat.old", ""},
      {"call c:\\my.log.bat", ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(IsLogBatHook(c.line), *c.called != 0);
    EXPECT_EQ(HookedLogBat(c.line), c.called);
  }
}

TEST(Autoexec, TheHookCallsTheFolderJustChosen) {
  const std::string H = "@call C:\\TOOLS\\LOG.BAT";
  struct Case {
    const char *what;
    std::string folder, shortName, before, after;  // after "": unchanged, byte for byte
  } cases[] = {
      {"same folder, LF only", "C:\\TOOLS", "", "A\n@call c:\\tools\\log.bat\n", ""},
      {"same folder by its short name", "c:\\Protokolle", "C:\\PROTOK~1", "call C:\\PROTOK~1\\LOG.BAT", ""},
      {"root, named without a folder", "c:\\", "", "A\r\ncall log.bat\r\n", ""},
      {"other folder", "C:\\TOOLS", "", "A\r\n@call C:\\OLD\\LOG.BAT\r\nB\r\n", "A\r\n" + H + "\r\nB\r\n"},
      {"several hooks, the first's place", "C:\\TOOLS", "",
       "A\r\nC:\\X\\LOG.BAT\r\nB\r\n@call C:\\Y\\LOG.BAT\r\nCALL CATALOG.BAT\r\n",
       "A\r\n" + H + "\r\nB\r\nCALL CATALOG.BAT\r\n"},
      {"one of several calls it already", "C:\\TOOLS", "", "C:\\X\\LOG.BAT\r\n" + H + "\r\n", ""},
      {"hook after the end-of-file mark is never read", "C:\\TOOLS", "",
       "A\r\n\x1A\r\n" + H + "\r\n", "A\r\n" + H + "\r\n\x1A\r\n" + H + "\r\n"},
      {"only a look-alike", "C:\\TOOLS", "", "CALL CATALOG.BAT", "CALL CATALOG.BAT\r\n" + H + "\r\n"},
  };
  TFileCalls saved = FileCalls();
  FileCalls().GetShortPathNameA = AnswerShortName;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    g_shortName = c.shortName;
    EXPECT_EQ(AutoexecCallingFolder(c.before, c.folder, [](const std::string &) { return std::string("@call C:\\TOOLS\\LOG.BAT"); }),
              c.after.empty() ? c.before : c.after);
  }
  FileCalls() = saved;
}

TEST(Autoexec, HookGoesBeforeTheFirstEndOfFileMark) {
  const std::string H = "@call C:\\TOOLS\\LOG.BAT";
  struct Case {
    const char *what;
    std::string before, after;
  } cases[] = {
      {"no mark", "@echo off\r\nSET A=1", "@echo off\r\nSET A=1\r\n" + H + "\r\n"},
      {"LF only", "A\nB\n", "A\r\nB\r\n" + H + "\r\n"},
      {"empty file", "", H + "\r\n"},
      {"mark on the last line", "A\r\n\x1A", "A\r\n" + H + "\r\n\x1A"},
      {"mark right after the text", "A\r\nSET A=1\x1A", "A\r\nSET A=1\r\n" + H + "\r\n\x1A"},
      {"three marks", "SET A=1\x1A\x1A\x1A", "SET A=1\r\n" + H + "\r\n\x1A\x1A\x1A"},
      {"mark, then blank lines", "A\r\n\x1A\r\n\r\n", "A\r\n" + H + "\r\n\x1A\r\n\r\n"},
      {"mark inside a line, more text after", "A\r\nSET B=2\x1Ajunk\nmore\x1A",
       "A\r\nSET B=2\r\n" + H + "\r\n\x1Ajunk\nmore\x1A"},
      {"mark first", "\x1A@echo off\r\n", H + "\r\n\x1A@echo off\r\n"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(AutoexecWithHook(c.before, H), c.after);
  }
}

TEST(Autoexec, RemovingHooksKeepsEveryOtherLine) {
  struct Case {
    const char *what;
    std::string before, after;
  } cases[] = {
      {"hooks anywhere, a remark naming another file", "@call C:\\A\\LOG.BAT\r\nSET A=1\nREM mylog.bat\r@CALL x\\Log.Bat",
       "SET A=1\r\nREM mylog.bat\r\n"},
      {"hooks beyond a mark go too", "SET A=1\r\n\x1A\r\n@call C:\\A\\LOG.BAT\r\n", "SET A=1\r\n\x1A\r\n"},
      {"only hooks", "@call C:\\A\\LOG.BAT", ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(AutoexecWithoutHooks(c.before), c.after);
  }
}

// A log of entries as LOG.BAT writes them, about 90 bytes a start, up to size bytes.
std::string Entries(size_t size) {
  std::string log;
  for (int i = 0; log.size() < size; ++i)
    log += "Heute ist " + std::to_string(i) + ".12.2026\r\nAktuelle Zeit: 07:15:00,00\r\n"
           "***** Protokolleintrag *****\r\n\r\n";
  return log;
}

TEST(LogView, ALongLogShowsItsNewestWholeLinesUnderANote) {
  const std::string big = Entries(200 * 1024), bigLf = [&] {
    std::string s;
    for (char c : big) if (c != '\r') s += c;
    return s;
  }();
  // Logs whose cut falls exactly where a line starts, or between a CR and its LF: the view
  // shows tail, every whole line that fits and nothing of the one before.
  auto cutAt = [&](int language, bool betweenCrAndLf, std::string &tail) {
    std::string shown = LogViewText(big, language);
    size_t room = kLogViewLimit - (shown.find("\r\n") + 2);
    std::string lines;
    for (int i = 0; lines.size() + 14 < room - 40; ++i) lines += "Eintrag " + std::to_string(100000 + i).substr(1) + "\r\n";
    tail = std::string(room - lines.size() - 2 - betweenCrAndLf, 'z') + "\r\n" + lines;
    return big + "letzte alte Zeile\r\n" + tail;
  };
  std::string atLineStart, atLineStartEn, betweenCrLf;
  const std::string cutAtLineStart = cutAt(0, false, atLineStart), cutAtLineStartEn = cutAt(1, false, atLineStartEn),
                    cutBetweenCrLf = cutAt(0, true, betweenCrLf);
  struct Case {
    const char *what;
    std::string log;
    int language;
    bool cut;
    std::string tail = "";  // exactly what is shown under the note, where given
  } cases[] = {
      {"short log, LF line ends", "Datum\nZeit\n\n", 0, false},
      {"just fits", std::string(kLogViewLimit - 2, 'x'), 0, false},
      {"one byte too many", std::string(kLogViewLimit - 1, 'x'), 0, true},
      {"200 KB", big, 0, true},
      {"200 KB, LF line ends, English", bigLf, 1, true},
      {"one line longer than the view", std::string(100000, 'y') + "\r\n", 1, true},
      {"cut exactly at a line start", cutAtLineStart, 0, true, atLineStart},
      {"cut exactly at a line start, English", cutAtLineStartEn, 1, true, atLineStartEn},
      {"cut between CR and LF", cutBetweenCrLf, 0, true, betweenCrLf},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    std::string full;
    for (const std::string &line : SplitLines(c.log)) full += line + "\r\n";
    std::string shown = LogViewText(c.log, c.language);
    if (!c.cut) {
      EXPECT_EQ(shown, full);
      continue;
    }
    EXPECT_LE(shown.size(), kLogViewLimit);
    size_t head = shown.find("\r\n") + 2;
    std::string note = shown.substr(0, head);
    EXPECT_NE(note.find(c.language == 1 ? "Older entries are not shown" : "Ältere Einträge werden hier nicht angezeigt"),
              std::string::npos) << note;
    // The newest lines, byte for byte, from the start of a line where one fits.
    std::string tail = shown.substr(head);
    if (!c.tail.empty()) {
      EXPECT_EQ(tail, c.tail);
    }
    ASSERT_EQ(full.compare(full.size() - tail.size(), tail.size(), tail), 0);
    bool oneLine = full.find("\r\n") == full.size() - 2;
    if (!oneLine) {
      EXPECT_EQ(full[full.size() - tail.size() - 1], '\n');
      EXPECT_GT(tail.size(), kLogViewLimit - note.size() - 200) << "whole entries left out";
    }
  }
}

}  // namespace
