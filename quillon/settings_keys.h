#pragma once
// Where Quillon keeps what it remembers per user: one application in the settings store, a
// section per bar for its place (named like the bar), and a section for the bookmarks.

#include <string_view>

namespace quillon {

inline constexpr std::u16string_view kSettingsApplication = u"Razurid";
// One section under it per Office application, "Bookmarks\EXCEL", "Bookmarks\WINWORD": values
// "1" to "5", the record of the bookmark button at that place, empty for a free one.
inline constexpr std::u16string_view kBookmarksSection = u"Bookmarks";
// The numbered buttons' keys, one value per button ("Bookmark1", "CopyBuffer5"), shared by every
// Office application.
inline constexpr std::u16string_view kKeysSection = u"Keys";

}  // namespace quillon
