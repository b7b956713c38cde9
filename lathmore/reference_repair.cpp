#include "lathmore/reference_repair.h"

#include <algorithm>

#include "host/error.h"

namespace lathmore {

namespace {

using host::Ignore;

struct Broken {
  std::shared_ptr<host::Reference> reference;
  RepairEntry entry;
};

// The list as it stands while references are replaced, to tell whether one changed its place.
// Each reference is held: the editor may hand out a new object for every Item, and an object let
// go of could give its address to the next one.
using Order = std::vector<std::shared_ptr<host::Reference>>;

// Reads what a broken type library needs to be replaced or named; false when the entry is
// settled already (a project, or what could not be read).
bool ReadBroken(host::Reference& reference, RepairEntry& entry) {
  entry.name = Ignore([&] { return reference.Name(); }).value_or(host::Text());
  const auto type = Ignore([&] { return reference.Type(); });
  if (type == host::kReferenceProject) {
    entry.outcome = RepairOutcome::ProjectNotOpen;
    return false;
  }
  if (type != host::kReferenceTypeLibrary) return false;  // Unreadable
  const auto guid = Ignore([&] { return reference.Guid(); });
  const auto major = Ignore([&] { return reference.Major(); });
  const auto minor = Ignore([&] { return reference.Minor(); });
  if (!guid || guid->empty() || !major || !minor) return false;  // Unreadable
  entry.guid = *guid;
  entry.from = {*major, *minor};
  return true;
}

const host::Text* NameOf(const std::vector<host::RegisteredVersion>& registered,
                         host::LibraryVersion version) {
  for (const auto& candidate : registered)
    if (candidate.version == version) return &candidate.name;
  return nullptr;
}

// Removes the reference and adds the version found, else the editor's newest, else the one it
// was; the entry says which, or that none could be added.
void Replace(host::References& references, const std::shared_ptr<host::Reference>& reference,
             const std::vector<host::RegisteredVersion>& registered, host::LibraryVersion found,
             Order& order, RepairEntry& entry) {
  try {
    references.Remove(reference);
  } catch (const host::HostError&) {
    entry.outcome = RepairOutcome::RemoveRefused;
    return;
  }
  const auto place = std::find(order.begin(), order.end(), reference);
  if (place != order.end()) {
    entry.movedToEnd = place + 1 != order.end();
    order.erase(place);
  }

  constexpr host::LibraryVersion kNewest{0, 0};
  std::vector<host::LibraryVersion> tries{found};
  for (const auto version : {kNewest, entry.from})
    if (std::find(tries.begin(), tries.end(), version) == tries.end()) tries.push_back(version);
  for (const auto version : tries) {
    std::shared_ptr<host::Reference> added;
    try {
      added = references.AddFromGuid(entry.guid, version.major, version.minor);
    } catch (const host::HostError&) {
      continue;
    }
    order.push_back(added);
    // The editor may add another minor version than the one asked for: tell the one it added.
    const auto major = Ignore([&] { return added->Major(); });
    const auto minor = Ignore([&] { return added->Minor(); });
    if (major && minor)
      entry.to = host::LibraryVersion{*major, *minor};
    else if (version != kNewest)
      entry.to = version;
    if (entry.to)
      if (const auto* name = NameOf(registered, *entry.to)) entry.toName = *name;
    entry.outcome = entry.to == entry.from && entry.from != found ? RepairOutcome::PutBack
                                                                  : RepairOutcome::Repaired;
    return;
  }
  entry.outcome = RepairOutcome::Lost;
}

void Repair(host::References& references, host::TypeLibraries& libraries, host::Bitness bitness,
            Broken& broken, Order& order) {
  auto& entry = broken.entry;
  if (Ignore([&] { return broken.reference->BuiltIn(); }).value_or(false)) {
    entry.outcome = RepairOutcome::BuiltIn;
    return;
  }
  const auto registered = Ignore([&] { return libraries.Registered(entry.guid); });
  if (!registered) {
    entry.outcome = RepairOutcome::RegistryUnreadable;
    return;
  }
  const auto loadable = host::Loadable(*registered, bitness);
  if (loadable.empty()) {
    entry.outcome = RepairOutcome::NotInstalled;
    const auto other = host::OtherBitness(bitness);
    if (!host::Loadable(*registered, other).empty()) entry.onlyFor = other;
    return;
  }
  Replace(references, broken.reference, *registered, loadable.front().version, order, entry);
}

}  // namespace

std::vector<RepairEntry> RepairReferences(host::References& references,
                                          host::TypeLibraries& libraries, host::Bitness bitness) {
  // The one call whose failure ends the repair, before anything has changed.
  const std::int32_t count = references.Count();
  std::vector<RepairEntry> entries;
  std::vector<Broken> broken;
  Order order;
  for (std::int32_t place = 1; place <= count; ++place) {
    RepairEntry entry;
    entry.place = place;
    const auto reference = Ignore([&] { return references.Item(place); }).value_or(nullptr);
    order.push_back(reference);
    const auto isBroken =
        reference ? Ignore([&] { return reference->IsBroken(); }) : std::optional<bool>();
    if (isBroken == false) continue;
    if (!isBroken) {
      entries.push_back(entry);  // Unreadable
      continue;
    }
    if (ReadBroken(*reference, entry))
      broken.push_back({reference, entry});
    else
      entries.push_back(entry);
  }
  for (auto& one : broken) {
    Repair(references, libraries, bitness, one, order);
    entries.push_back(one.entry);
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const auto& a, const auto& b) { return a.place < b.place; });
  return entries;
}

}  // namespace lathmore
