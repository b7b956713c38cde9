#pragma once
// A simulated project's references and the simulated registry of type libraries. Adding a
// reference follows the editor: only a registered version whose file exists for the editor's
// bitness is added, at the end of the list, and never a library the project already refers to.

#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "host/editor.h"
#include "host/sim/host_calls.h"
#include "host/type_libraries.h"

namespace host::sim {

// What one reference is, as the References dialog would list it.
struct ReferenceShown {
  std::int32_t type = kReferenceTypeLibrary;
  Text guid;  // empty for a project
  LibraryVersion version;
  Text name;
  bool broken = false;
  bool builtIn = false;
  // The editor gives no name for some broken references.
  bool nameRefused = false;
  bool operator==(const ReferenceShown&) const = default;
};

// The editor's side of the references: the registry it loads from and the bitness it loads as.
struct LibrarySource {
  std::function<std::vector<RegisteredVersion>(const Text& guid)> registered;
  Bitness bitness = Bitness::Win64;
};

class SimReferenceList;

class SimReference : public Reference {
 public:
  SimReference(std::shared_ptr<HostCalls> calls, ReferenceShown shown)
      : calls_(std::move(calls)), shown_(std::move(shown)) {}

  bool IsBroken() override;
  std::int32_t Type() override;
  Text Guid() override;
  std::int32_t Major() override;
  std::int32_t Minor() override;
  Text Name() override;
  bool BuiltIn() override;

  const ReferenceShown& Shown() const { return shown_; }
  bool Exists() const { return exists_; }
  void Remove() { exists_ = false; }

 private:
  void Enter(std::string_view operation);
  std::shared_ptr<HostCalls> calls_;
  ReferenceShown shown_;
  bool exists_ = true;
};

// The list one project holds, in the order the dialog shows it.
class SimReferenceList {
 public:
  SimReferenceList(std::shared_ptr<HostCalls> calls, LibrarySource source)
      : calls_(std::move(calls)), source_(std::move(source)) {}

  std::shared_ptr<SimReference> Append(ReferenceShown shown);
  // Adds what the registry has of that GUID for this bitness: exactly the major version with the
  // highest minor from `minor` up, or the newest of all for 0.0.
  std::shared_ptr<SimReference> AddFromRegistry(const Text& guid, LibraryVersion version);
  void Remove(const std::shared_ptr<SimReference>& reference);
  const std::vector<std::shared_ptr<SimReference>>& Items() const { return items_; }
  std::vector<ReferenceShown> Shown() const;
  void SetSource(LibrarySource source) { source_ = std::move(source); }

 private:
  std::shared_ptr<HostCalls> calls_;
  LibrarySource source_;
  std::vector<std::shared_ptr<SimReference>> items_;
  // A library's name is inside its file, the same in each of its versions: by GUID in capitals,
  // as the references seen so far gave it.
  std::map<Text, Text> names_;
};

class SimReferences : public References {
 public:
  SimReferences(std::shared_ptr<HostCalls> calls, std::shared_ptr<SimReferenceList> list)
      : calls_(std::move(calls)), list_(std::move(list)) {}

  std::int32_t Count() override;
  std::shared_ptr<Reference> Item(std::int32_t index) override;
  void Remove(const std::shared_ptr<Reference>& reference) override;
  std::shared_ptr<Reference> AddFromGuid(const Text& guid, std::int32_t major,
                                         std::int32_t minor) override;

 private:
  std::shared_ptr<HostCalls> calls_;
  std::shared_ptr<SimReferenceList> list_;
};

// HKEY_CLASSES_ROOT\TypeLib as a test or the sandbox's model fills it.
class SimTypeLibraries : public TypeLibraries {
 public:
  explicit SimTypeLibraries(std::shared_ptr<HostCalls> calls) : calls_(std::move(calls)) {}
  std::vector<RegisteredVersion> Registered(const Text& guid) override;
  // The same without a host call: the editor's own lookup when it adds a reference.
  std::vector<RegisteredVersion> Lookup(const Text& guid) const;

  // Adds a locale of a version (the version's key too, named `name`, when it is new); the file
  // of that bitness is at `path`, and exists unless `fileExists` is false.
  void Register(const Text& guid, LibraryVersion version, const Text& name, const Text& lcid,
                Bitness bitness, const Text& path, bool fileExists = true);

 private:
  std::shared_ptr<HostCalls> calls_;
  std::map<Text, std::vector<RegisteredVersion>> libraries_;  // by GUID in capitals
};

}  // namespace host::sim
