#include "quillon/shortcut_keys.h"

#include "host/error.h"
#include "quillon/toolbar_layout.h"

namespace quillon {

namespace {

bool Down(host::Keyboard& keyboard, std::int32_t virtualKey) {
  return keyboard.GetKeyState(virtualKey) < 0;
}

}  // namespace

void ShortcutKeys::Read(host::SettingsStore& settings) {
  state_.Keys = {};
  state_.RefusedKeys = {};
  mainWindow_ = 0;
  if (!input_ || !state_.EditorVBE) return;
  mainWindow_ = host::Ignore([&] { return state_.EditorVBE->MainWindowHandle(); }).value_or(0);
  // Keys that could never act are not named in the tooltips either.
  if (mainWindow_ != 0) state_.Keys = ReadKeyBindings(settings, state_.RefusedKeys);
}

void ShortcutKeys::Install() {
  bool any = false;
  for (const auto& key : state_.Keys) any = any || key.has_value();
  if (any && mainWindow_ != 0)
    hook_ = input_->HookKeys([this](const host::KeyStroke& stroke) { return OnKey(stroke); });
  // Keys that could never act are named in no tooltip.
  if (hook_ == 0) state_.Keys = {};
}

void ShortcutKeys::Remove() {
  state_.Keys = {};
  if (hook_ == 0) return;
  input_->UnhookKeys(hook_);
  hook_ = 0;
}

bool ShortcutKeys::OnKey(const host::KeyStroke& stroke) {
  // Key-ups and keys that no button has go on before anything is asked.
  if (!stroke.down) return false;
  bool ours = false;
  for (const auto& key : state_.Keys) ours = ours || (key && key->virtualKey == stroke.virtualKey);
  if (!ours) return false;
  const auto slot = host::Ignore([&] { return SlotOf(stroke.virtualKey); }).value_or(std::nullopt);
  if (!slot || !FocusInEditor() || !InItsWindow(*slot)) return false;
  // One action per press: the repeats of a held key are swallowed, as its press was.
  if (!stroke.repeat) Press(*slot);
  return true;
}

std::optional<std::size_t> ShortcutKeys::SlotOf(std::int32_t virtualKey) {
  if (!Down(*keyboard_, host::kVirtualKeyControl)) return std::nullopt;
  // Alt exactly as the key has it: Ctrl+1 is not Ctrl+Alt+1, which is AltGr+1 on many keyboards.
  const bool alt = Down(*keyboard_, host::kVirtualKeyAlt);
  for (std::size_t slot = 0; slot < state_.Keys.size(); ++slot) {
    const auto& key = state_.Keys[slot];
    if (key && key->virtualKey == virtualKey && key->alt == alt) return slot;
  }
  return std::nullopt;
}

bool ShortcutKeys::FocusInEditor() {
  // The main window itself, a window inside it, or a tool window floating over it; and not
  // while a modal dialog of the editor has disabled it.
  host::WindowHandle window = input_->GetFocus();
  for (int depth = 0; window != 0 && depth < kDeepestFocus; ++depth) {
    if (window == mainWindow_) return input_->IsWindowEnabled(mainWindow_);
    window = input_->ParentOrOwner(window);
  }
  return false;
}

bool ShortcutKeys::InItsWindow(std::size_t slot) {
  // The Immediate window, Watches, Locals, the Project Explorer keep their keystrokes: a buffer
  // key acts in a code window only, a bookmark key there or in a designer. An editor that does
  // not say which window is active keeps them too.
  const auto type = host::Ignore([&] {
                      if (!state_.EditorVBE) return -1;
                      return state_.EditorVBE->ActiveWindow()->Type();
                    }).value_or(-1);
  if (type == host::kCodeWindow) return true;
  return type == host::kDesignerWindow && slot < kCopyBufferBar.firstKeySlot;
}

void ShortcutKeys::Press(std::size_t slot) {
  const ToolbarLayout& layout = slot < kCopyBufferBar.firstKeySlot ? kBookmarksBar : kCopyBufferBar;
  const auto place = static_cast<std::int32_t>(slot - layout.firstKeySlot) + 1;
  // As a click of the button: what fails there ends the action and reaches no one, as a click's
  // failure does once the editor has it.
  host::Ignore([&] {
    const auto& bar = state_.*layout.reference;
    if (!bar) return;
    const auto button = bar->Controls()->Item(place)->AsButton();
    if (&layout == &kBookmarksBar)
      actions_->BookmarkClick(button);
    else
      actions_->CopyBufferClick(button);
  });
}

}  // namespace quillon
