#include "host/win/registration.h"

#include <oleauto.h>

#include <variant>

#include "host/error.h"
#include "host/win/boundary.h"
#include "host/win/com_object.h"
#include "host/win/com_ptr.h"
#include "host/win/unique.h"

// mingw-w64's oleauto.h does not declare the per-user type-library calls.
extern "C" {
HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* helpDirectory);
HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID library, WORD major, WORD minor, LCID locale,
                                        SYSKIND kind);
}

namespace host::win {

namespace {

using Value = std::variant<std::u16string, DWORD>;

struct Entry {
  std::u16string key;
  std::u16string name;  // empty for the key's default value
  Value value;
};

void ThrowIf(LSTATUS status, const std::u16string& what) {
  if (status != ERROR_SUCCESS)
    throw HostError(HRESULT_FROM_WIN32(static_cast<DWORD>(status)), what);
}

void Write(const Entry& entry) {
  UniqueHkey key;
  ThrowIf(RegCreateKeyExW(HKEY_CURRENT_USER, Wide(entry.key), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          key.Put(), nullptr),
          u"Creating " + entry.key);
  const wchar_t* name = entry.name.empty() ? nullptr : Wide(entry.name);
  if (const auto* text = std::get_if<std::u16string>(&entry.value)) {
    ThrowIf(RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text->c_str()),
                           static_cast<DWORD>((text->size() + 1) * sizeof(char16_t))),
            u"Writing " + entry.key);
  } else {
    const DWORD number = std::get<DWORD>(entry.value);
    ThrowIf(RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                           sizeof number),
            u"Writing " + entry.key);
  }
}

void DeleteTree(const std::u16string& key) {
  // The key and everything below it; a key already gone is removed.
  const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, Wide(key));
  if (status != ERROR_FILE_NOT_FOUND) ThrowIf(status, u"Removing " + key);
}

std::u16string GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return FromWide(text);
}

std::u16string ModulePath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(Module::Instance(), path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw HostError(HRESULT_FROM_WIN32(GetLastError()), u"Finding the DLL's path");
    if (length < path.size()) return FromWide(std::wstring_view(path.data(), length));
    path.resize(path.size() * 2);
  }
}

std::u16string ClassKey(const GUID& clsid) {
  return u"Software\\Classes\\CLSID\\" + GuidText(clsid);
}
std::u16string ProgIdKey(const std::u16string& progId) { return u"Software\\Classes\\" + progId; }

std::vector<Entry> Entries(const ServerRecord& record, const std::u16string& path) {
  std::vector<Entry> entries;
  const auto library = GuidText(*record.typeLibrary);
  for (const auto& c : record.classes) {
    const auto key = ClassKey(*c.clsid);
    entries.push_back({key, u"", c.progId});
    entries.push_back({key + u"\\InprocServer32", u"", path});
    entries.push_back({key + u"\\InprocServer32", u"ThreadingModel", std::u16string(u"Apartment")});
    entries.push_back({key + u"\\ProgID", u"", c.progId});
    entries.push_back({key + u"\\TypeLib", u"", library});
    entries.push_back({ProgIdKey(c.progId), u"", c.progId});
    entries.push_back({ProgIdKey(c.progId) + u"\\CLSID", u"", GuidText(*c.clsid)});
  }
  const auto addin = AddinKeyPath(record.addin.progId);
  entries.push_back({addin, u"FriendlyName", record.addin.friendlyName});
  entries.push_back({addin, u"Description", record.addin.description});
  entries.push_back({addin, u"LoadBehavior", record.addin.loadBehavior});
  entries.push_back({addin, u"CommandLineSafe", record.addin.commandLineSafe});
  return entries;
}

}  // namespace

std::u16string AddinKeyPath(const std::u16string& progId) {
#ifdef _WIN64
  return u"Software\\Microsoft\\VBA\\VBE\\6.0\\Addins64\\" + progId;
#else
  return u"Software\\Microsoft\\VBA\\VBE\\6.0\\Addins\\" + progId;
#endif
}

HRESULT RegisterServer(const ServerRecord& record) noexcept {
  return Boundary<ErrorInfo::None>([&] {
    const auto path = ModulePath();
    ComPtr<ITypeLib> library;
    Check(LoadTypeLibEx(Wide(path), REGKIND_NONE, library.Put()), u"Loading the type library");
    auto pathCopy = path;
    Check(RegisterTypeLibForUser(library.Get(), const_cast<OLECHAR*>(Wide(pathCopy)), nullptr),
          u"Registering the type library");
    for (const auto& entry : Entries(record, path)) Write(entry);
  });
}

HRESULT UnregisterServer(const ServerRecord& record) noexcept {
  return Boundary<ErrorInfo::None>([&] {
    DeleteTree(AddinKeyPath(record.addin.progId));
    for (const auto& c : record.classes) {
      DeleteTree(ProgIdKey(c.progId));
      DeleteTree(ClassKey(*c.clsid));
    }
    // A library that is not registered any more is what unregistering wants.
    BSTR registeredPath = nullptr;
    if (SUCCEEDED(QueryPathOfRegTypeLib(*record.typeLibrary, record.majorVersion,
                                        record.minorVersion, 0, &registeredPath))) {
      SysFreeString(registeredPath);
      Check(UnRegisterTypeLibForUser(*record.typeLibrary, record.majorVersion, record.minorVersion,
                                     0, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32),
            u"Unregistering the type library");
    }
  });
}

}  // namespace host::win
