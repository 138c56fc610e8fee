#include "HostOptions.h"

#include "template/OsEditions.h"

#include <cctype>
#include <climits>
#include <cstdlib>

namespace {


const char *const kOsShortNames[] = {
    "98", "98 A", "98 SE", "95", "95 A", "95 B", "95 OSR 2",
    "95 OSR 2.1", "95 OSR 2.5", "NT", "2000", "ME", "XP",
};


std::string Lower(std::string s) {
  for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

const char *OsName(int code) {
  return code >= 1 && code <= kNamedOsEditions ? kOsEditionNames[code - 1] : "";
}

const char *OsShortName(int code) {
  return code >= 1 && code <= kNamedOsEditions ? kOsShortNames[code - 1] : "";
}

bool ParseNumber(const std::string &text, int &value) {
  size_t begin = text.find_first_not_of(" \t");
  size_t end = text.find_last_not_of(" \t");
  if (begin == std::string::npos) return false;
  std::string s = text.substr(begin, end - begin + 1);
  bool negative = false;
  size_t pos = 0;
  if (s[0] == '+' || s[0] == '-') {
    negative = s[0] == '-';
    pos = 1;
  }
  int base = 10;
  if (s.size() > pos + 2 && s[pos] == '0' && (s[pos + 1] == 'x' || s[pos + 1] == 'X')) {
    base = 16;
    pos += 2;
  }
  if (pos >= s.size()) return false;
  long long magnitude = 0;
  for (; pos < s.size(); ++pos) {
    unsigned char c = static_cast<unsigned char>(s[pos]);
    int digit;
    if (std::isdigit(c)) digit = c - '0';
    else if (base == 16 && std::isxdigit(c)) digit = std::tolower(c) - 'a' + 10;
    else return false;
    magnitude = magnitude * base + digit;
    // Hexadecimal covers the full 32 bits, so that 0xFFFFFFFF means -1.
    if (magnitude > (base == 16 ? 0xFFFFFFFFLL : static_cast<long long>(INT_MAX) + 1))
      return false;
  }
  if (base == 16) {
    if (negative) return false;
    value = static_cast<int>(static_cast<unsigned int>(magnitude));
    return true;
  }
  long long v = negative ? -magnitude : magnitude;
  if (v > INT_MAX || v < INT_MIN) return false;
  value = static_cast<int>(v);
  return true;
}

HostOptions ParseHostOptions(const std::vector<std::string> &args,
                             std::vector<std::string> &errors) {
  HostOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &arg = args[i];
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) {
      errors.push_back("Unexpected argument \"" + arg + "\"");
      continue;
    }
    std::string name = Lower(arg.substr(1));
    if (name == "open") {
      options.openAtStart = true;
      continue;
    }
    if (name == "realc") {
      options.realBootDrive = true;
      continue;
    }
    if (name == "press") {
      if (i + 1 < args.size()) options.press.push_back(args[++i]);
      else errors.push_back("/press needs the name of a control");
      continue;
    }
    int *number = name == "lang"   ? &options.language
                  : name == "os"   ? &options.osCode
                  : name == "mask" ? &options.validOsMask
                  : name == "help" ? &options.helpNr
                                   : nullptr;
    std::string *text = name == "caption" ? &options.caption
                        : name == "hint"  ? &options.hint
                        : name == "dll"   ? &options.dllPath
                        : name == "log"   ? &options.logFile
                                          : nullptr;
    if (!number && !text) {
      errors.push_back("Unknown option \"" + arg + "\"");
      continue;
    }
    if (i + 1 >= args.size()) {
      errors.push_back("Option \"" + arg + "\" needs a value");
      continue;
    }
    const std::string &value = args[++i];
    if (text) {
      *text = value;
      continue;
    }
    int parsed;
    if (!ParseNumber(value, parsed)) {
      errors.push_back("Option \"" + arg + "\": \"" + value + "\" is not a number");
    } else if (number == &options.osCode && (parsed < kFirstOsCode || parsed > kLastOsCode)) {
      errors.push_back("Option \"" + arg + "\": the system code must lie in 1..18");
    } else {
      *number = parsed;
    }
  }
  return options;
}
