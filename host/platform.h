#pragma once
// The services of the machine that the add-ins use besides the editor: sound files, the keyboard
// state and message boxes. Every call may throw host::HostError.

#include <cstdint>

#include "host/text.h"
#include "host/window_system.h"

namespace host {

class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  // True when an ordinary file is at `path`: not hidden, not a system file, not a folder.
  virtual bool OrdinaryFileExists(const Text& path) = 0;
  // Plays the sound file and returns when it has finished.
  virtual void Play(const Text& path) = 0;
};

inline constexpr std::int32_t kVirtualKeyShift = 0x10;
inline constexpr std::int32_t kVirtualKeyControl = 0x11;
inline constexpr std::int32_t kVirtualKeyAlt = 0x12;  // VK_MENU

class Keyboard {
 public:
  virtual ~Keyboard() = default;
  // The key's state as GetKeyState gives it: negative while the key is down.
  virtual std::int16_t GetKeyState(std::int32_t virtualKey) = 0;
};

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A message box with the OK button only and no icon, owned by `owner` (0: the active window),
  // which it disables while it is up; returns when the user has closed it.
  virtual void Show(const Text& text, const Text& title, WindowHandle owner) = 0;
};

}  // namespace host
