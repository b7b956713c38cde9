#pragma once
// The keyboard as the thread that runs the editor's windows takes it in: a hook that sees each
// key message before any window of the thread does, and the window functions that tell where
// the keyboard focus is. Failures are not reported: a call that fails does nothing and gives 0.

#include <cstdint>
#include <functional>

#include "host/window_system.h"

namespace host {

struct KeyStroke {
  std::int32_t virtualKey = 0;
  bool down = false;    // a key-down; false for a key-up
  bool repeat = false;  // a key-down of a key that was already down (auto-repeat)
};

class KeyInput {
 public:
  virtual ~KeyInput() = default;
  // Hooks this thread's key messages (never another thread's): `stroke` runs for each one before
  // it reaches the focused window; when it answers true the message goes no further. Returns the
  // hook's identifier, 0 when the thread cannot be hooked.
  virtual HookId HookKeys(std::function<bool(const KeyStroke&)> stroke) = 0;
  // After this the hook runs no more; one already removed is no failure.
  virtual void UnhookKeys(HookId hook) = 0;
  // The window of this thread that has the keyboard focus, 0 for none.
  virtual WindowHandle GetFocus() = 0;
  // The window's parent when it is a child, its owner when it is a top-level window, 0 for none.
  virtual WindowHandle ParentOrOwner(WindowHandle window) = 0;
  // False for a window disabled (as a modal dialog disables its owner) or no window at all.
  virtual bool IsWindowEnabled(WindowHandle window) = 0;
};

}  // namespace host
