#include "toolkit/SysUtils.h"

#include <cstdio>
#include <cstring>
#include <vector>

void RaiseRangeError() { throw ERangeError("Fehler bei Bereichsprüfung"); }

// The system's msvcrt formats (the module uses only %s, %d, %c and %lu): its _vsnprintf
// answers -1 while the buffer is too small, on every system, so the buffer grows.
std::string FormatV(const char *fmt, va_list args) {
  std::string out(256, '\0');
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    int n = _vsnprintf(&out[0], out.size(), fmt, copy);
    va_end(copy);
    if (n >= 0 && size_t(n) < out.size()) {
      out.resize(size_t(n));
      return out;
    }
    if (out.size() >= (1u << 24)) return std::string();
    out.resize(out.size() * 2);
  }
}

std::string Format(const char *fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string s = FormatV(fmt, args);
  va_end(args);
  return s;
}

Exception::Exception(const std::string &message, TSystemError error)
    : message_(message + " " + SysErrorMessage(error.code)) {
  ErrorCode = error.code;
}

std::string SysErrorMessage(DWORD code) {
  char buf[512] = {0};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, buf, sizeof buf, nullptr);
  while (n > 0 && (buf[n - 1] == '\r' || buf[n - 1] == '\n' || buf[n - 1] == ' ' || buf[n - 1] == '.'))
    buf[--n] = 0;
  if (n == 0) return Format("Systemfehler %lu", (unsigned long)code);
  return std::string(buf, n);
}

std::string LowerCase(const std::string &s) {
  std::string r = s;
  for (char &c : r)
    if (c >= 'A' && c <= 'Z') c = char(c + 32);
  return r;
}

std::string AnsiLowerCase(const std::string &s) {
  std::string r = s;
  if (!r.empty()) CharLowerBuffA(&r[0], DWORD(r.size()));
  return r;
}

std::string AnsiUpperCase(const std::string &s) {
  std::string r = s;
  if (!r.empty()) CharUpperBuffA(&r[0], DWORD(r.size()));
  return r;
}

std::string AnsiLowerCaseFileName(const std::string &s) { return AnsiLowerCase(s); }
std::string AnsiUpperCaseFileName(const std::string &s) { return AnsiUpperCase(s); }

static int CompareWith(DWORD flags, const std::string &a, const std::string &b) {
  int r = CompareStringA(LOCALE_USER_DEFAULT, flags, a.data(), int(a.size()), b.data(), int(b.size()));
  return r - 2;  // CSTR_LESS_THAN 1, CSTR_EQUAL 2, CSTR_GREATER_THAN 3
}

int AnsiCompareText(const std::string &a, const std::string &b) {
  return CompareWith(NORM_IGNORECASE, a, b);
}
// File names compare as the file system compares them: character by character, ignoring
// case and nothing else.  The linguistic comparisons (CompareStringA, lstrcmpiA) take a
// sharp s for "ss" and skip soft hyphens, so they find distinct names equal, and
// the ordinal one of the system (CompareStringOrdinal) is not there before Windows Vista.
// So each single-byte character is folded to its upper case with CharUpperBuffA, which
// every Windows has; the fold is kept only where lowering the result gives the character
// back, i.e. for true case partners within the code page.  A character whose upper case
// lies outside the code page (the micro sign) thus stays itself instead of becoming a
// look-alike.  Double-byte characters are compared as they are.  The table depends only on
// the code page, which does not change while the process runs; it is a plain array filled
// on first use (no guarded static).
static BYTE g_fileNameFold[256];
static bool g_fileNameFoldReady = false;

static void FillFileNameFold() {
  for (int c = 0; c < 256; ++c) {
    g_fileNameFold[c] = BYTE(c);
    if (c == 0 || IsDBCSLeadByte(BYTE(c))) continue;
    char upper = char(c), back;
    CharUpperBuffA(&upper, 1);
    back = upper;
    CharLowerBuffA(&back, 1);
    if (BYTE(back) == c) g_fileNameFold[c] = BYTE(upper);
  }
  g_fileNameFoldReady = true;
}

static std::string FoldFileName(const std::string &s) {
  if (!g_fileNameFoldReady) FillFileNameFold();
  std::string r = s;
  for (size_t i = 0; i < r.size(); ++i) {
    if (IsLeadByte(r[i]) && i + 1 < r.size()) {
      ++i;
      continue;
    }
    r[i] = char(g_fileNameFold[BYTE(r[i])]);
  }
  return r;
}

int AnsiCompareFileName(const std::string &a, const std::string &b) {
  int r = FoldFileName(a).compare(FoldFileName(b));  // bytes compared unsigned
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

char UpCase(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }

bool IsLeadByte(char c) { return IsDBCSLeadByte(BYTE(c)) != FALSE; }

const char *AnsiStrScan(const char *s, char c) {
  for (; *s; ++s) {
    if (*s == c) return s;
    if (IsLeadByte(*s) && s[1]) ++s;
  }
  return nullptr;
}

int AnsiPos(const std::string &sub, const std::string &s) {
  if (sub.empty()) return 0;
  for (size_t i = 0; i + sub.size() <= s.size();) {
    if (s.compare(i, sub.size(), sub) == 0) return int(i) + 1;
    i += (IsLeadByte(s[i]) && i + 1 < s.size()) ? 2 : 1;
  }
  return 0;
}

std::string AnsiLastChar(const std::string &s) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < s.size();) {
    last = i;
    i += (IsLeadByte(s[i]) && i + 1 < s.size()) ? 2 : 1;
  }
  return last == std::string::npos ? std::string() : s.substr(last);
}

