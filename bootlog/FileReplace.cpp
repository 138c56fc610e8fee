#include "bootlog/FileReplace.h"

#include "toolkit/SysUtils.h"

TFileCalls RealFileCalls() {
  return {::CreateFileA, ::WriteFile,  ::FlushFileBuffers,   ::CloseHandle,       ::MoveFileExA,
          ::MoveFileA,   ::DeleteFileA, ::GetFileAttributesA, ::SetFileAttributesA,
          ::GetShortPathNameA};
}

TFileCalls &FileCalls() {
  static TFileCalls calls = RealFileCalls();
  return calls;
}

namespace {

// The path with its extension (or none) replaced by ext.
std::string WithExtension(const std::string &path, const char *ext) {
  return path.substr(0, path.size() - ExtractFileExt(path).size()) + ext;
}

// The name the new content is written under before it takes Path's place, and the name
// the old file keeps meanwhile where the system has no replacing move.
std::string ReplacementName(const std::string &Path) { return WithExtension(Path, ".BL$"); }
std::string BackupName(const std::string &Path) { return WithExtension(Path, ".BL~"); }

EFCreateError CreateError(const std::string &path, const std::string &reason) {
  return EFCreateError(Format("Datei %s kann nicht erstellt werden. %s", path.c_str(), reason.c_str()));
}

EFCreateError CreateError(const std::string &path, DWORD code) {
  return EFCreateError(Format("Datei %s kann nicht erstellt werden.", path.c_str()), TSystemError{code});
}

bool Exists(const std::string &path) {
  return FileCalls().GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Deletes what an earlier attempt left under a replacement's or backup's name, whatever
// attributes it carries.
void RemoveLeftover(const std::string &path) {
  if (!Exists(path)) return;
  FileCalls().SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  FileCalls().DeleteFileA(path.c_str());
}

// Writes all of content in pieces; false with the system's code when a piece is refused
// or written only in part (a full disk).
bool WriteAll(HANDLE file, const std::string &content, DWORD &code) {
  const DWORD kPiece = 32768;
  for (size_t done = 0; done < content.size();) {
    DWORD want = DWORD(content.size() - done < kPiece ? content.size() - done : kPiece);
    DWORD written = 0;
    if (!FileCalls().WriteFile(file, content.data() + done, want, &written, nullptr)) {
      code = GetLastError();
      return false;
    }
    if (written != want) {
      code = ERROR_DISK_FULL;
      return false;
    }
    done += written;
  }
  return true;
}

// Writes content to a new file temp, flushed and closed; on failure nothing of temp remains.
void WriteNewFile(const std::string &path, const std::string &temp, const std::string &content) {
  TFileCalls &fs = FileCalls();
  HANDLE file = fs.CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw CreateError(path, GetLastError());
  DWORD code = 0;
  bool ok = WriteAll(file, content, code);
  if (ok && !fs.FlushFileBuffers(file)) {
    ok = false;
    code = GetLastError();
  }
  if (!fs.CloseHandle(file) && ok) {
    ok = false;
    code = GetLastError();
  }
  if (!ok) {
    fs.DeleteFileA(temp.c_str());
    throw CreateError(path, code);
  }
}

}  // namespace

void ReplaceFileContents(const std::string &Path, const std::string &Content) {
  TFileCalls &fs = FileCalls();
  DWORD attributes = fs.GetFileAttributesA(Path.c_str());
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) throw CreateError(Path, ERROR_ACCESS_DENIED);
  if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
    throw CreateError(Path, "Die Datei ist schreibgeschützt.");

  // A replacement left by an attempt that was cut short: the file itself was never
  // touched by it.
  std::string temp = ReplacementName(Path);
  RemoveLeftover(temp);
  WriteNewFile(Path, temp, Content);
  const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (exists && (attributes & kept))
    fs.SetFileAttributesA(temp.c_str(), (attributes & kept) | FILE_ATTRIBUTE_ARCHIVE);

  // One step where the system can replace a file by a move.
  if (fs.MoveFileExA(temp.c_str(), Path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return;
  DWORD code = GetLastError();
  bool noReplacingMove = code == ERROR_CALL_NOT_IMPLEMENTED;
  if (noReplacingMove && !exists) {
    if (fs.MoveFileA(temp.c_str(), Path.c_str())) return;
    code = GetLastError();
  }
  if (!noReplacingMove || !exists) {
    fs.DeleteFileA(temp.c_str());
    throw CreateError(Path, code);
  }

  // Without a replacing move the old file keeps a backup name until the new one has its
  // name; a crash in between leaves both complete, and the next start puts them right.
  std::string backup = BackupName(Path);
  RemoveLeftover(backup);
  if (!fs.MoveFileA(Path.c_str(), backup.c_str())) {
    code = GetLastError();
    fs.DeleteFileA(temp.c_str());
    throw CreateError(Path, code);
  }
  if (!fs.MoveFileA(temp.c_str(), Path.c_str())) {
    code = GetLastError();
    // The old file goes back under its name; should even that fail, the backup and the
    // new content stay for the next start to put right.
    if (fs.MoveFileA(backup.c_str(), Path.c_str())) fs.DeleteFileA(temp.c_str());
    throw CreateError(Path, code);
  }
  fs.DeleteFileA(backup.c_str());
}

void RecoverInterruptedReplace(const std::string &Path) {
  std::string backup = BackupName(Path);
  // Without the file the backup is the complete old one; beside it, the new one made it.
  if (Exists(backup) && !Exists(Path)) {
    // The backup is the user's only copy: where it cannot have its name back, both stay
    // as they are and the user learns where it is.
    if (!FileCalls().MoveFileA(backup.c_str(), Path.c_str())) {
      DWORD code = GetLastError();
      throw EInOutError("Die Datei " + Path + " fehlt. Ihr letzter Stand liegt als " + backup +
                            " vor und konnte nicht wieder in " + Path + " umbenannt werden: " +
                            SysErrorMessage(code) + " Bitte benennen Sie " + backup + " selbst in " +
                            ExtractFileName(Path) + " um.",
                        code);
    }
  } else {
    RemoveLeftover(backup);
  }
  RemoveLeftover(ReplacementName(Path));
}
