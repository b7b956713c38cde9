#pragma once
// The two bars as data: names, captions, icons, event slots and where each bar is held. The
// build, save and remove procedures are written once and read everything bar-specific here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "host/command_bars.h"
#include "quillon/addin_state.h"
#include "quillon/vbe_events.h"

namespace quillon {

inline constexpr std::int32_t kNumberedButtons = 5;  // controls 1 to 5; control 6 clears

struct ToolbarLayout {
  std::u16string_view name;  // the command bar's name, also its settings section
  std::shared_ptr<host::CommandBar> AddinState::*reference;
  std::u16string_view unusedCaption;
  std::u16string_view unusedTooltip;  // what a click on a free button does
  std::array<std::int32_t, kNumberedButtons> faceIds;
  std::u16string_view clearCaption;
  std::int32_t clearFaceId;
  std::array<EventSlot, kNumberedButtons + 1> slots;  // bound to controls 1 to 6
  // The numbered buttons' keys: their slots among the ten from this one on, the names of their
  // values in the Keys section (the prefix and the place, "Bookmark1"), their default keys.
  std::size_t firstKeySlot;
  std::u16string_view keyValuePrefix;
  std::array<std::u16string_view, kNumberedButtons> defaultKeys;
};

extern const ToolbarLayout kBookmarksBar;
extern const ToolbarLayout kCopyBufferBar;

}  // namespace quillon
