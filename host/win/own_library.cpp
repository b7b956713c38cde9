#include "host/win/own_library.h"

#include <vector>

#include "host/error.h"
#include "host/win/com_object.h"
#include "host/win/hresult.h"
#include "host/win/unique.h"

namespace host::win {

std::u16string OwnPath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(Module::Instance(), path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw HostError(HRESULT_FROM_WIN32(GetLastError()), u"Finding the DLL's path");
    // A full buffer may hold a cut path: try again with room to spare.
    if (length < path.size() - 1) return FromWide(std::wstring_view(path.data(), length));
    path.resize(path.size() * 2);
  }
}

ComPtr<ITypeLib> OwnTypeLibrary() {
  const std::u16string path = OwnPath();
  ComPtr<ITypeLib> library;
  HRESULT hr = LoadTypeLibEx(Wide(path), REGKIND_NONE, library.Put());
  if (FAILED(hr)) {
    const DWORD length = GetShortPathNameW(Wide(path), nullptr, 0);
    std::vector<wchar_t> shortPath(length + 1);
    if (length != 0 && GetShortPathNameW(Wide(path), shortPath.data(), length + 1) != 0)
      hr = LoadTypeLibEx(shortPath.data(), REGKIND_NONE, library.Put());
  }
  Check(hr, u"Loading the type library");
  return library;
}

}  // namespace host::win
