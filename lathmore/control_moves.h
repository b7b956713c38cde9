#pragma once
// The References dialog's new layout as data: its size, and thirteen moves of its controls, each
// found by class and caption, or by class after a control found earlier.

#include <array>
#include <cstdint>
#include <string_view>

namespace lathmore {

inline constexpr std::int32_t kDialogWidth = 720;
inline constexpr std::int32_t kDialogHeight = 470;
inline constexpr std::int32_t kWordWrapMask = 0x0000000C;  // SS_LEFTNOWORDWRAP becomes SS_LEFT

// Controls that a later move searches after, or that the layout uses once moved.
enum class Anchor : std::uint8_t { None, Help, Location, LocationValue, Language };

struct ControlMove {
  std::u16string_view className;
  const char16_t* caption;  // nullptr: any caption
  Anchor after;             // None: search from the dialog's first child
  std::int32_t dx, dy, dw, dh;
  Anchor keepAs;
};

inline constexpr std::array<ControlMove, 13> kControlMoves{{
    {u"Button", u"OK", Anchor::None, 260, 0, 0, 0, Anchor::None},
    {u"Button", u"Cancel", Anchor::None, 260, 0, 0, 0, Anchor::None},
    {u"Button", u"&Browse...", Anchor::None, 260, 0, 0, 0, Anchor::None},
    {u"Button", u"&Help", Anchor::None, 260, 0, 0, 0, Anchor::Help},
    {u"Button", nullptr, Anchor::Help, 0, 100, 260, 10, Anchor::None},
    {u"Button", u"&U", Anchor::None, 270, 50, 0, 0, Anchor::None},
    {u"Button", u"&D", Anchor::None, 270, 50, 0, 0, Anchor::None},
    {u"Static", u"Priority", Anchor::None, 270, 50, 0, 0, Anchor::None},
    {u"Static", u"Location:", Anchor::None, -25, 120, 0, 0, Anchor::Location},
    {u"Static", nullptr, Anchor::Location, -25, 120, 300, 15, Anchor::LocationValue},
    {u"Static", u"Language:", Anchor::None, -25, 80, 0, 0, Anchor::Language},
    {u"Static", nullptr, Anchor::Language, -28, 80, 0, 0, Anchor::None},
    {u"Listbox", nullptr, Anchor::None, 0, 0, 270, 100, Anchor::None},
}};

}  // namespace lathmore
