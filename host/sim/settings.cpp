#include "host/sim/settings.h"

#include "host/sim/ignore_case.h"

namespace host::sim {

SimSettings::Address SimSettings::AddressOf(const Text& application, const Text& section,
                                            const Text& key) {
  return {FoldedCopy(application), FoldedCopy(section), FoldedCopy(key)};
}

Text SimSettings::GetSetting(const Text& application, const Text& section, const Text& key,
                             const Text& defaultValue) {
  calls_->Enter("Settings.GetSetting");
  return Stored(application, section, key).value_or(defaultValue);
}

void SimSettings::SaveSetting(const Text& application, const Text& section, const Text& key,
                              const Text& value) {
  calls_->Enter("Settings.SaveSetting");
  Store(application, section, key, value);
  writes_.push_back({application, section, key, value});
}

std::optional<Text> SimSettings::Stored(const Text& application, const Text& section,
                                        const Text& key) const {
  const auto found = values_.find(AddressOf(application, section, key));
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

void SimSettings::Store(const Text& application, const Text& section, const Text& key,
                        const Text& value) {
  values_[AddressOf(application, section, key)] = value;
}

Text SimEnvironment::Environ(const Text& name) {
  calls_->Enter("Environment.Environ");
  // Windows looks variables up without regard to case.
  for (const auto& [variable, value] : variables_)
    if (EqualsIgnoringCase(variable, name)) return value;
  return {};
}

Text SimEnvironment::ProgramPath() {
  calls_->Enter("Environment.ProgramPath");
  return programPath_;
}

}  // namespace host::sim
