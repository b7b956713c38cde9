#pragma once
// The sandbox's view of the registry: registering a DLL as a user would, and reading keys back.

#include <optional>
#include <string>

#include "host/text.h"

namespace sandbox {

// Runs the regsvr32 of the sandbox's own bitness on the DLL; its exit code.
unsigned long RunRegsvr32(const host::Text& dllPath, bool unregister);

// Wine activates COM classes only from HKLM\Software\Classes: after registering, the classes the
// DLL wrote per user are mirrored there, and the mirror goes again after unregistering.
void MirrorUserClasses(const host::Text& dllPath);
void RemoveClassMirror(const host::Text& dllPath);
// The same for an add-in someone else registered (an installer): the class its ProgID names,
// served by `dllPath`. Wine also keeps one per-user class tree for both bitnesses, so the mirror
// names the DLL of the sandbox's own bitness whichever registration was written last.
void MirrorInstalledClass(const host::Text& progId, const host::Text& dllPath);
void RemoveAllClassMirrors();

// A value under "HKCU\..." or "HKLM\..."; nullopt where the key or value is absent. Numbers are
// read as decimal text. An empty name reads the key's default value.
std::optional<host::Text> ReadRegistry(const host::Text& key, const host::Text& name);
bool RegistryKeyExists(const host::Text& key);
// The value's registry type by its name ("REG_SZ", "REG_DWORD", ...); nullopt where it is absent.
std::optional<std::string> RegistryValueType(const host::Text& key, const host::Text& name);

// Where the editor of the sandbox's bitness looks for its add-ins, as the editor knows it: the
// 64-bit editor reads only Addins64, the 32-bit one only Addins.
inline constexpr const char16_t* kEditorAddinsKey =
    sizeof(void*) == 8 ? u"HKCU\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins64"
                       : u"HKCU\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins";

}  // namespace sandbox
