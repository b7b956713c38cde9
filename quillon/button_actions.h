#pragma once
// The four entry points that the toolbar buttons' clicks are handed to: the bookmark logic and
// the copy-buffer logic. A click ends at one of them and nothing else.

#include <memory>

#include "host/command_bars.h"

namespace quillon {

class ButtonActions {
 public:
  virtual ~ButtonActions() = default;
  // Sets or follows the bookmark that this button holds.
  virtual void BookmarkClick(const std::shared_ptr<host::CommandBarButton>& button) = 0;
  // Resets all five bookmark buttons.
  virtual void ResetBookmarks() = 0;
  // Captures into, or pastes from, the buffer at the button's place on its bar.
  virtual void CopyBufferClick(const std::shared_ptr<host::CommandBarButton>& button) = 0;
  // Frees all five copy buffers.
  virtual void ClearCopyBuffers() = 0;
};

}  // namespace quillon
