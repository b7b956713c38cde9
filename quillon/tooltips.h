#pragma once
// What a button tells on hover, kept in step with its caption: a free button what a click does,
// a used bookmark its full place and how to use it, a filled buffer its first lines; each
// numbered button its key.

#include <cstddef>
#include <optional>

#include "host/command_bars.h"
#include "host/text.h"
#include "quillon/addin_state.h"
#include "quillon/toolbar_layout.h"

namespace quillon {

inline constexpr std::size_t kPreviewLines = 5;
inline constexpr std::size_t kPreviewCharacters = 200;
inline constexpr std::size_t kShortTooltipCharacters = 80;

// A used bookmark: its place (the caption) over the hint.
host::Text BookmarkTooltip(const host::Text& caption);
// A filled buffer: at most its first five lines and 200 characters, an ellipsis where cut, then
// its line count.
host::Text BufferTooltip(const host::Text& text);

// The tooltip with a last line naming the key of the numbered button at `place` on the bar and
// its Shift form; as it is for a button without a key or a place.
host::Text WithKeyLine(const host::Text& tooltip, const AddinState& state, const ToolbarLayout& bar,
                       std::optional<std::int32_t> place);

// Sets the tooltip; one the editor refuses is tried again as its first line (at most 80
// characters), then empty, and never fails the action that changed the button.
void ShowTooltip(host::CommandBarButton& button, const host::Text& tooltip);

}  // namespace quillon
