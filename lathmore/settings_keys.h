#pragma once
// Where Lathmore keeps the References dialog's size per user: whole pixels at 96 DPI, as text.

namespace lathmore {

inline constexpr char16_t kSettingsApplication[] = u"Vodavove";
inline constexpr char16_t kReferencesSection[] = u"References";
inline constexpr char16_t kWidthKey[] = u"Width";
inline constexpr char16_t kHeightKey[] = u"Height";

}  // namespace lathmore
