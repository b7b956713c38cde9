#pragma once
// mCopyPaste: five private buffers. A click on a free button captures the selection into its
// buffer, a click on a filled one pastes the buffer over the selection, Shift-click captures
// again. The system clipboard is never touched.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "host/command_bars.h"
#include "quillon/addin_state.h"
#include "quillon/feedback.h"
#include "quillon/toolbar_layout.h"

namespace quillon {

struct LineFeeds {
  std::int32_t count;  // line feeds in the text
  std::int32_t after;  // characters after the last one; the whole length when there is none
  bool operator==(const LineFeeds&) const = default;
};
LineFeeds CountLineFeeds(const host::Text& text);

// The caption of a filled buffer: the first line's piece without its surrounding spaces, at most
// 20 characters, then an ellipsis when it was longer or the selection ran over several lines.
host::Text SummaryCaption(const host::Text& firstPiece, bool severalLines);

class mCopyPaste {
 public:
  mCopyPaste(AddinState& state, Feedback& feedback) : state_(state), feedback_(feedback) {}

  void CopyBufferClick(const std::shared_ptr<host::CommandBarButton>& button);
  void ClearCopyBuffers();
  // Silent on failure: a capture that cannot complete leaves the buffer and the button as they
  // were. `captionBefore` is the caption the click read, to put back.
  void CaptureSelection(const std::shared_ptr<host::CommandBarButton>& button,
                        const host::Text& captionBefore);
  // Silent on failure: the module ends as it was or with the whole paste in it; once every edit
  // is done, it always goes on to place the caret and play its sound. Only when the editor
  // refuses a write and then both ways of putting the module back does a message say so.
  void PasteBuffer(const std::shared_ptr<host::CommandBarButton>& button);

  // Buffer i belongs to the control at place i + 1 on the copy-buffer bar.
  std::array<host::Text, kNumberedButtons> CopyBuffers;

 private:
  host::VBE& Editor() const;
  static std::size_t BufferOf(host::CommandBarButton& button);
  // Lines SL to EL of the selection, whole.
  static std::vector<host::Text> SelectedLines(host::CodeModule& module, const host::Selection& s);
  enum class Replaced {
    kDone,      // the text stands in place of the selection
    kNothing,   // the selection holds no line
    kUndone,    // a write was refused and the module is as it was
    kHalfDone,  // a write was refused and the module could not be put back
  };
  // Puts `text` in place of the selection. A refusal before the first write goes through is
  // thrown.
  static Replaced ReplaceSelection(host::CodeModule& module, const host::Selection& s,
                                   const host::Text& text);

  AddinState& state_;
  Feedback& feedback_;
};

}  // namespace quillon
