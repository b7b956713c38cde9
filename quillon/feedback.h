#pragma once
// The feedback both bars give: four short sounds from the Windows media folder, the Shift-key test
// and Quillon's message box.

#include "host/text.h"
#include "quillon/addin_state.h"
#include "quillon/platform.h"

namespace quillon {

class Feedback {
 public:
  Feedback(const AddinState& state, const Platform& platform)
      : state_(state), platform_(platform) {}

  // A sound whose file is absent, or cannot be looked at or played, is silence, never an error.
  void PlayZoomInSound();
  void PlayRedoSound();
  void PlayCancelSound();
  void PlayReminderSound();
  // True while a Shift key is held down.
  bool ShiftKeyDown();
  void ShowMessage(const host::Text& text);

 private:
  void Play(std::u16string_view pathAfterDrive);
  const AddinState& state_;
  const Platform& platform_;
};

}  // namespace quillon
