#pragma once
// The numbered buttons' keys at work: a hook on the editor's thread that turns a key of the ten,
// pressed while the keyboard focus is in the editor, into the click of its button, and lets
// every other keystroke go on untouched.

#include <cstdint>
#include <memory>

#include "host/key_input.h"
#include "host/platform.h"
#include "host/settings.h"
#include "quillon/addin_state.h"
#include "quillon/button_actions.h"

namespace quillon {

// How far up the parents and owners of the focused window the editor's main window is looked
// for; no window of the editor lies deeper.
inline constexpr int kDeepestFocus = 64;

class ShortcutKeys {
 public:
  ShortcutKeys(AddinState& state, std::shared_ptr<host::KeyInput> input,
               std::shared_ptr<host::Keyboard> keyboard, std::shared_ptr<ButtonActions> actions)
      : state_(state),
        input_(std::move(input)),
        keyboard_(std::move(keyboard)),
        actions_(std::move(actions)) {}
  ShortcutKeys(const ShortcutKeys&) = delete;
  ShortcutKeys& operator=(const ShortcutKeys&) = delete;
  ~ShortcutKeys() { Remove(); }

  // The state's keys as the user gave them, and the editor's main window they work in. Without
  // input or a main window there are none; nothing here fails.
  void Read(host::SettingsStore& settings);
  // Hooks the keys read; an earlier hook must have been removed. Without a hook they do nothing.
  void Install();
  // From here on no keystroke reaches this object.
  void Remove();
  bool Installed() const { return hook_ != 0; }

  // One key message: true when it is one of ours in the editor, which then goes no further.
  bool OnKey(const host::KeyStroke& stroke);

 private:
  // The slot among the ten that the key with Ctrl, and with Alt as it is now, belongs to.
  std::optional<std::size_t> SlotOf(std::int32_t virtualKey);
  bool FocusInEditor();
  // True when the editor's active window is one the key of `slot` acts in.
  bool InItsWindow(std::size_t slot);
  void Press(std::size_t slot);

  AddinState& state_;
  std::shared_ptr<host::KeyInput> input_;
  std::shared_ptr<host::Keyboard> keyboard_;
  std::shared_ptr<ButtonActions> actions_;
  host::HookId hook_ = 0;
  host::WindowHandle mainWindow_ = 0;
};

}  // namespace quillon
