#include "host/sim/references.h"

#include <algorithm>

#include "host/error.h"

namespace host::sim {

namespace {
[[noreturn]] void Gone() { throw HostError(codes::kFail, u"The object has been deleted."); }

Text Capitals(Text guid) {
  for (auto& c : guid)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return guid;
}
}  // namespace

// ---- SimReference -----------------------------------------------------------------------------

void SimReference::Enter(std::string_view operation) {
  calls_->Enter(operation);
  if (!exists_) Gone();
}

bool SimReference::IsBroken() {
  Enter("Reference.IsBroken");
  return shown_.broken;
}
std::int32_t SimReference::Type() {
  Enter("Reference.Type");
  return shown_.type;
}
Text SimReference::Guid() {
  Enter("Reference.GUID");
  return shown_.guid;
}
std::int32_t SimReference::Major() {
  Enter("Reference.Major");
  return shown_.version.major;
}
std::int32_t SimReference::Minor() {
  Enter("Reference.Minor");
  return shown_.version.minor;
}
Text SimReference::Name() {
  Enter("Reference.Name");
  if (shown_.nameRefused) throw HostError(codes::kFail, u"Object library not registered.");
  return shown_.name;
}
bool SimReference::BuiltIn() {
  Enter("Reference.BuiltIn");
  return shown_.builtIn;
}

// ---- SimReferenceList -------------------------------------------------------------------------

std::shared_ptr<SimReference> SimReferenceList::Append(ReferenceShown shown) {
  if (!shown.guid.empty() && !shown.name.empty()) names_[Capitals(shown.guid)] = shown.name;
  items_.push_back(std::make_shared<SimReference>(calls_, std::move(shown)));
  return items_.back();
}

std::shared_ptr<SimReference> SimReferenceList::AddFromRegistry(const Text& guid,
                                                                LibraryVersion version) {
  for (const auto& item : items_)
    if (EqualsIgnoringAsciiCase(item->Shown().guid, guid))
      throw HostError(static_cast<std::int32_t>(0x800A802D),
                      u"Name conflicts with existing module, project, or object library");
  const auto newest = source_.registered ? Loadable(source_.registered(guid), source_.bitness)
                                         : std::vector<RegisteredVersion>{};
  const bool newestOfAll = version == LibraryVersion{};
  for (const auto& candidate : newest) {
    if (!newestOfAll &&
        (candidate.version.major != version.major || candidate.version.minor < version.minor))
      continue;
    const auto known = names_.find(Capitals(guid));
    return Append({kReferenceTypeLibrary, Capitals(guid), candidate.version,
                   known != names_.end() ? known->second : candidate.name});
  }
  throw HostError(static_cast<std::int32_t>(0x8002801D), u"Library not registered.");
}

void SimReferenceList::Remove(const std::shared_ptr<SimReference>& reference) {
  const auto at = std::find(items_.begin(), items_.end(), reference);
  if (at == items_.end()) Gone();
  if (reference->Shown().builtIn)
    throw HostError(codes::kFail, u"Can't remove a reference the project needs.");
  reference->Remove();
  items_.erase(at);
}

std::vector<ReferenceShown> SimReferenceList::Shown() const {
  std::vector<ReferenceShown> shown;
  for (const auto& item : items_) shown.push_back(item->Shown());
  return shown;
}

// ---- SimReferences ----------------------------------------------------------------------------

std::int32_t SimReferences::Count() {
  calls_->Enter("References.Count");
  return static_cast<std::int32_t>(list_->Items().size());
}

std::shared_ptr<Reference> SimReferences::Item(std::int32_t index) {
  calls_->Enter("References.Item");
  const auto& items = list_->Items();
  if (index < 1 || index > static_cast<std::int32_t>(items.size()))
    throw HostError(codes::kSubscriptOutOfRange, u"Subscript out of range");
  return items[static_cast<std::size_t>(index - 1)];
}

void SimReferences::Remove(const std::shared_ptr<Reference>& reference) {
  calls_->Enter("References.Remove");
  const auto sim = std::dynamic_pointer_cast<SimReference>(reference);
  if (!sim) throw HostError(codes::kTypeMismatch, u"Type mismatch");
  list_->Remove(sim);
}

std::shared_ptr<Reference> SimReferences::AddFromGuid(const Text& guid, std::int32_t major,
                                                      std::int32_t minor) {
  calls_->Enter("References.AddFromGuid");
  return list_->AddFromRegistry(guid, {major, minor});
}

// ---- SimTypeLibraries -------------------------------------------------------------------------

std::vector<RegisteredVersion> SimTypeLibraries::Registered(const Text& guid) {
  calls_->Enter("TypeLibraries.Registered");
  return Lookup(guid);
}

std::vector<RegisteredVersion> SimTypeLibraries::Lookup(const Text& guid) const {
  const auto found = libraries_.find(Capitals(guid));
  return found == libraries_.end() ? std::vector<RegisteredVersion>{} : found->second;
}

void SimTypeLibraries::Register(const Text& guid, LibraryVersion version, const Text& name,
                                const Text& lcid, Bitness bitness, const Text& path,
                                bool fileExists) {
  auto& versions = libraries_[Capitals(guid)];
  auto entry = std::find_if(versions.begin(), versions.end(),
                            [&](const auto& v) { return v.version == version; });
  if (entry == versions.end()) entry = versions.insert(versions.end(), {version, name, {}});
  auto locale = std::find_if(entry->locales.begin(), entry->locales.end(),
                             [&](const auto& l) { return l.lcid == lcid; });
  if (locale == entry->locales.end())
    locale = entry->locales.insert(entry->locales.end(), {lcid, {}, {}});
  (bitness == Bitness::Win64 ? locale->win64 : locale->win32) = TypeLibraryFile{path, fileExists};
}

}  // namespace host::sim
