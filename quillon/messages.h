#pragma once
// Quillon's messages, as the user reads them.

#include <string_view>

namespace quillon {

inline constexpr std::u16string_view kMessageTitle = u"Quillon";
inline constexpr std::u16string_view kSelectComponentMessage =
    u"A component of a saved VB project must be selected before using the bookmark feature.";
inline constexpr std::u16string_view kWorkbookGoneMessage =
    u"The project workbook may have been closed or renamed.";
// After a message that a bookmark's place could not be reached, though it may still be there.
inline constexpr std::u16string_view kBookmarkKeptSuffix =
    u" The bookmark is kept: click it again once the workbook is open.";
inline constexpr std::u16string_view kGoToRefusedMessage =
    u"The editor refused to show the bookmark's place. The bookmark is kept.";
inline constexpr std::u16string_view kCaretUnreadMessage =
    u"The editor did not tell where the caret is. The bookmark was not changed.";
inline constexpr std::u16string_view kBookmarkNotRestoredMessage =
    u"The saved bookmark could not be put back on this button. Nothing was changed.";
inline constexpr std::u16string_view kModuleGoneMessage =
    u"The module may have been deleted or renamed.";
inline constexpr std::u16string_view kPasteNotCompletedMessage =
    u"The paste was not completed: the editor refused a change and the lines it replaces could "
    u"not be put back. The copy buffer still holds its text.";
// Follows the recorded procedure's name.
inline constexpr std::u16string_view kProcedureGoneSuffix = u" does not seem to exist.";
// The second line of a used bookmark's tooltip, under its place.
inline constexpr std::u16string_view kUsedBookmarkHint =
    u"Click to go there; Shift+click to set it here";
// The last line of a numbered button's tooltip: its key, this, then, where Windows leaves its
// Shift form to the editor, the middle, its Shift form, the end.
inline constexpr std::u16string_view kKeyHintClick = u" as a click";
inline constexpr std::u16string_view kKeyHintMiddle = u", ";
inline constexpr std::u16string_view kKeyHintEnd = u" as a Shift+click";
// After a key the user chose that is the editor's own.
inline constexpr std::u16string_view kKeyRefusedHint =
    u" is the editor's own key: not taken for this button";

}  // namespace quillon
