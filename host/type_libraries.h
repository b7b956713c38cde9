#pragma once
// The type libraries registered on this computer, as HKEY_CLASSES_ROOT\TypeLib holds them, and
// the editor's rule for which of them a project can refer to. Every call may throw
// host::HostError.

#include <compare>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/text.h"

namespace host {

// Which of a version's platform subkeys a program of that bitness loads: "win32" or "win64".
enum class Bitness { Win32, Win64 };
// Office of the one bitness, as against the other.
constexpr Bitness OtherBitness(Bitness bitness) {
  return bitness == Bitness::Win64 ? Bitness::Win32 : Bitness::Win64;
}

// A type library's version, as references and the editor show it (decimal major.minor).
struct LibraryVersion {
  std::int32_t major = 0;
  std::int32_t minor = 0;
  auto operator<=>(const LibraryVersion&) const = default;
};

// A version subkey's name, "<major>.<minor>" in hexadecimal ("a.0" is 10.0, "1.10" is 1.16);
// nullopt for anything else.
std::optional<LibraryVersion> ParseVersionKey(const Text& key);
// "9.5": how the editor shows a version.
Text DecimalVersion(LibraryVersion version);

// The file one platform subkey names.
struct TypeLibraryFile {
  Text path;    // the default value, environment variables expanded
  bool exists;  // a file is at that path
};

// One locale subkey of a version: its hexadecimal LCID as stored and its platform files.
struct TypeLibraryLocale {
  Text lcid;
  std::optional<TypeLibraryFile> win32;
  std::optional<TypeLibraryFile> win64;
};

// One version subkey whose name parsed, with its default value (the library's name).
struct RegisteredVersion {
  LibraryVersion version;
  Text name;
  std::vector<TypeLibraryLocale> locales;
};

class TypeLibraries {
 public:
  virtual ~TypeLibraries() = default;
  // Every version subkey of HKEY_CLASSES_ROOT\TypeLib\<guid> whose name is a version; none when
  // the GUID has no key.
  virtual std::vector<RegisteredVersion> Registered(const Text& guid) = 0;
};

// The versions a program of that bitness can load (a locale names a file of its platform that
// exists), newest first.
std::vector<RegisteredVersion> Loadable(std::vector<RegisteredVersion> registered, Bitness bitness);

}  // namespace host
