#pragma once
// Per-user self-registration of an in-process COM server that is an editor add-in: its classes,
// ProgIDs, type library and add-in entry, all under HKEY_CURRENT_USER, so no administrator rights
// are needed. Registering twice is harmless; unregistering removes what registering wrote and
// counts what is already gone as removed.

#include <windows.h>

#include <string>
#include <vector>

namespace host::win {

struct ComClass {
  const GUID* clsid;
  std::u16string progId;
};

struct AddinEntry {
  std::u16string progId;
  std::u16string friendlyName;
  std::u16string description;
  DWORD loadBehavior;
  DWORD commandLineSafe;
};

struct ServerRecord {
  const GUID* typeLibrary;
  WORD majorVersion;
  WORD minorVersion;
  std::vector<ComClass> classes;
  AddinEntry addin;
};

// The editor reads its add-ins from the key of its own bitness: 64-bit from Addins64.
std::u16string AddinKeyPath(const std::u16string& progId);

HRESULT RegisterServer(const ServerRecord& record) noexcept;
HRESULT UnregisterServer(const ServerRecord& record) noexcept;

}  // namespace host::win
