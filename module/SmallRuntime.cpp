// Pieces of the C++ runtime that the module replaces by smaller ones of its own.  Only
// the module's own link sees this file.
//
// - The runtime's default handler for an exception that nobody catches prints the
//   exception's type with a demangler of some 45 KB.  No exception leaves the module's
//   window procedures and exports, so the handler only ends the process.
// - The standard library reports a bad index or argument (std::string::substr, at, stoi)
//   by throwing its own exception classes, which bring a second string implementation of
//   about 40 KB.  Here they throw the runtime's ERangeError and EConvertError, which every
//   window procedure and export reports or swallows like any other exception.
#include <cstdarg>
#include <cstdlib>
#include <string>
#include <new>

#include "toolkit/SysUtils.h"

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_out_of_range(const char *what) { throw ERangeError(what); }
// The library's message has "%s" and "%zu" (and "%%") in it, which the C runtime of the
// oldest systems cannot format.
void __throw_out_of_range_fmt(const char *what, ...) {
  std::string text;
  va_list args;
  va_start(args, what);
  for (const char *p = what; *p; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      const char *s = va_arg(args, const char *);
      text += s ? s : "";
      ++p;
    } else if (p[0] == '%' && p[1] == 'z' && p[2] == 'u') {
      text += std::to_string(va_arg(args, size_t));
      p += 2;
    } else if (p[0] == '%' && p[1] == '%') {
      text += '%';
      ++p;
    } else {
      text += *p;
    }
  }
  va_end(args);
  throw ERangeError(text);
}
void __throw_length_error(const char *what) { throw ERangeError(what); }
void __throw_invalid_argument(const char *what) { throw EConvertError(what); }
void __throw_logic_error(const char *what) { throw Exception(what); }
void __throw_bad_alloc() { throw Exception("Zu wenig Arbeitsspeicher"); }
void __throw_bad_array_new_length() { throw Exception("Zu wenig Arbeitsspeicher"); }
void __throw_bad_function_call() { throw Exception("Aufruf einer leeren Funktion"); }
}  // namespace std
