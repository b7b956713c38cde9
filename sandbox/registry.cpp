#include "sandbox/registry.h"

#include <windows.h>

#include <map>
#include <vector>

#include "host/error.h"
#include "host/win/unique.h"
#include "sandbox/child_process.h"

namespace sandbox {

namespace {

using host::win::FromWide;
using host::win::UniqueHkey;
using host::win::Wide;

std::pair<HKEY, host::Text> Split(const host::Text& key) {
  const auto slash = key.find(u'\\');
  const auto root = key.substr(0, slash);
  const auto rest = slash == host::Text::npos ? host::Text() : key.substr(slash + 1);
  if (root == u"HKCU" || root == u"HKEY_CURRENT_USER") return {HKEY_CURRENT_USER, rest};
  if (root == u"HKLM" || root == u"HKEY_LOCAL_MACHINE") return {HKEY_LOCAL_MACHINE, rest};
  throw host::HostError(E_INVALIDARG, u"Unknown registry root in " + key);
}

std::optional<host::Text> DefaultValue(HKEY root, const host::Text& key) {
  wchar_t buffer[1024];
  DWORD bytes = sizeof buffer;
  if (RegGetValueW(root, Wide(key), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &bytes) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return FromWide(buffer);
}

// Keys mirrored per DLL, to take away again.
std::map<host::Text, std::vector<host::Text>>& Mirrors() {
  static std::map<host::Text, std::vector<host::Text>> mirrors;
  return mirrors;
}

void CopyToMachine(const host::Text& key) {
  UniqueHkey from;
  UniqueHkey to;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(key), 0, KEY_READ, from.Put()) != ERROR_SUCCESS) return;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(key), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      to.Put(), nullptr) != ERROR_SUCCESS)
    throw host::HostError(E_ACCESSDENIED, u"Mirroring " + key);
  RegCopyTreeW(from.Get(), nullptr, to.Get());
}

}  // namespace

unsigned long RunRegsvr32(const host::Text& dllPath, bool unregister) {
  return RunToEnd(u"regsvr32.exe /s " + host::Text(unregister ? u"/u " : u"") + u"\"" + dllPath +
                  u"\"");
}

void MirrorUserClasses(const host::Text& dllPath) {
  const host::Text classes = u"Software\\Classes\\CLSID";
  UniqueHkey clsids;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(classes), 0, KEY_READ, clsids.Put()) != ERROR_SUCCESS)
    return;
  auto& mirrored = Mirrors()[dllPath];
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(clsids.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    const host::Text key = classes + u"\\" + FromWide(name);
    const auto server = DefaultValue(HKEY_CURRENT_USER, key + u"\\InprocServer32");
    if (!server || _wcsicmp(Wide(*server), Wide(dllPath)) != 0) continue;
    CopyToMachine(key);
    mirrored.push_back(key);
    if (const auto progId = DefaultValue(HKEY_CURRENT_USER, key + u"\\ProgID")) {
      CopyToMachine(u"Software\\Classes\\" + *progId);
      mirrored.push_back(u"Software\\Classes\\" + *progId);
    }
  }
}

void MirrorInstalledClass(const host::Text& progId, const host::Text& dllPath) {
  const host::Text progIdKey = u"Software\\Classes\\" + progId;
  const auto clsid = DefaultValue(HKEY_CURRENT_USER, progIdKey + u"\\CLSID");
  if (!clsid)
    throw host::HostError(REGDB_E_CLASSNOTREG, progId + u" is not registered for the user");
  const host::Text classKey = u"Software\\Classes\\CLSID\\" + *clsid;
  CopyToMachine(progIdKey);
  CopyToMachine(classKey);
  UniqueHkey server;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(classKey + u"\\InprocServer32"), 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, server.Put(), nullptr) != ERROR_SUCCESS ||
      RegSetValueExW(server.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(Wide(dllPath)),
                     static_cast<DWORD>((dllPath.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
    throw host::HostError(E_ACCESSDENIED, u"Mirroring " + classKey);
  Mirrors()[dllPath].push_back(progIdKey);
  Mirrors()[dllPath].push_back(classKey);
}

void RemoveAllClassMirrors() {
  while (!Mirrors().empty()) RemoveClassMirror(Mirrors().begin()->first);
}

void RemoveClassMirror(const host::Text& dllPath) {
  for (const auto& key : Mirrors()[dllPath]) RegDeleteTreeW(HKEY_LOCAL_MACHINE, Wide(key));
  Mirrors().erase(dllPath);
}

std::optional<host::Text> ReadRegistry(const host::Text& key, const host::Text& name) {
  const auto [root, path] = Split(key);
  DWORD type = 0;
  BYTE data[2048];
  DWORD bytes = sizeof data - sizeof(wchar_t);
  if (RegGetValueW(root, Wide(path), name.empty() ? nullptr : Wide(name), RRF_RT_ANY, &type, data,
                   &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  if (type == REG_DWORD) {
    const auto digits = std::to_string(*reinterpret_cast<DWORD*>(data));
    return host::Text(digits.begin(), digits.end());
  }
  if (type == REG_SZ) return FromWide(reinterpret_cast<const wchar_t*>(data));
  return u"(a value of registry type " + host::FromUtf8(std::to_string(type)) + u")";
}

std::optional<std::string> RegistryValueType(const host::Text& key, const host::Text& name) {
  const auto [root, path] = Split(key);
  DWORD type = 0;
  if (RegGetValueW(root, Wide(path), name.empty() ? nullptr : Wide(name), RRF_RT_ANY | RRF_NOEXPAND,
                   &type, nullptr, nullptr) != ERROR_SUCCESS)
    return std::nullopt;
  switch (type) {
    case REG_SZ:
      return "REG_SZ";
    case REG_EXPAND_SZ:
      return "REG_EXPAND_SZ";
    case REG_DWORD:
      return "REG_DWORD";
    case REG_BINARY:
      return "REG_BINARY";
    case REG_MULTI_SZ:
      return "REG_MULTI_SZ";
    case REG_QWORD:
      return "REG_QWORD";
    default:
      return "type " + std::to_string(type);
  }
}

bool RegistryKeyExists(const host::Text& key) {
  const auto [root, path] = Split(key);
  UniqueHkey opened;
  return RegOpenKeyExW(root, Wide(path), 0, KEY_READ, opened.Put()) == ERROR_SUCCESS;
}

}  // namespace sandbox
