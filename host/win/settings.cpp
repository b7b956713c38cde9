#include "host/win/settings.h"

#include <windows.h>


#include "host/error.h"
#include "host/growing_read.h"
#include "host/win/unique.h"

namespace host::win {

namespace {

class WinSettings : public SettingsStore {
 public:
  Text GetSetting(const Text& application, const Text& section, const Text& key,
                  const Text& defaultValue) override {
    const auto path = SettingsKeyPath(application, section);
    // Another Office application may write the value between its size and its read.
    const auto value = ReadGrowing<wchar_t>(256, [&](wchar_t* buffer, std::size_t capacity) {
      DWORD bytes = static_cast<DWORD>(capacity * sizeof(wchar_t));
      const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, Wide(path), Wide(key), RRF_RT_REG_SZ,
                                          nullptr, buffer, &bytes);
      if (status == ERROR_MORE_DATA) return ReadResult{ReadOutcome::MoreData, bytes / 2 + 1};
      if (status != ERROR_SUCCESS) return ReadResult{ReadOutcome::Failed, 0};
      // The length up to the terminator RegGetValueW puts after a REG_SZ.
      const std::wstring_view read(buffer, std::min<std::size_t>(capacity, bytes / 2));
      return ReadResult{ReadOutcome::Done, std::min(read.size(), read.find(L'\0'))};
    });
    if (!value) return defaultValue;
    return FromWide(*value);
  }

  void SaveSetting(const Text& application, const Text& section, const Text& key,
                   const Text& value) override {
    UniqueHkey hkey;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, Wide(SettingsKeyPath(application, section)),
                                     0, nullptr, 0, KEY_SET_VALUE, nullptr, hkey.Put(), nullptr);
    if (status == ERROR_SUCCESS)
      status = RegSetValueExW(hkey.Get(), Wide(key), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
    if (status != ERROR_SUCCESS)
      throw HostError(HRESULT_FROM_WIN32(static_cast<DWORD>(status)),
                      u"The setting " + key + u" could not be saved.");
  }
};

class WinEnvironment : public Environment {
 public:
  Text Environ(const Text& name) override {
    const auto value = ReadGrowing<wchar_t>(MAX_PATH, [&](wchar_t* buffer, std::size_t capacity) {
      const DWORD length =
          GetEnvironmentVariableW(Wide(name), buffer, static_cast<DWORD>(capacity));
      // 0: not set (or set empty). Too small: the characters it needs, its terminator included.
      if (length == 0) return ReadResult{ReadOutcome::Failed, 0};
      if (length >= capacity) return ReadResult{ReadOutcome::MoreData, length};
      return ReadResult{ReadOutcome::Done, length};
    });
    return value ? FromWide(*value) : Text();
  }

  Text ProgramPath() override {
    const auto path = ReadGrowing<wchar_t>(MAX_PATH, [](wchar_t* buffer, std::size_t capacity) {
      const DWORD length = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(capacity));
      if (length == 0) return ReadResult{ReadOutcome::Failed, 0};
      // A path cut to the buffer fills it whole.
      if (length >= capacity) return ReadResult{ReadOutcome::MoreData, 0};
      return ReadResult{ReadOutcome::Done, length};
    });
    if (!path) throw HostError(codes::kFail, u"The program's path could not be read.");
    return FromWide(*path);
  }
};

}  // namespace

std::u16string SettingsKeyPath(const Text& application, const Text& section) {
  const std::u16string root = u"Software\\VB and VBA Program Settings\\" + application;
  return section.empty() ? root : root + u"\\" + section;
}

std::shared_ptr<SettingsStore> RegistrySettings() { return std::make_shared<WinSettings>(); }
std::shared_ptr<Environment> ProcessEnvironment() { return std::make_shared<WinEnvironment>(); }

}  // namespace host::win
