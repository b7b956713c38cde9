#pragma once
// The References dialog's thirteen controls told apart by what its display language does not
// change: their classes, their styles and their places around the one list box. An English
// caption, where a control has one, only confirms.

#include <cstdint>
#include <optional>
#include <vector>

#include "host/window_system.h"
#include "lathmore/dialog_sizing.h"

namespace lathmore {

struct ChildControl {
  host::WindowHandle window;
  host::Text className;
  host::Text caption;
  std::int32_t style;
  host::Rect rect;  // in the dialog's client coordinates
};

// Every control of the dialog in the order of the layout's moves, when the children are exactly
// the References dialog's: one list box; right of it a column of four push buttons (OK, Cancel,
// Browse, Help, from the top) and, nearer the list, a column of two (the priority arrows) with
// their label beside them; below the list one group box holding two rows of a label and its value
// (location above language). Nothing when a control is missing, one is too many, two could take
// one role, or a control carries the English caption of another role.
std::optional<LaidOutControls> RecogniseControls(const std::vector<ChildControl>& children);

}  // namespace lathmore
