#include "host/win/type_libraries.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/error.h"
#include "host/growing_read.h"
#include "host/win/unique.h"

namespace host::win {

namespace {

[[noreturn]] void Unreadable(LSTATUS status, const Text& key) {
  throw HostError(static_cast<std::int32_t>(HRESULT_FROM_WIN32(static_cast<DWORD>(status))),
                  u"HKEY_CLASSES_ROOT\\" + key + u" could not be read.");
}

// The subkey opened for reading; an empty handle when it is not there.
UniqueHkey OpenKey(HKEY parent, const Text& name, const Text& path) {
  HKEY opened = nullptr;
  const LSTATUS status = RegOpenKeyExW(parent, Wide(name), 0, KEY_READ, &opened);
  if (status == ERROR_FILE_NOT_FOUND) return UniqueHkey();
  if (status != ERROR_SUCCESS) Unreadable(status, path);
  return UniqueHkey(opened);
}

std::vector<Text> Subkeys(HKEY key, const Text& path) {
  std::vector<Text> names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];  // the longest key name the registry allows, and its terminator
    DWORD length = 256;
    const LSTATUS status = RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return names;
    if (status != ERROR_SUCCESS) Unreadable(status, path);
    names.push_back(FromWide(std::wstring_view(name, length)));
  }
}

std::wstring Expanded(const std::wstring& text, const Text& path) {
  const auto expanded =
      ReadGrowing<wchar_t>(text.size() + 1, [&](wchar_t* buffer, std::size_t capacity) {
        // The characters the expansion takes, its terminator included.
        const DWORD needed =
            ExpandEnvironmentStringsW(text.c_str(), buffer, static_cast<DWORD>(capacity));
        if (needed == 0) return ReadResult{ReadOutcome::Failed, 0};
        if (needed > capacity) return ReadResult{ReadOutcome::MoreData, needed};
        return ReadResult{ReadOutcome::Done, needed - 1};
      });
  if (!expanded) Unreadable(static_cast<LSTATUS>(GetLastError()), path);
  return *expanded;
}

// The key's default value when it is text, environment variables expanded in a REG_EXPAND_SZ;
// nullopt when it has none, or one of another type.
std::optional<Text> DefaultText(HKEY key, const Text& path) {
  DWORD type = REG_NONE;
  LSTATUS failure = ERROR_SUCCESS;
  const auto value = ReadGrowing<wchar_t>(MAX_PATH, [&](wchar_t* buffer, std::size_t capacity) {
    DWORD bytes = static_cast<DWORD>(capacity * sizeof(wchar_t));
    failure =
        RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    if (failure == ERROR_MORE_DATA)
      return ReadResult{ReadOutcome::MoreData, bytes / sizeof(wchar_t) + 1};
    if (failure != ERROR_SUCCESS) return ReadResult{ReadOutcome::Failed, 0};
    // Stored text need not end in a terminator; one inside ends it.
    const std::wstring_view read(buffer, bytes / sizeof(wchar_t));
    return ReadResult{ReadOutcome::Done, std::min(read.size(), read.find(L'\0'))};
  });
  if (failure == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if (!value) Unreadable(failure, path);  // a failed read, or one that grew at every attempt
  if (type == REG_EXPAND_SZ) return FromWide(Expanded(*value, path));
  if (type == REG_SZ) return FromWide(*value);
  return std::nullopt;
}

bool IsFile(const Text& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A path may end in "\<n>": the n-th type library resource of the file before it.
bool LibraryFileExists(const Text& path) {
  if (path.empty()) return false;
  if (IsFile(path)) return true;
  const auto slash = path.find_last_of(u'\\');
  if (slash == Text::npos || slash + 1 == path.size()) return false;
  const bool resource = std::all_of(path.begin() + static_cast<std::ptrdiff_t>(slash) + 1,
                                    path.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
  return resource && IsFile(path.substr(0, slash));
}

// A locale subkey is a hexadecimal LCID; FLAGS and HELPDIR sit beside them.
bool IsLocale(const Text& name) {
  return !name.empty() && name.size() <= 8 &&
         std::all_of(name.begin(), name.end(), [](char16_t c) { return HexDigitValue(c) >= 0; });
}

std::optional<TypeLibraryFile> PlatformFile(HKEY locale, const Text& platform, const Text& path) {
  const Text keyPath = path + u"\\" + platform;
  const auto key = OpenKey(locale, platform, keyPath);
  if (!key) return std::nullopt;
  const Text file = DefaultText(key.Get(), keyPath).value_or(Text());
  return TypeLibraryFile{file, LibraryFileExists(file)};
}

class RegistryLibraries : public TypeLibraries {
 public:
  std::vector<RegisteredVersion> Registered(const Text& guid) override {
    std::vector<RegisteredVersion> versions;
    // Only a GUID names a library's key; anything with a separator names none.
    if (guid.empty() || guid.find(u'\\') != Text::npos) return versions;
    const Text libraryPath = u"TypeLib\\" + guid;
    const auto library = OpenKey(HKEY_CLASSES_ROOT, libraryPath, libraryPath);
    if (!library) return versions;
    for (const auto& versionName : Subkeys(library.Get(), libraryPath)) {
      const auto number = ParseVersionKey(versionName);
      if (!number) continue;
      const Text versionPath = libraryPath + u"\\" + versionName;
      const auto versionKey = OpenKey(library.Get(), versionName, versionPath);
      if (!versionKey) continue;  // deleted since it was listed
      RegisteredVersion version{
          *number, DefaultText(versionKey.Get(), versionPath).value_or(Text()), {}};
      for (const auto& lcid : Subkeys(versionKey.Get(), versionPath)) {
        if (!IsLocale(lcid)) continue;
        const Text localePath = versionPath + u"\\" + lcid;
        const auto locale = OpenKey(versionKey.Get(), lcid, localePath);
        if (!locale) continue;
        version.locales.push_back({lcid, PlatformFile(locale.Get(), u"win32", localePath),
                                   PlatformFile(locale.Get(), u"win64", localePath)});
      }
      versions.push_back(std::move(version));
    }
    return versions;
  }
};

}  // namespace

std::shared_ptr<TypeLibraries> RegistryTypeLibraries() {
  return std::make_shared<RegistryLibraries>();
}

}  // namespace host::win
