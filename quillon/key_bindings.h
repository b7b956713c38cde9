#pragma once
// The keys of the ten numbered buttons: what a value of the Keys section reads as, the defaults,
// and the names the tooltips show. Ctrl is part of every key, Alt may be; Shift never is, since
// it always turns a key into a Shift+click.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "host/settings.h"
#include "host/text.h"

namespace quillon {

struct KeyBinding {
  std::int32_t virtualKey = 0;  // a digit, a letter A to Z (their ASCII codes) or F1 to F12
  bool alt = false;
  bool operator==(const KeyBinding&) const = default;
};

// The ten numbered buttons in order, bookmarks 1 to 5 then copy buffers 1 to 5; none for a
// button without a key.
inline constexpr std::size_t kKeySlots = 10;
using KeyBindings = std::array<std::optional<KeyBinding>, kKeySlots>;

// "Ctrl+1", "ctrl+alt+k", "Ctrl + F9": Ctrl, optionally Alt, then the key, joined by "+", in any
// case and with spaces around the parts. Nullopt for anything else, Shift included.
std::optional<KeyBinding> ParseKeyBinding(const host::Text& value);
// "Ctrl+1", "Ctrl+Alt+K", "Ctrl+Shift+F9".
host::Text KeyName(const KeyBinding& key, bool shift = false);

// True when the key, or its Shift form, is one of the editor's own shortcuts: a user's choice of
// it would take the editor's command away.
bool IsEditorsOwnKey(const KeyBinding& key);
// True when Windows takes the key's Shift form before the editor sees it (Ctrl+Shift+0 is an
// input-language hot key by default): that form is never promised.
bool ShiftFormTakenByWindows(const KeyBinding& key);

// The keys the user gave in the settings store, each slot's default where its value is missing,
// unreadable, cannot be read or is one of the editor's own keys (that key then in `refused`); no
// key where it is empty; a key given twice only on the first slot. Never fails.
KeyBindings ReadKeyBindings(host::SettingsStore& settings, KeyBindings& refused);

}  // namespace quillon
