#pragma once
// The bookmarks kept per user, one value per button, so that they outlive the editor session and
// a session that ends without a disconnection: each change of a button is saved at once, and a
// connection puts them back. Each Office application keeps its own five: Word's editor never
// shows, changes or frees Excel's. Two editors of the same application share them; the last
// change of a button wins.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "host/command_bars.h"
#include "host/settings.h"
#include "quillon/addin_state.h"
#include "quillon/bookmark_record.h"

namespace quillon {

// No record Quillon writes comes near this; a longer value is damaged.
inline constexpr std::size_t kLongestSavedRecord = 1024;

// The section of the application whose program is at `programPath`: "Bookmarks\" and the
// program's file name without its extension, in capitals. Empty for a path without a name.
host::Text BookmarksSectionOf(const host::Text& programPath);

// What putting one saved bookmark back on its button came to.
enum class Restored {
  kFree,     // nothing well-formed is saved for it: the button stays free
  kShown,    // the button shows the saved bookmark
  kRefused,  // the store or the button refused: the button is free, the saved value untouched
};

class SavedBookmarks {
 public:
  // The section is the state's, as the connection found it.
  SavedBookmarks(host::SettingsStore& settings, AddinState& state)
      : settings_(settings), state_(state) {}

  // The record of the button at `place` on the bar (empty: free). A store that refuses it is
  // ignored: the click that changed the button goes on. A record longer than a restore takes is
  // saved as a free button, never as a value the next session would call damaged.
  void Save(std::int32_t place, const host::Text& record);
  // Puts the saved records back on the bar's buttons 1 to 5: the caption the record gives, the
  // record, pressed. A value that is not a well-formed record leaves its button free; a refusal
  // marks the button as not restored (UnrestoredBookmarks). Nothing here can fail the connection.
  void Restore(host::CommandBar& bar);
  // The same for one button, the button at `place`.
  Restored RestoreButton(host::CommandBarButton& button, std::int32_t place);

 private:
  // The saved bookmark of `place`; nullopt when none is well-formed, or, with `refused` set,
  // when the store refused.
  std::optional<BookmarkText> Read(std::int32_t place, bool& refused);
  // False, with the button freed, when the button refused to show it all.
  bool Show(host::CommandBarButton& button, const BookmarkText& bookmark, std::int32_t place);

  host::SettingsStore& settings_;
  AddinState& state_;
};

}  // namespace quillon
