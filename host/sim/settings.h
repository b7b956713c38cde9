#pragma once
// The simulated per-user settings store and process environment.

#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <tuple>
#include <vector>

#include "host/environment.h"
#include "host/settings.h"
#include "host/sim/host_calls.h"

namespace host::sim {

struct SettingWrite {
  Text application;
  Text section;
  Text key;
  Text value;
  bool operator==(const SettingWrite&) const = default;
};

class SimSettings : public SettingsStore {
 public:
  explicit SimSettings(std::shared_ptr<HostCalls> calls) : calls_(std::move(calls)) {}

  Text GetSetting(const Text& application, const Text& section, const Text& key,
                  const Text& defaultValue) override;
  void SaveSetting(const Text& application, const Text& section, const Text& key,
                   const Text& value) override;

  // What is stored, as a person inspecting the store would see it.
  std::optional<Text> Stored(const Text& application, const Text& section, const Text& key) const;
  void Store(const Text& application, const Text& section, const Text& key, const Text& value);
  const std::vector<SettingWrite>& Writes() const { return writes_; }
  void ClearWrites() { writes_.clear(); }

 private:
  // Keys are looked up without regard to case, like the registry that holds them.
  using Address = std::tuple<Text, Text, Text>;
  static Address AddressOf(const Text& application, const Text& section, const Text& key);

  std::shared_ptr<HostCalls> calls_;
  std::map<Address, Text> values_;
  std::vector<SettingWrite> writes_;
};

class SimEnvironment : public Environment {
 public:
  explicit SimEnvironment(std::shared_ptr<HostCalls> calls) : calls_(std::move(calls)) {}
  Text Environ(const Text& name) override;
  Text ProgramPath() override;
  void Set(const Text& name, const Text& value) { variables_[name] = value; }
  void SetProgramPath(const Text& path) { programPath_ = path; }
  void Unset(const Text& name) { variables_.erase(name); }

 private:
  std::shared_ptr<HostCalls> calls_;
  std::map<Text, Text> variables_;
  Text programPath_ = u"C:\\Program Files\\Microsoft Office\\root\\Office16\\EXCEL.EXE";
};

}  // namespace host::sim
