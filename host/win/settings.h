#pragma once
// The per-user settings store where the VB settings functions keep it, and the environment.

#include <memory>

#include "host/environment.h"
#include "host/settings.h"

namespace host::win {

// HKCU\Software\VB and VBA Program Settings\<application>\<section>, one REG_SZ value per key.
// A value that is absent, unreadable or of another type reads as the default.
std::shared_ptr<SettingsStore> RegistrySettings();
// The key under HKEY_CURRENT_USER that holds one section's values (without a section: the
// application's).
std::u16string SettingsKeyPath(const Text& application, const Text& section = {});
std::shared_ptr<Environment> ProcessEnvironment();

}  // namespace host::win
