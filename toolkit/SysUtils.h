// The runtime library's exception classes and the file, path and text functions the
// module uses.  Texts are single-byte strings in the Windows code page.
#pragma once
#include <windows.h>
#include <cstdarg>
#include <exception>
#include <string>

// The system's error code of a failed call, given to an exception.
struct TSystemError {
  DWORD code;
};

// Base of every exception the module raises; carries the message shown to the user and,
// where a system call failed, the system's error code.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  // The message, a blank and the system's text of the error (SysErrorMessage).
  Exception(const std::string &message, TSystemError error);
  const std::string &Message() const { return message_; }
  const char *what() const noexcept override { return message_.c_str(); }
  virtual const char *ClassName() const { return "Exception"; }
  DWORD ErrorCode = 0;  // 0 where no system call failed

 private:
  std::string message_;
};

#define TK_EXCEPTION_CLASS(Name, Base)                            \
  class Name : public Base {                                      \
   public:                                                        \
    using Base::Base;                                             \
    const char *ClassName() const override { return #Name; }      \
  }

TK_EXCEPTION_CLASS(ERangeError, Exception);
TK_EXCEPTION_CLASS(EInvalidOperation, Exception);
TK_EXCEPTION_CLASS(EConvertError, Exception);
TK_EXCEPTION_CLASS(EStreamError, Exception);
TK_EXCEPTION_CLASS(EFOpenError, EStreamError);    // a file could not be opened for reading
TK_EXCEPTION_CLASS(EFCreateError, EStreamError);  // a file could not be created or written
TK_EXCEPTION_CLASS(EReadError, EStreamError);     // a form resource could not be read
TK_EXCEPTION_CLASS(ERegistryException, Exception);

// An input/output error of the runtime (changing directories, deleting files); keeps the
// system's error code.
class EInOutError : public Exception {
 public:
  using Exception::Exception;
  // The message as given, with the code.
  EInOutError(std::string message, DWORD code) : Exception(std::move(message)) { ErrorCode = code; }
  const char *ClassName() const override { return "EInOutError"; }
};

// Raises ERangeError, the runtime's answer to a value outside its range.
[[noreturn]] void RaiseRangeError();

std::string Format(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char *fmt, va_list args);
std::string SysErrorMessage(DWORD code);

// Text: AnsiXxx honour the code page (and its lead bytes); LowerCase changes A to Z only.
std::string LowerCase(const std::string &s);
std::string AnsiLowerCase(const std::string &s);
std::string AnsiUpperCase(const std::string &s);
std::string AnsiLowerCaseFileName(const std::string &s);
std::string AnsiUpperCaseFileName(const std::string &s);
int AnsiCompareText(const std::string &a, const std::string &b);
// File names: ordinal, ignoring case only (distinct names never compare equal).
int AnsiCompareFileName(const std::string &a, const std::string &b);
char UpCase(char c);
bool IsLeadByte(char c);
// 1-based position of sub in s, 0 when absent; never matches inside a double-byte character.
int AnsiPos(const std::string &sub, const std::string &s);
// Pointer to the first occurrence of c in s (double-byte aware), or null.
const char *AnsiStrScan(const char *s, char c);
// The last character of s as a (possibly double-byte) sequence; empty for an empty s.
std::string AnsiLastChar(const std::string &s);
bool EndsWithBackslash(const std::string &s);  // double-byte aware

// Paths.
std::string ExtractFilePath(const std::string &s);   // up to and including the last \ or :
std::string ExtractFileName(const std::string &s);   // after the last \ or :
std::string ExtractFileExt(const std::string &s);    // from the last dot of the name on
std::string ExtractFileDrive(const std::string &s);  // "C:" or "\\server\share"
std::string ExpandFileName(const std::string &s);
std::string IncludeTrailingBackslash(const std::string &s);

// File system.
bool FileExists(const std::string &name);
bool DirectoryExists(const std::string &name);
bool ForceDirectories(const std::string &dir);
// Deletes a file; false with the system's error code in GetLastError on failure.
bool RemoveFile(const std::string &name);
// The process's current directory; empty when it cannot be read.
std::string GetCurrentDir();
// The same, raising EInOutError when it cannot be read (a path beyond the system's limit).
std::string CurrentDirOrRaise();
// Changes the process's current directory; raises EInOutError on failure, also when the
// new directory could not be read back (the current directory is then unchanged).
void ChDir(const std::string &dir);
