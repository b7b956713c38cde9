#pragma once
// The bookmarks kept per user, one value per button, so that they outlive the editor session and
// a session that ends without a disconnection: each change of a button is saved at once, and a
// connection puts them back. Editors open at the same time share them; the last change of a
// button wins.

#include <cstdint>

#include "host/command_bars.h"
#include "host/settings.h"

namespace quillon {

class SavedBookmarks {
 public:
  explicit SavedBookmarks(host::SettingsStore& settings) : settings_(settings) {}

  // The record of the button at `place` on the bar (empty: free). A store that refuses it is
  // ignored: the click that changed the button goes on.
  void Save(std::int32_t place, const host::Text& record);
  // The same for a button, whose place is asked of the editor.
  void Save(host::CommandBarButton& button, const host::Text& record);
  // Puts the saved records back on the bar's buttons 1 to 5: the caption the record gives, the
  // record, pressed. A value that is not a well-formed record leaves its button free; nothing
  // here can fail the connection.
  void Restore(host::CommandBar& bar);

 private:
  host::SettingsStore& settings_;
};

}  // namespace quillon
