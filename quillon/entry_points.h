#pragma once
// The add-in's four click entry points, served by the bookmark and the copy-buffer modules.

#include "quillon/addin_state.h"
#include "quillon/bookmarks.h"
#include "quillon/button_actions.h"
#include "quillon/copy_buffers.h"
#include "quillon/feedback.h"
#include "quillon/platform.h"

namespace quillon {

class EntryPoints : public ButtonActions {
 public:
  EntryPoints(AddinState& state, const Platform& platform)
      : feedback_(state, platform),
        bookmarks_(state, feedback_, *platform.settings),
        copyPaste_(state, feedback_) {}
  EntryPoints(const EntryPoints&) = delete;
  EntryPoints& operator=(const EntryPoints&) = delete;

  void BookmarkClick(const std::shared_ptr<host::CommandBarButton>& button) override {
    Alone([&] { bookmarks_.BookmarkClick(button); });
  }
  void ResetBookmarks() override {
    Alone([&] { bookmarks_.ResetBookmarks(); });
  }
  void CopyBufferClick(const std::shared_ptr<host::CommandBarButton>& button) override {
    Alone([&] { copyPaste_.CopyBufferClick(button); });
  }
  void ClearCopyBuffers() override {
    Alone([&] { copyPaste_.ClearCopyBuffers(); });
  }

  mBookmarks& Bookmarks() { return bookmarks_; }
  mCopyPaste& CopyPaste() { return copyPaste_; }

 private:
  // One action at a time: a key or a click that the modal loop of an action's message box lets
  // through does nothing, rather than run inside the first action and be undone by its end.
  template <typename Action>
  void Alone(Action&& action) {
    if (busy_) return;
    busy_ = true;
    struct Done {
      bool& busy;
      ~Done() { busy = false; }
    } done{busy_};
    action();
  }

  Feedback feedback_;
  mBookmarks bookmarks_;
  mCopyPaste copyPaste_;
  bool busy_ = false;
};

}  // namespace quillon
