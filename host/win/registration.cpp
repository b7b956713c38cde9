#include "host/win/registration.h"

#include <oleauto.h>

#include <optional>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "host/error.h"
#include "host/win/boundary.h"
#include "host/win/com_object.h"
#include "host/win/com_ptr.h"
#include "host/win/own_library.h"
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

std::optional<std::u16string> ReadText(HKEY root, const std::u16string& key, REGSAM view) {
  UniqueHkey opened;
  if (RegOpenKeyExW(root, Wide(key), 0, KEY_READ | view, opened.Put()) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD bytes = 0;
  if (RegGetValueW(opened.Get(), nullptr, nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
      ERROR_SUCCESS)
    return std::nullopt;
  std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1);
  if (RegGetValueW(opened.Get(), nullptr, nullptr, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return FromWide(text.data());
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

// Where a file is: its volume and its index on that volume, whatever the path it is reached by
// (an 8.3 name, a junction or symbolic link, a subst or mapped drive); nothing when it cannot be
// opened.
std::optional<std::tuple<DWORD, DWORD, DWORD>> FileIdentity(const std::u16string& path) {
  const UniqueHandle file(CreateFileW(Wide(path), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!file || !GetFileInformationByHandle(file.Get(), &information)) return std::nullopt;
  return std::make_tuple(information.dwVolumeSerialNumber, information.nFileIndexHigh,
                         information.nFileIndexLow);
}

bool SameFile(const std::u16string& one, const std::u16string& other) {
  if (CompareStringOrdinal(Wide(one), -1, Wide(other), -1, TRUE) == CSTR_EQUAL) return true;
  const auto identity = FileIdentity(one);
  return identity && identity == FileIdentity(other);
}

// A file that cannot be looked at (access denied, a share offline, a drive this session does not
// see) is not taken for gone: only one that is not there is.
bool Exists(const std::u16string& path) {
  if (GetFileAttributesW(Wide(path)) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND &&
         error != ERROR_INVALID_NAME && error != ERROR_INVALID_DRIVE;
}

// Whether this bitness's view registers the class to a DLL other than this one that still
// exists: another installation's registration, or (where the views are one, as under Wine) the
// other bitness's, which is not this DLL's to remove. A registration of a file that is gone is.
bool RegisteredToAnotherFile(const GUID& clsid, const std::u16string& self) {
  const auto server = ReadText(HKEY_CURRENT_USER, ClassKey(clsid) + u"\\InprocServer32", 0);
  if (!server || server->empty() || SameFile(*server, self)) return false;
  return Exists(*server);
}

// The machine a DLL file is built for, from its PE header; 0 when it cannot be read.
WORD MachineOf(const std::u16string& path) {
  const UniqueHandle file(CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  const auto readAt = [&file](LONG offset, void* into, DWORD size) {
    DWORD read = 0;
    return SetFilePointer(file.Get(), offset, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
           ReadFile(file.Get(), into, size, &read, nullptr) && read == size;
  };
  IMAGE_DOS_HEADER dos{};
  DWORD signature = 0;
  IMAGE_FILE_HEADER header{};
  if (!readAt(0, &dos, sizeof dos) || dos.e_magic != IMAGE_DOS_SIGNATURE ||
      !readAt(dos.e_lfanew, &signature, sizeof signature) || signature != IMAGE_NT_SIGNATURE ||
      !readAt(dos.e_lfanew + static_cast<LONG>(sizeof signature), &header, sizeof header))
    return 0;
  return header.Machine;
}

constexpr WORD kOwnMachine =
    sizeof(void*) == 8 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;

// Whether another copy of this DLL, of this bitness and still there, holds the class: the editor
// of this bitness loads that one, so its add-in key, ProgID and type library are not this copy's
// to remove.
bool AnotherCopyHolds(const GUID& clsid, const std::u16string& self) {
  if (!RegisteredToAnotherFile(clsid, self)) return false;
  const auto server = ReadText(HKEY_CURRENT_USER, ClassKey(clsid) + u"\\InprocServer32", 0);
  return server && MachineOf(*server) == kOwnMachine;
}

bool ClassInEitherView(const GUID& clsid) {
  for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    UniqueHkey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(ClassKey(clsid)), 0, KEY_READ | view, key.Put()) ==
        ERROR_SUCCESS)
      return true;
  }
  return false;
}

std::u16string TypeLibKey(const ServerRecord& record) {
  return u"TypeLib\\" + GuidText(*record.typeLibrary) + u"\\" +
         FromUtf8(std::to_string(record.majorVersion) + "." + std::to_string(record.minorVersion));
}

// Whether the type library is registered for one system kind ("0\\win64" or "0\\win32"),
// per user or, as Wine does it, for the machine.
bool TypeLibRegisteredFor(const ServerRecord& record, const char16_t* sysKind) {
  UniqueHkey key;
  return RegOpenKeyExW(HKEY_CLASSES_ROOT, Wide(TypeLibKey(record) + u"\\" + sysKind), 0, KEY_READ,
                       key.Put()) == ERROR_SUCCESS;
}

constexpr const char16_t* kSysKindKey = sizeof(void*) == 8 ? u"0\\win64" : u"0\\win32";

// Whether an unregistration may remove keys under HKLM\Software\Classes. Wine registers type
// libraries machine-wide even when asked per user; Windows never does, and there a key under HKLM
// belongs to an installation for everyone, run elevated or not. So only where the machine's
// registration of this bitness's type library names this very file, or a file that is gone.
enum class MachineKeys { Keep, Remove };

// A registration's file that is this one, or is gone: the registration is this file's to remove.
bool NamesThisOrAGoneFile(const std::optional<std::u16string>& registered,
                          const std::u16string& self) {
  return registered && (SameFile(*registered, self) || !Exists(*registered));
}

MachineKeys MachineKeysOf(const ServerRecord& record, const std::u16string& self) {
  const auto registered = ReadText(
      HKEY_LOCAL_MACHINE, u"Software\\Classes\\" + TypeLibKey(record) + u"\\" + kSysKindKey, 0);
  return NamesThisOrAGoneFile(registered, self) ? MachineKeys::Remove : MachineKeys::Keep;
}

// A key under the classes root in one registry view: the user's own, and (see MachineKeys) the
// same key for everyone. A key there that cannot be removed is not the user's.
void DeleteClassesKey(const std::u16string& key, MachineKeys machine, REGSAM view = 0) {
  for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    if (root == HKEY_LOCAL_MACHINE && machine == MachineKeys::Keep) continue;
    UniqueHkey classes;
    if (RegOpenKeyExW(root, L"Software\\Classes", 0, KEY_READ | KEY_WRITE | DELETE | view,
                      classes.Put()) != ERROR_SUCCESS)
      continue;
    const LSTATUS status = RegDeleteTreeW(classes.Get(), Wide(key));
    if (root == HKEY_CURRENT_USER && status != ERROR_FILE_NOT_FOUND)
      ThrowIf(status, u"Removing " + key);
  }
}

bool HasSubkeys(const std::u16string& key) {
  UniqueHkey opened;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, Wide(key), 0, KEY_READ, opened.Put()) != ERROR_SUCCESS)
    return false;
  DWORD subkeys = 0;
  RegQueryInfoKeyW(opened.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                   nullptr, nullptr, nullptr, nullptr);
  return subkeys != 0;
}

// The interface keys of the library this DLL carries. Each bitness has its own (the key is
// redirected), and the system keeps them while the other bitness still has the library: this
// bitness's go with its registration, the other's once that has no registration of the library
// either (Wine writes both from either bitness).
void RemoveInterfaceKeys(const ServerRecord& record, MachineKeys machine) {
  constexpr bool k64 = sizeof(void*) == 8;
  std::vector<REGSAM> views = {k64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY};
  if (!TypeLibRegisteredFor(record, k64 ? u"0\\win32" : u"0\\win64"))
    views.push_back(k64 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY);
  const auto library = OwnTypeLibrary();
  for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
    TYPEKIND kind;
    if (FAILED(library->GetTypeInfoType(i, &kind)) ||
        (kind != TKIND_INTERFACE && kind != TKIND_DISPATCH))
      continue;
    ComPtr<ITypeInfo> info;
    TYPEATTR* attributes = nullptr;
    if (FAILED(library->GetTypeInfo(i, info.Put())) || FAILED(info->GetTypeAttr(&attributes)))
      continue;
    const auto key = u"Interface\\" + GuidText(attributes->guid);
    info->ReleaseTypeAttr(attributes);
    for (const REGSAM view : views) DeleteClassesKey(key, machine, view);
  }
}

// What registering the library wrote for this bitness, removed by hand: for when the system
// cannot unregister it because the file it was registered from is gone.
void RemoveTypeLibraryKeys(const ServerRecord& record, MachineKeys machine) {
  const auto version = TypeLibKey(record);
  DeleteClassesKey(version + u"\\" + kSysKindKey, machine);
  if (!HasSubkeys(version + u"\\0")) DeleteClassesKey(version, machine);
  const auto libraryKey = u"TypeLib\\" + GuidText(*record.typeLibrary);
  if (!HasSubkeys(libraryKey)) DeleteClassesKey(libraryKey, machine);
}

void UnregisterTypeLibrary(const ServerRecord& record, const std::u16string& self,
                           MachineKeys machine) {
  // Only this bitness's registration, and only one of this file: the other bitness's, or an
  // installation for everyone that the user's own does not cover, may still be in use.
  const auto registered = ReadText(HKEY_CLASSES_ROOT, TypeLibKey(record) + u"\\" + kSysKindKey, 0);
  if (!NamesThisOrAGoneFile(registered, self)) return;
  if (FAILED(UnRegisterTypeLibForUser(*record.typeLibrary, record.majorVersion, record.minorVersion,
                                      0, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32)))
    RemoveTypeLibraryKeys(record, machine);
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
    auto path = OwnPath();
    const auto library = OwnTypeLibrary();
    Check(RegisterTypeLibForUser(library.Get(), const_cast<OLECHAR*>(Wide(path)), nullptr),
          u"Registering the type library");
    for (const auto& entry : Entries(record, path)) Write(entry);
  });
}

HRESULT UnregisterServer(const ServerRecord& record) noexcept {
  return Boundary<ErrorInfo::None>([&] {
    const auto self = OwnPath();
    for (const auto& c : record.classes)
      if (AnotherCopyHolds(*c.clsid, self)) return;  // nothing here is this copy's
    DeleteTree(AddinKeyPath(record.addin.progId));
    for (const auto& c : record.classes)
      if (!RegisteredToAnotherFile(*c.clsid, self)) DeleteTree(ClassKey(*c.clsid));
    // The ProgID is one key for both bitnesses: it stays while either still has the class.
    for (const auto& c : record.classes)
      if (!ClassInEitherView(*c.clsid)) DeleteTree(ProgIdKey(c.progId));
    // Read before the type library goes, which takes the machine's registration with it.
    const auto machine = MachineKeysOf(record, self);
    UnregisterTypeLibrary(record, self, machine);
    RemoveInterfaceKeys(record, machine);
  });
}

}  // namespace host::win
