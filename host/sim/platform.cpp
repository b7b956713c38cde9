#include "host/sim/platform.h"

#include <utility>

#include "host/sim/ignore_case.h"

namespace host::sim {

bool SimSound::OrdinaryFileExists(const Text& path) {
  calls_->Enter("Sound.OrdinaryFileExists");
  return files_.count(FoldedCopy(path)) != 0;
}

void SimSound::Play(const Text& path) {
  calls_->Enter("Sound.Play");
  played_.push_back(path);
}

void SimSound::AddFile(const Text& path) { files_.insert(FoldedCopy(path)); }
void SimSound::RemoveFile(const Text& path) { files_.erase(FoldedCopy(path)); }

std::int16_t SimKeyboard::GetKeyState(std::int32_t virtualKey) {
  calls_->Enter("Keyboard.GetKeyState");
  // Down: the high-order bit set, as GetKeyState reports it; toggled (every other press): the
  // low-order bit, whether the key is down or not.
  if (virtualKey == kVirtualKeyControl) return ctrlDown ? -128 : 0;
  if (virtualKey == kVirtualKeyAlt) return altDown ? -128 : 0;
  if (virtualKey != kVirtualKeyShift) return 0;
  return static_cast<std::int16_t>((shiftDown ? -128 : 0) | (shiftToggled ? 1 : 0));
}

void SimMessageBoxes::Show(const Text& text, const Text& title, WindowHandle owner) {
  calls_->Enter("MessageBox.Show");
  shown_.push_back({text, title, owner});
  if (whileShown) std::exchange(whileShown, nullptr)();
}

}  // namespace host::sim
