#pragma once
// What Repair Missing References tells the user, in one message box titled "Lathmore".

#include <vector>

#include "host/text.h"
#include "lathmore/reference_repair.h"

namespace lathmore {

inline constexpr char16_t kRepairTitle[] = u"Lathmore";
inline constexpr char16_t kRepairCaption[] = u"Repair Missing References...";
inline constexpr char16_t kSelectProjectFirst[] = u"Select a project first.";

// A line for each entry, those removed and not added again first; or that none is missing.
host::Text RepairMessage(const host::Text& project, const std::vector<RepairEntry>& entries);
host::Text LockedMessage(const host::Text& project);
// The references could not be listed: nothing was changed.
host::Text UnreadableMessage(const host::Text& project);

}  // namespace lathmore
