#pragma once
// The bookmarks kept per user, one value per button, so that they outlive the editor session and
// a session that ends without a disconnection: each change of a button is saved at once, and a
// connection puts them back. Each Office application keeps its own five: Word's editor never
// shows, changes or frees Excel's. Two editors of the same application share them; the last
// change of a button wins.

#include <cstddef>
#include <cstdint>

#include "host/command_bars.h"
#include "host/settings.h"
#include "quillon/addin_state.h"

namespace quillon {

// No record Quillon writes comes near this; a longer value is damaged.
inline constexpr std::size_t kLongestSavedRecord = 1024;

// The section of the application whose program is at `programPath`: "Bookmarks\" and the
// program's file name without its extension, in capitals. Empty for a path without a name.
host::Text BookmarksSectionOf(const host::Text& programPath);

class SavedBookmarks {
 public:
  // The section is the state's, as the connection found it.
  SavedBookmarks(host::SettingsStore& settings, const AddinState& state)
      : settings_(settings), state_(state) {}

  // The record of the button at `place` on the bar (empty: free). A store that refuses it is
  // ignored: the click that changed the button goes on.
  void Save(std::int32_t place, const host::Text& record);
  // Puts the saved records back on the bar's buttons 1 to 5: the caption the record gives, the
  // record, pressed. A value that is not a well-formed record leaves its button free; nothing
  // here can fail the connection.
  void Restore(host::CommandBar& bar);

 private:
  host::SettingsStore& settings_;
  const AddinState& state_;
};

}  // namespace quillon
