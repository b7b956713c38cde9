#pragma once
// Per-user text settings addressed by application, section and key.

#include "host/text.h"

namespace host {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored text, or `defaultValue` when the key is absent.
  virtual Text GetSetting(const Text& application, const Text& section, const Text& key,
                          const Text& defaultValue) = 0;
  virtual void SaveSetting(const Text& application, const Text& section, const Text& key,
                           const Text& value) = 0;
};

}  // namespace host
