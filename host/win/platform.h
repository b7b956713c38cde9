#pragma once
// Sound files, the keyboard state and message boxes on Windows.

#include <memory>

#include "host/platform.h"

namespace host::win {

// The file test looks for an ordinary file (not hidden, system or a folder); playing is
// sndPlaySoundA with the path in the ANSI code page and flags 0, so it returns when the sound ends.
std::shared_ptr<SoundPlayer> WinSound();
std::shared_ptr<Keyboard> WinKeyboard();
// OK only, no icon; owned by the thread's active window (the editor's) where there is one.
std::shared_ptr<MessageBoxes> WinMessageBoxes();

}  // namespace host::win
