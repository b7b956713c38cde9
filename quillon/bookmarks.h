#pragma once
// mBookmarks: what a click on a bookmark button means (set, set again, go to), reset, and the
// rules that find a recorded place among the open projects again.

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "host/command_bars.h"
#include "quillon/addin_state.h"
#include "quillon/bookmark_record.h"
#include "quillon/feedback.h"
#include "quillon/saved_bookmarks.h"

namespace quillon {

// Outcomes of LocateBookmark.
enum class LocateOutcome : std::int16_t {
  Reached = 1,
  Failed = 2,         // the matching open project has no component of that name
  NoProject = 3,      // no open project matches: not open, or renamed
  ProcedureGone = 4,  // the component has no procedure of that name
  Refused = 5         // the editor refused a call: nothing is known of the place
};

class mBookmarks {
 public:
  mBookmarks(AddinState& state, Feedback& feedback, host::SettingsStore& settings)
      : state_(state), feedback_(feedback), saved_(settings, state) {}

  // An unused button sets; a used one goes there, or sets again while Shift is held.
  void BookmarkClick(const std::shared_ptr<host::CommandBarButton>& button);
  // All five bookmark buttons back to unused, then the cancel sound.
  void ResetBookmarks();
  void SetBookmark(const std::shared_ptr<host::CommandBarButton>& button);
  void GoToBookmark(const std::shared_ptr<host::CommandBarButton>& button);
  LocateOutcome LocateBookmark(const std::shared_ptr<host::CommandBarButton>& button);
  // Points the record at an open file that is another version of the recorded one.
  bool RetargetBookmark(const std::shared_ptr<host::CommandBarButton>& button);
  void ListOpenProjectFiles();

  // The bookmark of the editor's current position; nullopt, with `why` the message, when no
  // saved project's component is selected or the caret's place cannot be read.
  std::optional<BookmarkText> ComposeBookmark(std::u16string_view& why);

  // Rebuilt by every ListOpenProjectFiles: file names of the saved open projects, in order.
  std::vector<host::Text> OpenProjectFiles;
  std::int16_t OpenProjectFileCount = 0;

 private:
  host::VBE& Editor() const;
  void ResetButton(host::CommandBarButton& button);
  // False, after a message, when the button's saved bookmark is still to be put back and cannot.
  bool RestoredFirst(host::CommandBarButton& button);

  AddinState& state_;
  Feedback& feedback_;
  SavedBookmarks saved_;
};

}  // namespace quillon
