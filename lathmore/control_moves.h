#pragma once
// The References dialog's new layout as data: its size, and thirteen moves of its controls, each
// found by class and caption, or by class after a control found earlier; and how each control
// follows the dialog's edges once the user sizes it.

#include <array>
#include <cstdint>
#include <string_view>

namespace lathmore {

inline constexpr std::int32_t kDialogWidth = 720;
inline constexpr std::int32_t kDialogHeight = 470;
inline constexpr std::int32_t kWordWrapMask = 0x0000000C;  // SS_LEFTNOWORDWRAP becomes SS_LEFT

// Controls that a later move searches after, or that the layout uses once moved.
enum class Anchor : std::uint8_t { None, Help, Location, LocationValue, Language };

// Which way a control follows when the dialog grows: its left edge keeps its distance from the
// dialog's right edge, its top edge from the bottom edge, it grows with the width, or the height.
enum Follows : std::uint8_t {
  kStays = 0,
  kMovesRight = 1,
  kMovesDown = 2,
  kWidens = 4,
  kGrowsTaller = 8,
};

struct ControlMove {
  std::u16string_view className;
  const char16_t* caption;  // nullptr: any caption
  Anchor after;             // None: search from the dialog's first child
  std::int32_t dx, dy, dw, dh;
  Anchor keepAs;
  std::uint8_t follows;  // Follows, combined
};

inline constexpr std::array<ControlMove, 13> kControlMoves{{
    {u"Button", u"OK", Anchor::None, 260, 0, 0, 0, Anchor::None, kMovesRight},
    {u"Button", u"Cancel", Anchor::None, 260, 0, 0, 0, Anchor::None, kMovesRight},
    {u"Button", u"&Browse...", Anchor::None, 260, 0, 0, 0, Anchor::None, kMovesRight},
    {u"Button", u"&Help", Anchor::None, 260, 0, 0, 0, Anchor::Help, kMovesRight},
    {u"Button", nullptr, Anchor::Help, 0, 100, 260, 10, Anchor::None, kMovesDown | kWidens},
    {u"Button", u"&U", Anchor::None, 270, 50, 0, 0, Anchor::None, kMovesRight},
    {u"Button", u"&D", Anchor::None, 270, 50, 0, 0, Anchor::None, kMovesRight},
    {u"Static", u"Priority", Anchor::None, 270, 50, 0, 0, Anchor::None, kMovesRight},
    {u"Static", u"Location:", Anchor::None, -25, 120, 0, 0, Anchor::Location, kMovesDown},
    {u"Static", nullptr, Anchor::Location, -25, 120, 300, 15, Anchor::LocationValue,
     kMovesDown | kWidens},
    {u"Static", u"Language:", Anchor::None, -25, 80, 0, 0, Anchor::Language, kMovesDown},
    {u"Static", nullptr, Anchor::Language, -28, 80, 0, 0, Anchor::None, kMovesDown | kWidens},
    {u"Listbox", nullptr, Anchor::None, 0, 0, 270, 100, Anchor::None, kWidens | kGrowsTaller},
}};

}  // namespace lathmore
