#pragma once
// Type libraries a scenario registers on this computer, where the editor finds them
// (HKEY_CLASSES_ROOT\TypeLib, written under HKLM\Software\Classes, the one Wine reads), with a
// small file standing in for each library. Everything written is remembered and removed again,
// so that no run sees another's libraries.

#include <vector>

#include "host/text.h"
#include "host/type_libraries.h"

namespace sandbox {

struct LibraryRegistration {
  host::Text guid;        // "{...}"
  host::Text versionKey;  // as stored: hexadecimal "9.5", "a.0"
  host::Text lcid;        // as stored: hexadecimal "0", "409"
  host::Text name;        // the version key's default value
  std::vector<host::Bitness> platforms;
  bool withFile = true;     // the file the platform key names is there
  bool expandable = false;  // the path as REG_EXPAND_SZ, starting with %TEMP%
};

// Writes the version's key with its FLAGS and HELPDIR, its locale's key and one platform key for
// each platform, each naming a file of its own; returns the paths as stored. Fails for a version
// this computer had registered before the run.
std::vector<host::Text> RegisterTypeLibrary(const LibraryRegistration& registration);
// Removes every key and file registered since the last time.
void ForgetTypeLibraries() noexcept;

}  // namespace sandbox
