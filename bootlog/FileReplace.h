// Replacing a file so that it is never lost or half-written: the new content is written
// beside it, checked and flushed, and only then put in its place.  At every moment a
// complete file exists under its own name or under its backup name, and a failure leaves
// the old file byte for byte as it was, with no temporary file behind (should even putting
// the old file back fail, both stay complete for RecoverInterruptedReplace).
#pragma once
#include <windows.h>

#include <string>

// The file calls a replacement makes (and the short-name query of the hook line).  Tests replace single entries to play a full disk,
// a folder where nothing can be created or a system without a replacing move; the table
// holds the system's functions unless a test has replaced them.
struct TFileCalls {
  HANDLE(WINAPI *CreateFileA)(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                              DWORD disposition, DWORD flags, HANDLE templ);
  BOOL(WINAPI *WriteFile)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                          LPOVERLAPPED overlapped);
  BOOL(WINAPI *FlushFileBuffers)(HANDLE file);
  BOOL(WINAPI *CloseHandle)(HANDLE handle);
  BOOL(WINAPI *MoveFileExA)(LPCSTR from, LPCSTR to, DWORD flags);
  BOOL(WINAPI *MoveFileA)(LPCSTR from, LPCSTR to);
  BOOL(WINAPI *DeleteFileA)(LPCSTR name);
  DWORD(WINAPI *GetFileAttributesA)(LPCSTR name);
  BOOL(WINAPI *SetFileAttributesA)(LPCSTR name, DWORD attributes);
  DWORD(WINAPI *GetShortPathNameA)(LPCSTR longPath, LPSTR shortPath, DWORD size);
};
TFileCalls &FileCalls();
TFileCalls RealFileCalls();

// Gives Path the bytes of Content, creating it if needed.  The new content is written as
// "<name>.BL$" first; where the system has no replacing move the old file waits as
// "<name>.BL~" (8.3 names, as the start-up system sees only those).  An existing file's
// hidden and system attributes are kept; the new content is marked for archiving.  Raises EFCreateError naming Path and the
// system's reason: for a read-only file (never made writable), a folder where the new
// content cannot be written, a full disk, a file held open by another program.
void ReplaceFileContents(const std::string &Path, const std::string &Content);

// Puts right what a replacement interrupted by a crash or power loss left behind: the old
// file back under its name when only the backup holds it, and no stray temporary or
// backup file.  Raises EInOutError naming the file and its backup, and leaves every file
// as it is, when the backup cannot have the file's name back.
void RecoverInterruptedReplace(const std::string &Path);
