#include "sandbox/library_registrations.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "host/error.h"
#include "host/win/unique.h"

namespace sandbox {

namespace {

using host::Text;
using host::win::FromWide;
using host::win::UniqueHkey;
using host::win::Wide;

struct Written {
  std::vector<Text> keys;  // the topmost keys a registration made, under HKLM
  std::vector<Text> files;
  Text folder;  // where the files are, once there are any
};

Written& Registrations() {
  static Written written;
  return written;
}

const Text kFolder = u"%TEMP%\\sandbox type libraries";

[[noreturn]] void Refused(LSTATUS status, const Text& what) {
  throw host::HostError(static_cast<std::int32_t>(HRESULT_FROM_WIN32(static_cast<DWORD>(status))),
                        what);
}

Text Expanded(const Text& text) {
  wchar_t buffer[MAX_PATH * 2];
  const DWORD length = ExpandEnvironmentStringsW(Wide(text), buffer, MAX_PATH * 2);
  if (length == 0 || length > MAX_PATH * 2) Refused(ERROR_BAD_PATHNAME, u"Expanding " + text);
  return FromWide(buffer);
}

// Equal to or under a key that a registration of this run made.
bool Ours(const Text& key) {
  return std::any_of(Registrations().keys.begin(), Registrations().keys.end(), [&](const Text& k) {
    return key.size() >= k.size() && _wcsnicmp(Wide(key), Wide(k), k.size()) == 0 &&
           (key.size() == k.size() || key[k.size()] == u'\\');
  });
}

bool Exists(const Text& key) {
  UniqueHkey opened;
  return RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(key), 0, KEY_READ, opened.Put()) == ERROR_SUCCESS;
}

// Creates one key under an existing one; remembers it where it is new and not under one of ours.
UniqueHkey CreateKey(const Text& key) {
  HKEY created = nullptr;
  DWORD disposition = 0;
  const LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(key), 0, nullptr, 0,
                                         KEY_ALL_ACCESS, nullptr, &created, &disposition);
  if (status != ERROR_SUCCESS) Refused(status, u"Creating HKLM\\" + key);
  UniqueHkey opened(created);
  if (disposition == REG_CREATED_NEW_KEY && !Ours(key)) Registrations().keys.push_back(key);
  return opened;
}

void SetDefault(const UniqueHkey& key, DWORD type, const Text& value, const Text& what) {
  const LSTATUS status =
      RegSetValueExW(key.Get(), nullptr, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
  if (status != ERROR_SUCCESS) Refused(status, u"Writing HKLM\\" + what);
}

// A few bytes standing in for a type library: the editor only asks that a file is there.
void WriteStandIn(const Text& path) {
  auto& written = Registrations();
  written.folder = Expanded(kFolder);
  CreateDirectoryW(Wide(written.folder), nullptr);
  host::win::UniqueHandle file(CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) Refused(static_cast<LSTATUS>(GetLastError()), u"Writing " + path);
  static const char kText[] = "a stand-in for a type library";
  DWORD bytes = 0;
  if (!::WriteFile(file.Get(), kText, sizeof kText - 1, &bytes, nullptr))
    Refused(static_cast<LSTATUS>(GetLastError()), u"Writing " + path);
  if (std::find(written.files.begin(), written.files.end(), path) == written.files.end())
    written.files.push_back(path);
}

}  // namespace

std::vector<Text> RegisterTypeLibrary(const LibraryRegistration& registration) {
  const Text library = u"Software\\Classes\\TypeLib\\" + registration.guid;
  const Text version = library + u"\\" + registration.versionKey;
  if (Exists(version) && !Ours(version))
    Refused(ERROR_ALREADY_EXISTS, u"HKLM\\" + version +
                                      u" was registered on this computer before this run; the "
                                      u"sandbox leaves it as it is");
  CreateKey(u"Software\\Classes\\TypeLib");
  CreateKey(library);
  SetDefault(CreateKey(version), REG_SZ, registration.name, version);
  // Beside the locales, as every registration writes them.
  SetDefault(CreateKey(version + u"\\FLAGS"), REG_SZ, u"0", version + u"\\FLAGS");
  SetDefault(CreateKey(version + u"\\HELPDIR"), REG_SZ, Expanded(kFolder), version + u"\\HELPDIR");
  const Text locale = version + u"\\" + registration.lcid;
  CreateKey(locale);
  std::vector<Text> stored;
  for (const auto platform : registration.platforms) {
    const Text platformName = platform == host::Bitness::Win64 ? u"win64" : u"win32";
    Text file = registration.guid + u" " + registration.versionKey + u" " + registration.lcid +
                u" " + platformName + u".tlb";
    const Text value =
        registration.expandable ? kFolder + u"\\" + file : Expanded(kFolder) + u"\\" + file;
    const Text path = Expanded(value);
    if (registration.withFile)
      WriteStandIn(path);
    else
      DeleteFileW(Wide(path));
    const Text key = locale + u"\\" + platformName;
    SetDefault(CreateKey(key), registration.expandable ? REG_EXPAND_SZ : REG_SZ, value, key);
    stored.push_back(value);
  }
  return stored;
}

void ForgetTypeLibraries() noexcept {
  auto& written = Registrations();
  for (auto key = written.keys.rbegin(); key != written.keys.rend(); ++key)
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, Wide(*key));
  for (const auto& file : written.files) DeleteFileW(Wide(file));
  if (!written.folder.empty()) RemoveDirectoryW(Wide(written.folder));  // only where it is empty
  written.keys.clear();
  written.files.clear();
  written.folder.clear();
}

}  // namespace sandbox