bool EndsWithBackslash(const std::string &s) { return AnsiLastChar(s) == "\\"; }

// Index just past the last character of s that is one of delims (double-byte aware), 0 if none.
static size_t LastDelimiterEnd(const std::string &s, const char *delims) {
  size_t end = 0;
  for (size_t i = 0; i < s.size();) {
    if (IsLeadByte(s[i]) && i + 1 < s.size()) {
      i += 2;
      continue;
    }
    if (std::strchr(delims, s[i])) end = i + 1;
    ++i;
  }
  return end;
}

std::string ExtractFilePath(const std::string &s) { return s.substr(0, LastDelimiterEnd(s, "\\:")); }
std::string ExtractFileName(const std::string &s) { return s.substr(LastDelimiterEnd(s, "\\:")); }

std::string ExtractFileExt(const std::string &s) {
  size_t end = LastDelimiterEnd(s, "\\:.");
  if (end > 0 && s[end - 1] == '.') return s.substr(end - 1);
  return std::string();
}

std::string ExtractFileDrive(const std::string &s) {
  if (s.size() >= 2 && s[1] == ':') return s.substr(0, 2);
  if (s.size() >= 2 && s[0] == '\\' && s[1] == '\\') {
    // \\server\share: up to (not including) the backslash after the share name.
    int found = 0;
    size_t i = 2;
    while (i < s.size()) {
      if (s[i] == '\\' && ++found == 2) break;
      i += (IsLeadByte(s[i]) && i + 1 < s.size()) ? 2 : 1;
    }
    return s.substr(0, i);
  }
  return std::string();
}

std::string ExpandFileName(const std::string &s) {
  char buf[MAX_PATH * 2];
  char *file = nullptr;
  DWORD n = GetFullPathNameA(s.c_str(), sizeof buf, buf, &file);
  if (n == 0 || n >= sizeof buf) return s;
  return std::string(buf, n);
}

std::string IncludeTrailingBackslash(const std::string &s) {
  return EndsWithBackslash(s) ? s : s + "\\";
}

bool FileExists(const std::string &name) {
  DWORD a = GetFileAttributesA(name.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string &name) {
  DWORD a = GetFileAttributesA(name.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::string &dir) {
  if (dir.empty()) return false;
  std::string d = dir;
  if (EndsWithBackslash(d)) d.resize(d.size() - 1);
  if (d.size() < 3 || DirectoryExists(d) || ExtractFilePath(d) == d) return true;
  return ForceDirectories(ExtractFilePath(d)) && CreateDirectoryA(d.c_str(), nullptr);
}

bool RemoveFile(const std::string &name) { return DeleteFileA(name.c_str()) != FALSE; }

[[noreturn]] static void RaiseInOutError(DWORD code) {
  throw EInOutError(Format("E/A-Fehler %lu:", (unsigned long)code), TSystemError{code});
}

// The process's current directory, or empty with the reason in code.
static std::string ReadCurrentDir(DWORD &code) {
  char buf[MAX_PATH * 2];
  DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
  if (n > 0 && n < sizeof buf) return std::string(buf, n);
  code = n == 0 ? GetLastError() : 0;
  if (!code) code = ERROR_FILENAME_EXCED_RANGE;
  return std::string();
}

std::string GetCurrentDir() {
  DWORD code = 0;
  return ReadCurrentDir(code);
}

std::string CurrentDirOrRaise() {
  DWORD code = 0;
  std::string dir = ReadCurrentDir(code);
  if (dir.empty()) RaiseInOutError(code);
  return dir;
}

void ChDir(const std::string &dir) {
  const std::string before = GetCurrentDir();
  std::string target = dir;
  // "X:" means the current directory of drive X.  On the process's own drive that is
  // the process's current directory itself: the record kept for the drive (below) is
  // stale once the process was moved without ChDir.
  if (dir.size() == 2 && dir[1] == ':' && before.size() >= 2 && before[1] == ':' &&
      UpCase(before[0]) == UpCase(dir[0])) {
    target = before;
  } else if (dir.size() == 2 && dir[1] == ':') {
    char env[4] = {'=', UpCase(dir[0]), ':', 0};
    char buf[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableA(env, buf, sizeof buf);
    target = (n > 0 && n < sizeof buf) ? std::string(buf, n) : dir + "\\";
  }
  if (!SetCurrentDirectoryA(target.c_str())) RaiseInOutError(GetLastError());
  // A directory whose path is too long to be read back (reached through a relative name)
  // is no place to stay: nothing could name it afterwards.  Back to where we were, and
  // reported like a directory that cannot be entered.
  std::string now;
  try {
    now = CurrentDirOrRaise();
  } catch (...) {
    if (!before.empty()) SetCurrentDirectoryA(before.c_str());
    throw;
  }
  // The system does not remember a directory per drive by itself; "X:" above reads what
  // is recorded here, as the command interpreter does.
  if (now.size() >= 2 && now[1] == ':') {
    char env[4] = {'=', UpCase(now[0]), ':', 0};
    SetEnvironmentVariableA(env, now.c_str());
  }
}
