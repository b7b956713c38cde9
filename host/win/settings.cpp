#include "host/win/settings.h"

#include <windows.h>

#include <vector>

#include "host/error.h"
#include "host/win/unique.h"

namespace host::win {

namespace {

class WinSettings : public SettingsStore {
 public:
  Text GetSetting(const Text& application, const Text& section, const Text& key,
                  const Text& defaultValue) override {
    const auto path = SettingsKeyPath(application, section);
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, Wide(path), Wide(key), RRF_RT_REG_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS)
      return defaultValue;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1);
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, Wide(path), Wide(key), RRF_RT_REG_SZ, nullptr,
                     buffer.data(), &bytes) != ERROR_SUCCESS)
      return defaultValue;
    return FromWide(std::wstring_view(buffer.data()));
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
    const DWORD needed = GetEnvironmentVariableW(Wide(name), nullptr, 0);
    if (needed == 0) return {};
    std::vector<wchar_t> buffer(needed);
    const DWORD length = GetEnvironmentVariableW(Wide(name), buffer.data(), needed);
    if (length == 0 || length >= needed) return {};
    return FromWide(std::wstring_view(buffer.data(), length));
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
