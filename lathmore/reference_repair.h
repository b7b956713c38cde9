#pragma once
// Repairing a project's MISSING references: each broken type-library reference is pointed at the
// newest version this computer has for the editor's bitness. A reference that is not broken is
// never touched, and one that is removed and cannot be added again is reported with what it takes
// to add it back by hand.

#include <cstdint>
#include <optional>
#include <vector>

#include "host/editor.h"
#include "host/type_libraries.h"

namespace lathmore {

// What became of one broken reference (or of one that could not be read).
enum class RepairOutcome {
  Repaired,            // replaced by the version installed here, at the end of the list
  PutBack,             // no version could be added; the original one was added back, at the end
  Lost,                // removed, and no version of it could be added again
  NotInstalled,        // no version here for this bitness: left as it is
  ProjectNotOpen,      // a reference to another project: left as it is
  BuiltIn,             // one the editor keeps itself: left as it is
  RemoveRefused,       // the editor refused to remove it: left as it is
  RegistryUnreadable,  // the versions installed here could not be read: left as it is
  Unreadable,          // the reference itself could not be read: left as it is
};

struct RepairEntry {
  RepairOutcome outcome = RepairOutcome::Unreadable;
  std::int32_t place = 0;  // 1-based place in the list before the repair
  host::Text name;         // the editor's name for it; empty when it gave none
  host::Text guid;
  host::LibraryVersion from;
  std::optional<host::LibraryVersion> to;  // what was added; nullopt when the editor did not say
  host::Text toName;                       // the registry's name of what was added
  // Not installed for the editor's bitness, but for this one (Office of the other bitness).
  std::optional<host::Bitness> onlyFor;
  bool movedToEnd = false;  // its place in the list changed
};

// Walks the list once, then repairs what it found broken, in the list's order.
std::vector<RepairEntry> RepairReferences(host::References& references,
                                          host::TypeLibraries& libraries, host::Bitness bitness);

}  // namespace lathmore
