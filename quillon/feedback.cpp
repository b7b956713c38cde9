#include "quillon/feedback.h"

#include "host/error.h"
#include "quillon/messages.h"

namespace quillon {

void Feedback::PlayZoomInSound() { Play(u":\\windows\\media\\office97\\zoomin.wav"); }
void Feedback::PlayRedoSound() { Play(u":\\windows\\media\\office97\\redo.wav"); }
void Feedback::PlayCancelSound() { Play(u":\\windows\\media\\office97\\cancel.wav"); }
void Feedback::PlayReminderSound() { Play(u":\\windows\\media\\office97\\remindr4.wav"); }

void Feedback::Play(std::u16string_view pathAfterDrive) {
  // Always the \windows\ folder of the drive that windir names, not windir itself.
  const host::Text path = state_.WinDrive + host::Text(pathAfterDrive);
  if (!host::Ignore([&] { return platform_.sound->OrdinaryFileExists(path); }).value_or(false))
    return;
  host::Ignore([&] { platform_.sound->Play(path); });
}

bool Feedback::ShiftKeyDown() {
  return platform_.keyboard->GetKeyState(host::kVirtualKeyShift) < 0;
}

void Feedback::ShowMessage(const host::Text& text) {
  // Owned by the editor's main window, so the whole editor, its floating windows and our bars
  // with it, waits until the box is closed.
  const host::WindowHandle owner =
      host::Ignore([&] {
        return state_.EditorVBE ? state_.EditorVBE->MainWindowHandle() : host::WindowHandle{0};
      }).value_or(0);
  platform_.messages->Show(text, host::Text(kMessageTitle), owner);
}

}  // namespace quillon
